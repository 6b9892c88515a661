# SPDX-License-Identifier: GPL-3.0-or-later
# The two everyday commands. CMake and CTest do the real work (see CMakePresets.json).
BUILD_DIR := build/default

.PHONY: all run test build deps clean package test-asan fuzz-long bench

all: build

deps:
	@scripts/ensure-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake --preset default

build: deps $(BUILD_DIR)/build.ninja
	cmake --build --preset default

# Starts the calculator on the desktop. Xvfb is not among the packages scripts/ensure-deps
# installs: on a desktop the window needs none, the tests run on Qt's offscreen platform, and a
# window on a virtual screen nobody sees is only a trial, so it is named here for whoever wants
# one rather than installed for everyone (bench/run-bench uses it when it is there).
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	    echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty): springcalc is a desktop" >&2; \
	    echo "window. Run 'make run' in a terminal of your desktop session." >&2; \
	    echo "To try it without a desktop, install Xvfb once as root:" >&2; \
	    echo "    su -c 'apt-get install xvfb xauth'   (or: sudo apt-get install xvfb xauth)" >&2; \
	    echo "then run it on a virtual screen, where nothing shows (Ctrl+C ends it):" >&2; \
	    echo "    xvfb-run -a make run" >&2; \
	    echo "Or save a picture of the window, with nothing more to install:" >&2; \
	    echo "    QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tools/screenshot window.png" >&2; \
	    exit 1; \
	fi
	$(BUILD_DIR)/ui/springcalc

# Builds and runs every test, headless: once as built, once under the address and
# undefined-behaviour sanitizers.
test: build test-asan
	ctest --preset default

build/asan/build.ninja: | deps
	cmake --preset asan

test-asan: deps build/asan/build.ninja
	cmake --build --preset asan
	ctest --preset asan

# A million random spinner events through the engine (a few seconds).
fuzz-long: build
	SPRINGCALC_FUZZ_EVENTS=1000000 $(BUILD_DIR)/tests/engine_test --gtest_filter='Robustness.LongRandom*'

# Builds the Debian package (springcalc_<version>_<arch>.deb in the build folder).
package: build
	cmake --build --preset default --target package

# Builds the benchmarks in Release and prints every figure against its budget (bench/README.md).
build/bench/build.ninja: | deps
	cmake --preset bench

bench: deps build/bench/build.ninja
	cmake --build --preset bench
	bench/run-bench build/bench

clean:
	rm -rf build
