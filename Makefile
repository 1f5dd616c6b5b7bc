# The two commands of the README, and the sanitizer run of CI.
.PHONY: deps build run test asan bench crash-test fuzz help-screenshots clean \
	deps-windows windows test-windows dist-windows package

deps:
	@scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

test: build
	ctest --preset default

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The 64-bit Windows programs (build-windows/calyx-cli.exe, patcher.exe) and
# their tests under wine64, in a prefix of their own made anew.
deps-windows:
	@scripts/install-deps --windows

windows: deps-windows
	cmake --preset windows
	cmake --build --preset windows

test-windows: windows build
	scripts/test-windows

# dist/calyx-<version>-windows-x64.zip: the two programs, README-windows.txt
# and the licence texts, in a folder calyx-<version>/.
dist-windows: windows
	scripts/make-dist-windows

# dist/calyx_<version>_amd64.deb: the three programs, the manual, manual
# pages, completion and the desktop's files, checked without installing it.
package: build
	scripts/install-deps --package
	cd build && cpack
	scripts/check-package dist/calyx_$$(sed -n 's/^project(calyx VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)_amd64.deb

bench: build
	scripts/run-benchmarks

# 200 saves of a 64 MiB bank onto itself, each killed at a random moment
# (CRASH_RUNS to change the count).
crash-test: deps
	cmake --preset default
	cmake --build --preset default --target calyx-cli save_crash_test
	build/tests/save_crash_test build/calyx-cli $(CRASH_RUNS)

# Every fuzz target for FUZZ_SECONDS (60) each, with the sanitizers,
# FUZZ_JOBS (1) at a time.
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1
fuzz:
	FUZZ_JOBS=$(FUZZ_JOBS) scripts/run-fuzz $(FUZZ_SECONDS)

# The help's pictures, remade from the demo installation with the real editor.
help-screenshots: build
	scripts/install-deps --docs
	scripts/make-help-screenshots

run: build
	@scripts/run-demo

clean:
	rm -rf build build-asan build-windows dist
