# Two commands do everything: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: all deps configure build run install test test-hosts bench fuzz format format-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@[ -f $(BUILD_DIR)/build.ninja ] || cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

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
