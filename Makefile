# Thin wrapper over the CMake presets: `make run` starts the program, `make test` runs every test.
.PHONY: run test test-asan build clean

build:
	@test -f build/default/build.ninja || cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	@./build/default/app/kartyas

test:
	@cmake --workflow --preset default

test-asan:
	@cmake --workflow --preset asan

clean:
	rm -rf build
