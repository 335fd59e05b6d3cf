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

run: build
	@scripts/run

bench: build
	@for b in build/bench/*_bench; do echo "== $$b"; $$b; done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-asan build-tsan
