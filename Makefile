# `make test` and `make run` do all the set-up on a fresh Debian or Ubuntu
# machine: install what is missing, configure, build.
PRESET ?= default
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test check run bench package clean check-sanitize fuzz mutate ratio web bench-web windows

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

# Every test: the suite, then the core under the sanitizers, then a short
# run of each fuzzer, then the mutation check of the scenarios.
test: check check-sanitize fuzz mutate

# The suite alone (core, windows, replay scenarios, packaging).
check: build
	@ctest --preset $(PRESET) -j $(JOBS)

run: build
	@bash scripts/run.sh build/$(PRESET)

# The web page: builds web/dist (preset wasm) and serves it on 127.0.0.1,
# printing the URL (PORT=8325).
PORT ?= 8325
web: deps
	@bash scripts/web.sh serve $(PORT)

# The native benchmarks, then the planner in the page's WebAssembly and the
# page's taps with the CPU throttled in headless Chromium (bench/run.sh; it
# builds web/dist).
bench: build
	@bash bench/run.sh build/$(PRESET)

# The page's first load against a floor page in headless Chromium, then
# Lighthouse's phone run of both (npm ci in bench/web installs it).
bench-web: deps
	@bash scripts/web.sh build && node bench/web/page_bench.mjs && \
	  (cd bench/web && npm ci --no-audit --no-fund --loglevel=error >/dev/null) && node bench/web/lighthouse.mjs

# The Debian package, build/$(PRESET)/petcalc_<version>_<arch>.deb.
package: build
	@cd build/$(PRESET) && cpack -G DEB

# The Windows program, cross-built with MinGW-w64 (build/win):
# dist/petcalc-<version>-windows-x64.zip with petcalc.exe and the licences.
windows: deps
	@{ [ -f build/win/CMakeCache.txt ] || cmake --preset win >/dev/null; }
	@cmake --build build/win --target windows-zip -j $(JOBS)
	@ls dist/*-windows-x64.zip

# The core, the Qt window and their tests under AddressSanitizer and UBSan
# (build/asan), the windows on Qt's offscreen platform.
check-sanitize: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

# The libFuzzer targets (clang, build/fuzz), each run briefly on its seeds.
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@ctest --preset fuzz -j $(JOBS)

# Each small mistake of scripts/mutants.txt, made in a scratch copy of the
# core (build/mutate), must make some scenario fail. About two minutes.
mutate: deps
	@JOBS=$(JOBS) bash scripts/mutate.sh

# Lines of product and test code, and their ratio.
ratio:
	@bash scripts/test-ratio.sh

clean:
	rm -rf build dist
