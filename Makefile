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

# Starts the calculator on the desktop.
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	    echo "No display found: start it on a desktop, or under xvfb-run (xvfb-run make run)." >&2; \
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
