# Kelbrin. `make test` installs what is missing, builds both targets and runs
# every test, natively, under the sanitizers (ThreadSanitizer for the code
# that runs on two threads) and under Wine; `make run` builds
# the Windows program and opens it. `make fuzz` runs every fuzz target for
# FUZZ_SECONDS each; `make bench` builds an optimised native build and prints
# its figures (bench/run.sh).
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# The Windows tests share one virtual display.
ON_DISPLAY := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all native windows sanitize threads deps test run fuzz bench check-corpus clean

all: native windows

native windows sanitize threads:
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

deps:
	scripts/install-deps.sh

test: deps
	$(MAKE) all sanitize threads
	ctest --preset native -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)
	ctest --preset threads -j $(JOBS)
	$(ON_DISPLAY) ctest --preset windows -j $(JOBS)

# Opens the window (through Wine); without a display, on a virtual one, and
# saves a screenshot. `make run FILE=path` opens it on that target.
run: deps
	$(MAKE) windows
	scripts/run-window.sh build/windows build/kelbrin-window.png "$(FILE)"

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS)

bench: deps
	scripts/install-deps.sh bench
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target window_bench
	bench/run.sh

# Real sources from Debian's packages (GoogleTest, newlib, the Free Pascal RTL,
# the JDK's library) compiled before and after --syntax=auto -ct3: the object
# code must not change (scripts/check-corpus.sh).
check-corpus: deps
	scripts/install-deps.sh corpus
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS) --target kelbrin-cli
	scripts/check-corpus.sh build/native/kelbrin-cli

clean:
	rm -rf build

# `make install` puts kelbrin-cli, its manual page, its bash completion, the
# README and the licence under PREFIX, within DESTDIR when one is given (for
# packagers: `make install DESTDIR=/tmp/stage PREFIX=/usr`). `make dist` packs
# the Windows zip, the .deb of kelbrin-cli and the source tarball into
# build/dist/. Both build only what they ship.
PREFIX ?= /usr/local
DIST := build/dist

.PHONY: install dist

install: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS) --target kelbrin-cli
	DESTDIR="$(DESTDIR)" cmake --install build/native --prefix "$(PREFIX)"

dist: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS) --target kelbrin-cli
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target kelbrin kelbrin-cli
	rm -rf $(DIST)
	cpack --config build/windows/CPackConfig.cmake -B $(DIST)
	cpack --config build/native/CPackConfig.cmake -B $(DIST)
	cpack --config build/native/CPackSourceConfig.cmake -B $(DIST)
	rm -rf $(DIST)/_CPack_Packages
	@ls -l $(DIST)
