# Two commands do all the set-up: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test sanitize bench fuzz clean windows-deps windows test-windows deb deb-deps deb-test

all: build

deps:
	bash scripts/install-deps.sh

# Extra CMake settings, e.g. CMAKE_ARGS=-DVELQUIOR_WERROR=ON (as CI builds).
CMAKE_ARGS ?=

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	bash scripts/run.sh $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELQUIOR_SANITIZE=ON -DVELQUIOR_BENCH=OFF
	cmake --build build-asan -j$(JOBS)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --test-dir build-asan --output-on-failure -j$(JOBS)

bench: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release -j$(JOBS)
	build-release/bench/velquior_bench

fuzz:
	VELQUIOR_FUZZ=1 bash scripts/install-deps.sh
	CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELQUIOR_FUZZ=ON -DVELQUIOR_BENCH=OFF
	cmake --build build-fuzz -j$(JOBS) --target dbf_reader_fuzz

# Windows: cross-built with MinGW-w64, its tests run under Wine. The zip
# and the installer land in dist/.
WINDOWS_BUILD ?= build-windows
export VELQUIOR_WINEPREFIX := $(abspath $(WINDOWS_BUILD))/wineprefix

windows-deps:
	VELQUIOR_WINDOWS=1 bash scripts/install-deps.sh
	bash scripts/windows-libxml2.sh $(WINDOWS_BUILD)

windows: windows-deps
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)
	cmake --build $(WINDOWS_BUILD) -j$(JOBS)

# A test that fails is run once more: Wine now and then drops a new
# process's connection to its server before the test begins.
# The window's tests need an X display for Wine: a virtual one. The suite
# runs in one Wine session, so no test's output is held by Wine's server.
test-windows: windows
	xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-session \
	  ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j$(JOBS) --repeat until-pass:2

# Debian: the packages velquior-convert and velquior, built by Debian's own
# tools from a copy of the tracked files (no build folder goes in), checked
# by lintian, and left in dist/ with their .buildinfo and .changes.
DEB_BUILD ?= build-deb

deb-deps:
	VELQUIOR_DEB=1 bash scripts/install-deps.sh

deb: deb-deps
	bash packaging/build-deb.sh $(DEB_BUILD)

# The packages of dist/ installed, used and purged in a bare Debian 12 (root).
deb-test:
	bash packaging/debian-chroot-test.sh

clean:
	rm -rf $(BUILD) build-asan build-release build-fuzz $(WINDOWS_BUILD) $(DEB_BUILD) build-chroot build-chroot.*
