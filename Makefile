# Kelbrin. `make test` installs what is missing, builds both targets and runs
# every test; `make run` builds the Windows program and opens it.
JOBS ?= $(shell nproc)
# The Windows tests share one virtual display.
ON_DISPLAY := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all native windows deps test run clean

all: native windows

native windows:
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

deps:
	scripts/install-deps.sh

test: deps
	$(MAKE) all
	ctest --preset native -j $(JOBS)
	$(ON_DISPLAY) ctest --preset windows -j $(JOBS)

# Opens the window (through Wine); without a display, on a virtual one, and
# saves a screenshot. `make run FILE=path` opens it on that target.
run: windows
	scripts/run-window.sh build/windows build/kelbrin-window.png "$(FILE)"

clean:
	rm -rf build
