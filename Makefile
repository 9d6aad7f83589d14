# The two commands of the README, and a few more for developers.
#   make run      install what is missing, build, start the saver
#   make test     install what is missing, build, run every test
#   make windows  cross-compile grazefall.scr (64- and 32-bit)
#   make deb      build the Debian package into out/deb/
#   make fuzz     build the fuzz targets with clang into build-fuzz
# SKIP_WINE=1 leaves the Windows-runtime tests out of `make test`.

BUILD ?= build
ASAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz target runs in `make test`.
FUZZ_SMOKE_SECONDS ?= 20
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Warnings are errors in the builds `make test` checks, and only there: a
# user's or a packager's newer compiler still gets a program.
CHECK_FLAGS :=
test test-asan test-fuzz test-release: CHECK_FLAGS := -DGRAZEFALL_WERROR=ON

.PHONY: all deps-build deps-run deps-test deps-fuzz deps-windows deps-package configure build run test test-asan test-release fuzz test-fuzz windows deb format check-format clean

all: build

deps-build:
	@tools/install-deps.sh build
deps-run:
	@tools/install-deps.sh build run
deps-test:
	@tools/install-deps.sh build test package fuzz $(if $(SKIP_WINE),,windows)
deps-fuzz:
	@tools/install-deps.sh build fuzz
deps-windows:
	@tools/install-deps.sh windows
deps-package:
	@tools/install-deps.sh build package

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps-build configure
	cmake --build $(BUILD) -j $(JOBS)

run: deps-run configure
	cmake --build $(BUILD) -j $(JOBS) --target grazefall
	tools/run-saver.sh $(BUILD)/grazefall

# The sanitizer build runs the unit tests once, each fuzz target runs a short
# while over its seeds; the full suite runs last so the run ends on ctest's own
# summary.
test: deps-test test-asan test-fuzz test-release
	cmake -S . -B $(BUILD) -G Ninja $(CHECK_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && GRAZEFALL_WERROR=ON ctest --output-on-failure -j $(JOBS) $(if $(SKIP_WINE),-LE wine,)

test-asan: deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DGRAZEFALL_SANITIZE=ON -DGRAZEFALL_BUILD_BENCH=OFF $(CHECK_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -L unit

# One build type more than the default: the program as a packager or a
# curious user first builds it, optimised with -O3.
test-release: deps-test
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DGRAZEFALL_BUILD_TESTS=OFF -DGRAZEFALL_BUILD_BENCH=OFF $(CHECK_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target grazefall

# The libFuzzer targets of tests/fuzz, built with clang and the sanitizers.
fuzz: deps-fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DGRAZEFALL_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(CHECK_FLAGS) $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets

# Every target over its seed corpus for FUZZ_SMOKE_SECONDS; a finding fails
# and names the file that reproduces it.
test-fuzz: fuzz
	FUZZ_BUILD=$(FUZZ_BUILD) tools/fuzz.sh all $(FUZZ_SMOKE_SECONDS)

windows: deps-windows
	tools/build-windows.sh

# The package is built from a copy of the tree; lintian's report is beside it.
deb: deps-package
	JOBS=$(JOBS) tools/build-deb.sh out/deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails, naming the files, when any C++ file differs from clang-format's.
check-format:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(RELEASE_BUILD) $(FUZZ_BUILD) build-win64 build-win32 out
