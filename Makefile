# SPDX-License-Identifier: GPL-3.0-or-later
# The two everyday commands. CMake and CTest do the real work (see CMakePresets.json).
BUILD_DIR := build/default

# The packages are best installed once as root (su -c scripts/ensure-deps, or sudo) and the rest
# built as yourself. When make itself runs as root for someone else (through sudo, or through su
# in a checkout that person owns), every step that writes to build/ hands the folder back to them
# after it, failed or not, so their own make works afterwards. A step cut short with Ctrl+C is
# handed back by the next step run that way.
BUILD_OWNER := $(shell if [ "$$(id -u)" -eq 0 ]; then \
        if [ -n "$${SUDO_UID:-}" ]; then echo "$$SUDO_UID:$${SUDO_GID:-$$SUDO_UID}"; \
        else stat -c %u:%g .; fi; fi | grep -v '^0:')
give_back = $(if $(BUILD_OWNER),; status=$$?; chown -R $(BUILD_OWNER) build; exit $$status)

.PHONY: all run test build deps clean package test-asan fuzz-long bench web

all: build

deps:
	@scripts/ensure-deps
	@# An earlier run as root may have left files here that this user cannot update. The
	@# install_manifest.txt a system-wide cmake --install leaves is not one: no build writes it.
	@if [ "$$(id -u)" -ne 0 ] && [ -d build ]; then \
	    stranger=$$(find build ! -user "$$(id -u)" ! -name install_manifest.txt -print -quit); \
	    if [ -n "$$stranger" ]; then \
	        echo "build/ holds files of $$(stat -c %U "$$stranger") (left by a make run as root?)," \
	             "which make cannot update as $$(id -un). Give the folder back, once:" >&2; \
	        echo "    su -c 'chown -R $$(id -u):$$(id -g) $(CURDIR)/build'   (or: sudo chown -R $$(id -u):$$(id -g) build)" >&2; \
	        exit 1; \
	    fi; \
	fi

$(BUILD_DIR)/build.ninja: | deps
	cmake --preset default $(give_back)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build --preset default $(give_back)

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
	ctest --preset default $(give_back)

build/asan/build.ninja: | deps
	cmake --preset asan $(give_back)

test-asan: deps build/asan/build.ninja
	cmake --build --preset asan $(give_back)
	ctest --preset asan $(give_back)

# A million random spinner events through the engine (a few seconds).
fuzz-long: build
	SPRINGCALC_FUZZ_EVENTS=1000000 $(BUILD_DIR)/tests/engine_test --gtest_filter='Robustness.LongRandom*'

# Builds the Debian package (springcalc_<version>_<arch>.deb in the build folder).
package: build
	cmake --build --preset default --target package $(give_back)

# Builds the benchmarks in Release and prints every figure against its budget (bench/README.md).
build/bench/build.ninja: | deps
	cmake --preset bench $(give_back)

bench: deps build/bench/build.ninja
	cmake --build --preset bench $(give_back)
	bench/run-bench build/bench $(give_back)

# The web edition: builds the static folder build/web/site with Emscripten and serves it on
# this computer (PORT=8000 by default; Ctrl+C ends it). The folder can be copied to any static
# web host as it is.
PORT ?= 8000
build/web/build.ninja: | deps
	cmake --preset web $(give_back)

web: deps build/web/build.ninja
	cmake --build --preset web $(give_back)
	@echo "The calculator is at http://127.0.0.1:$(PORT)/ (the folder: build/web/site). Ctrl+C ends the server."
	python3 -m http.server $(PORT) --bind 127.0.0.1 --directory build/web/site

clean:
	rm -rf build
