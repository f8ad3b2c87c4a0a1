# `make test` and `make run` do all the set-up on a fresh Debian or Ubuntu
# machine: install what is missing, configure, build.
PRESET ?= default
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

test: build
	@ctest --preset $(PRESET) -j $(JOBS)

run: build
	@bash scripts/run.sh build/$(PRESET)

bench: build
	@bash bench/run.sh build/$(PRESET)

clean:
	rm -rf build
