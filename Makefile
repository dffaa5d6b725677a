# Kibic: set-up, build, run and test in one place. "make run" and "make test" work on a fresh machine.
BUILD      ?= build
BENCHBUILD ?= build-bench
WINBUILD   ?= build-windows
JOBS       ?= $(shell nproc)
# The everyday build is the one CI checks: warnings are errors, sanitizers on.
CMAKE_OPTIONS ?= -DCMAKE_BUILD_TYPE=Debug -DKIBIC_WARNINGS_AS_ERRORS=ON -DKIBIC_SANITIZE=ON
export ASAN_OPTIONS ?= detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

.PHONY: all setup configure build run test test-long screenshots demo bench fuzz format clean \
	setup-windows configure-windows windows package-windows test-windows

all: build

setup:
	@scripts/setup

$(BUILD)/build.ninja:
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_OPTIONS) >/dev/null

configure: setup $(BUILD)/build.ninja

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE 'long|fuzz'

test-long: build
	@cd $(BUILD) && ctest --output-on-failure -L long

screenshots: build
	@scripts/screenshots $(BUILD)

demo: build
	@scripts/demo $(BUILD)

bench: setup
	@cmake -S . -B $(BENCHBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCHBUILD) -j $(JOBS) --target kibic-bench kibic-bench-window
	@$(BENCHBUILD)/bin/kibic-bench
	@QT_QPA_PLATFORM=offscreen $(BENCHBUILD)/bin/kibic-bench-window

fuzz: setup
	@CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIBIC_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS)

# The 32-bit Windows build (i686-w64-mingw32), cross-built here with the Qt SDK that
# scripts/setup-windows installs into .toolchains/; its installer is checked and its tests run under the
# 32-bit wine that scripts/setup-wine installs.
setup-windows:
	@scripts/setup-windows >/dev/null

$(WINBUILD)/build.ninja:
	@cmake -S . -B $(WINBUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIBIC_WARNINGS_AS_ERRORS=ON \
		-DCMAKE_TOOLCHAIN_FILE=$$(scripts/setup-windows | tail -n 1)/toolchain-i686-w64-mingw32.cmake >/dev/null

configure-windows: setup-windows $(WINBUILD)/build.ninja

windows: configure-windows
	@cmake --build $(WINBUILD) -j $(JOBS) --target kibic kibic-cli kibic-terminals kibic_deploy kibic_package_readme

package-windows: windows
	@cmake --build $(WINBUILD) --target kibic_package
	@ls -1 $(WINBUILD)/kibic-*-win32-setup.exe $(WINBUILD)/kibic-*-win32.zip
	@scripts/setup-wine
	@scripts/check-installer $(WINBUILD)

test-windows: configure-windows build
	@scripts/setup-wine
	@cmake --build $(WINBUILD) -j $(JOBS)
	@scripts/wine-prefix $(WINBUILD)/wine
	@cd $(WINBUILD) && ctest --output-on-failure -j $(JOBS) -LE 'long|fuzz'

format: configure
	@cmake --build $(BUILD) --target format

clean:
	@rm -rf $(BUILD) $(BENCHBUILD) build-fuzz $(WINBUILD)
