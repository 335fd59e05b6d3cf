# The two commands of the README: `make run` and `make test`.
PRESET ?= default
JOBS ?= $(shell nproc)
# Seconds each fuzz target runs under `make fuzz`.
FUZZ_SECONDS ?= 60
# Seconds the soak test runs under `make soak`.
SOAK_SECONDS ?= 600
# Seconds each run of `make scale` lasts.
SCALE_SECONDS ?= 120
# The opt-in test labels that `make test` leaves out.
OPT_IN_LABELS := package|soak

.PHONY: all deps configure build test sanitizers fuzz-build fuzz soak package package-test run \
	bench scale format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

# The plain suite first, so that an ordinary failure shows early; then the suite under
# AddressSanitizer + UBSan, the threaded tests under ThreadSanitizer, and a short run of
# every fuzz target. The opt-in labels "package" (`make package-test`) and "soak"
# (`make soak`) are left out.
test: build
	@QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET) --label-exclude '$(OPT_IN_LABELS)'
	@$(MAKE) --no-print-directory sanitizers fuzz-build
	@ctest --preset fuzz

sanitizers: deps
	@for preset in asan tsan; do \
	    cmake --preset $$preset >/dev/null && \
	    cmake --build --preset $$preset -j $(JOBS) && \
	    ctest --preset $$preset --label-exclude '$(OPT_IN_LABELS)' || exit 1; \
	done

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS seconds, two at a time; new inputs are kept in
# build-fuzz/fuzz/found, crashes in build-fuzz/fuzz/artefacts.
fuzz: fuzz-build
	@QUORVEL_FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --preset fuzz --timeout $$(($(FUZZ_SECONDS) + 300))

# The imager worked by a random but seeded driver on the simulated head for SOAK_SECONDS
# seconds; prints its memory, thread and descriptor figures and what it did.
soak: build
	@QUORVEL_SOAK_SECONDS=$(SOAK_SECONDS) ctest --preset $(PRESET) --label-regex soak \
	    --verbose --timeout $$(($(SOAK_SECONDS) + 300))

# One local broker, N simulated heads and N loggers publishing to it (N = 1, 8, 32) for
# SCALE_SECONDS each, the broker restarted once in the middle: every row must arrive;
# prints each logger's CPU time and peak memory.
scale: build
	@for n in 1 8 32; do scripts/scale-run $$n $(SCALE_SECONDS) || exit 1; done

package: build
	@cd build && cpack -G DEB

package-test: build
	@ctest --preset $(PRESET) --label-regex package --output-on-failure

# The build's own output goes to build/make-run.log and is shown only when it fails.
run: deps
	@mkdir -p build
	@echo "Building (log: build/make-run.log) ..."
	@if ! $(MAKE) --no-print-directory build >build/make-run.log 2>&1; then \
		cat build/make-run.log; echo "make run: the build failed (log: build/make-run.log)"; \
		exit 1; fi
	@scripts/run

bench: build
	@for b in build/bench/*_bench; do echo "== $$b"; $$b; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-asan build-tsan build-fuzz
