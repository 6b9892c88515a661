# The two everyday commands. CMake and CTest do the real work (see CMakePresets.json).
BUILD_DIR := build/default

.PHONY: all run test build deps clean

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

# Builds and runs every test, headless.
test: build
	ctest --preset default

clean:
	rm -rf build
