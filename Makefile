# Two commands do everything: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= 2
# Extra cache entries for a new build folder, e.g. -DTRELLIN_WARNINGS_AS_ERRORS=ON in CI.
CMAKE_FLAGS ?=

.PHONY: all deps configure build run install test test-hosts test-asan bench fuzz format format-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@[ -f $(BUILD_DIR)/build.ninja ] || cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run $(BUILD_DIR)

# Trellin under PREFIX, trellinctl on its bin folder and bash completion for it.
PREFIX ?= $(HOME)/.local

install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The docks the end-to-end tests run in are needed only once the build is done.
test: build
	@scripts/install-deps docks
	@scripts/run-tests $(BUILD_DIR)

# The docks too large to install and start on every `make test` (KDE Plasma): their packages and
# their end-to-end tests.
test-hosts: build
	@scripts/install-deps docks hosts
	@scripts/run-host-tests $(BUILD_DIR)

# The unit and integration tests built with AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build folder of their own. Not part of `make test`: on two cores the sanitized build alone takes
# about as long as the whole of CI.
ASAN_BUILD_DIR ?= build-asan

test-asan: deps
	@[ -f $(ASAN_BUILD_DIR)/build.ninja ] || cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DTRELLIN_SANITIZE=ON $(CMAKE_FLAGS)
	@cmake --build $(ASAN_BUILD_DIR) -j $(JOBS)
	@scripts/run-tests $(ASAN_BUILD_DIR) --no-e2e

bench: build
	@scripts/install-deps docks
	@scripts/run-benchmarks $(BUILD_DIR)

# libFuzzer under sanitizers, in a clang build of its own; FUZZ_SECONDS per fuzz target.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60

fuzz:
	@scripts/install-deps fuzz
	@[ -f $(FUZZ_BUILD_DIR)/build.ninja ] || cmake -S . -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DTRELLIN_FUZZ=ON
	@cmake --build $(FUZZ_BUILD_DIR) --target fuzzers -j $(JOBS)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzzers $(FUZZ_BUILD_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	@rm -rf $(BUILD_DIR)
