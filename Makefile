# Wraps CMake: `make run` builds and starts the program, `make test` builds and runs every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test bench package clean

all: build

deps:
	@sh tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/mirvo

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Release build of the benchmarks; prints a table and writes bench/results.json.
bench: deps
	@cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMIRVO_BUILD_BENCH=ON -DMIRVO_BUILD_TESTS=OFF
	@cmake --build build-release -j $(JOBS)
	@sh bench/run.sh build-release

# A Debian package of a Release build installed under /usr.
package: deps
	@cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DMIRVO_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	@cmake --build build-package -j $(JOBS)
	@cd build-package && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) build-release build-package
