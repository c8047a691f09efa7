# The two set-up commands: `make demo` and `make test`. Each installs what is
# missing, configures and builds, then runs.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
WERROR ?= ON
PREFIX ?= /usr/local
FUZZ_WERROR ?= OFF
FUZZ_SECONDS ?= 60

.PHONY: all deps build build-sanitize build-bench demo test test-sanitize bench bench-quick fuzz fuzz-run test-card install clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

build-sanitize: deps
	cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DQX_SANITIZE=address,undefined -DQX_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build build-sanitize -j $(JOBS)

test: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-sanitize: build-sanitize
	cd build-sanitize && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

demo: build
	@bash scripts/demo.sh build

build-bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_BENCH=ON -DQX_TESTS=OFF
	cmake --build build-bench -j $(JOBS)

bench: build-bench
	@bash scripts/run-bench.sh build-bench

# The same programs for a few seconds each, on small data: a check that they
# run, not figures to record.
bench-quick: build-bench
	@bash scripts/run-bench.sh --quick build-bench

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQX_FUZZ=ON -DQX_TESTS=OFF -DQX_WERROR=$(FUZZ_WERROR) $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS on its seed corpus (findings go to
# fuzz-findings/).
fuzz-run: fuzz
	bash scripts/run-fuzz.sh build-fuzz $(FUZZ_SECONDS)

# Library, headers, CMake and pkg-config files, qxtool with its manual page
# and bash completion, under PREFIX.
install: build
	cmake --install build --prefix $(PREFIX)

# The drawing test card shown in docs/graphics.md, drawn by the built qxtool
# (QXTOOL names another build's qxtool; the default one is built when missing).
QXTOOL ?= build/tools/qxtool/qxtool
test-card:
	@test -x $(QXTOOL) || $(MAKE) build
	$(QXTOOL) draw-test docs/images/test-card.png

clean:
	rm -rf build build-sanitize build-bench build-fuzz
