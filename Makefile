# Wraps CMake: `make run` builds and starts the program, `make test` builds and runs every test,
# then runs them again under AddressSanitizer + UndefinedBehaviorSanitizer, then fuzzes briefly,
# then, when a Qt for Windows is at hand, runs the Windows tests under Wine.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
WINDOWS_DIR ?= build-windows
FUZZ_SECONDS ?= 30
# The fuzz stage of `make test`: a fixed number of executions from a fixed seed, about 30 s
# per target here (the import writes a store per input, so it runs far fewer).
FUZZ_TEST_RUNS ?= 600000
FUZZ_TEST_RUNS_IMPORT ?= 15000
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test test-plain include-graph test-sanitize fuzz-build fuzz-smoke bench package \
	windows-deps windows test-windows windows-package test-windows-package clean

all: build

deps:
	@sh tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/mirvo

test: test-plain
	@$(MAKE) --no-print-directory test-sanitize
	@FUZZ_RUNS_import=$(FUZZ_TEST_RUNS_IMPORT) $(MAKE) --no-print-directory fuzz-smoke FUZZ_RUNS=$(FUZZ_TEST_RUNS)
	@if sh tools/windows-qt.sh --available; then $(MAKE) --no-print-directory test-windows test-windows-package; \
	else echo "Windows stage left out: no Qt for Windows at hand (set MIRVO_WINDOWS_QT)"; fi

test-plain: include-graph build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# No include may point up the layers (the build refuses one too; this names where it is).
include-graph:
	@mkdir -p $(BUILD_DIR) && sh tools/include_graph.sh >$(BUILD_DIR)/include-graph.txt || { cat $(BUILD_DIR)/include-graph.txt; exit 1; }
	@echo "Include graph: $$(wc -l <$(BUILD_DIR)/include-graph.txt) edges between folders, none up the layers"

# Any sanitizer report ends the test with an error. Leaks are checked with no suppressions:
# what Qt and fontconfig keep until exit is still reachable, so LeakSanitizer does not count
# it, and a suppression naming a Qt library would also hide our objects made from Qt's calls.
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DMIRVO_SANITIZE=ON
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@$(SANITIZE_ENV) ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# libFuzzer targets (clang): each replays its corpus, then runs FUZZ_SECONDS from a fixed seed
# (FUZZ_SEED, default 1), or FUZZ_RUNS executions when set; `make fuzz-smoke FUZZ_SECONDS=600`
# for a long run.
fuzz-build: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRVO_FUZZ=ON
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_import fuzz_title fuzz_number

fuzz-smoke: fuzz-build
	@FUZZ_RUNS=$(FUZZ_RUNS) sh tools/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# Release build of the benchmarks; prints a table and writes bench/results.json.
bench: deps
	@cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMIRVO_BUILD_BENCH=ON -DMIRVO_BUILD_TESTS=OFF
	@cmake --build build-release -j $(JOBS)
	@sh bench/run.sh build-release

# A Debian package of a Release build installed under /usr, without the update check: the
# system's package manager brings new versions.
package: deps
	@cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DMIRVO_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
		-DMIRVO_UPDATE_CHECK=OFF
	@cmake --build build-package -j $(JOBS)
	@cd build-package && cpack -G DEB

# Windows: mirvo.exe and the tests, cross-built with MinGW-w64 against Qt 6.4.2 for Windows
# (tools/windows-qt.sh finds it: MIRVO_WINDOWS_QT, the shared copy, or a build from source).
windows-deps:
	@sh tools/install-deps.sh windows

# Qt's toolchain file for the Qt that `qt` names in the recipe, chain-loading ours for MinGW.
WINDOWS_TOOLCHAIN = -DCMAKE_TOOLCHAIN_FILE=$$qt/lib/cmake/Qt6/qt.toolchain.cmake \
	-DQT_CHAINLOAD_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake

windows: windows-deps
	@qt=$$(sh tools/windows-qt.sh) && cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(WINDOWS_TOOLCHAIN)
	@cmake --build $(WINDOWS_DIR) -j $(JOBS)

# The Windows tests as Windows programs under Wine, code page 936, headless.
# Then the text, store, import and registry tests once more as on a Western Windows (code page 1252).
test-windows: windows
	@QT_QPA_PLATFORM=offscreen ctest --test-dir $(WINDOWS_DIR) --output-on-failure -j $(JOBS)
	@MIRVO_WINE_LANG=en_US.UTF-8 QT_QPA_PLATFORM=offscreen ctest --test-dir $(WINDOWS_DIR) --output-on-failure \
		-j $(JOBS) -R 'tst_(textcodec|wordstore|entrychanges|wordlist|folderwatch|wordlistimport|hostilewordlists|hostilepages|windowssysteminfotool|windowsregistry)$$'

# The Windows downloads from one Release build, in build-windows-package/: a portable zip (the
# store beside the program) and an NSIS installer (the store per user); both check for updates.
windows-package: windows-deps
	@sh tools/install-deps.sh windows-package
	@qt=$$(sh tools/windows-qt.sh) && cmake -S . -B build-windows-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DMIRVO_BUILD_TESTS=OFF -DCMAKE_INSTALL_BINDIR=. \
		$(WINDOWS_TOOLCHAIN)
	@cmake --build build-windows-release -j $(JOBS)
	@cd build-windows-release && cpack -B $(CURDIR)/build-windows-package
	@rm -rf build-windows-package/_CPack_Packages
	@ls -l build-windows-package/*.zip build-windows-package/*.exe

# The zip used as a learner would, under Wine on a virtual display.
test-windows-package: windows-package
	@sh tools/windows-smoke.sh build-windows-package/mirvo-*-windows-x64.zip

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(WINDOWS_DIR) build-release build-package \
		build-windows-release build-windows-package
