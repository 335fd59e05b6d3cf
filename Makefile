# The two commands of the README: `make run` and `make test`.
PRESET ?= default
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test package package-test run bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

# Opt-in test labels (package) are left out; `make package-test` runs that one.
test: build
	@QT_QPA_PLATFORM=offscreen ctest --preset $(PRESET) --label-exclude package

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
	@rm -rf build build-asan build-tsan
