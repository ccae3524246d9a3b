# Kelbrin. `make test` installs what is missing, builds both targets and runs
# every test; `make run` builds the Windows program and opens it; `make bench`
# builds an optimised native build and prints its figures (bench/run.sh).
JOBS ?= $(shell nproc)
# The Windows tests share one virtual display.
ON_DISPLAY := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all native windows deps test bench clean

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

bench:
	scripts/install-deps.sh bench
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	bench/run.sh

clean:
	rm -rf build
