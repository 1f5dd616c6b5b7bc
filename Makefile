# The two commands of the README, and the sanitizer run of CI.
.PHONY: deps build run test asan bench clean

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

bench: build
	scripts/run-benchmarks

run: build
	@scripts/run-demo

clean:
	rm -rf build build-asan
