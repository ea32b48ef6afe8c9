# Two commands for a fresh Debian machine:
#   make play   builds the Windows program and starts it (under Wine on Linux)
#   make test   builds everything and runs every test
#   make web    builds the browser game and serves it on 127.0.0.1:8080
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all test play build deps bench bench-perft bench-think bench-ab bench-web ladder fuzz fuzz-protocol clean distclean web web-build

all: build

deps:
	scripts/install-deps.sh all

# What install-deps.sh installs before a build: what the build and the native
# tests need, or, for make test, everything, Wine and the browser included.
DEPS = test

build:
	scripts/install-deps.sh $(DEPS)
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j$(JOBS)

# After the release tests: the fast tests again with assertions and
# sanitizers, and the engine's signature under Clang and libc++.
test: DEPS = all
test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	scripts/test-sanitized.sh
	scripts/test-libcxx.sh

play:
	scripts/play.sh

# The game in the browser: static files in build-web/site.
WEB_PORT ?= 8080
web-build:
	scripts/install-deps.sh web
	web/build.sh

web: web-build
	web/serve.sh build-web/site $(WEB_PORT)

# Benchmarks print their figures; none of them is a test.
bench: build
	$(BUILD)/bin/lanterra bench

bench-perft: build
	scripts/bench-perft.sh $(BUILD)/bin/lanterra

# Level 6 decisions with the book off on twelve master-game middlegames.
bench-think: build
	scripts/bench-think.sh $(BUILD)/bin/lanterra

# make bench-ab BASE=<commit> [AB_BENCH=bench|perft|think] [AB_PAIRS=N]:
# our tool against BASE's, built in a temporary worktree, runs alternating.
bench-ab: build
	@test -n "$(BASE)" || { echo "usage: make bench-ab BASE=<commit>"; exit 2; }
	scripts/bench-ab.sh $(BASE) $(BUILD)/bin/lanterra

# How soon the page shows the board and takes the first move, as this
# machine runs and as a slow phone on a slow network (web/tools/bench-web.mjs).
bench-web: web-build
	node web/tools/bench-web.mjs build-web/site

# The strength ladder against Fairy-Stockfish: about 45 to 60 minutes on two
# cores; it writes its table into the README.
ladder: build
	scripts/ladder.sh $(BUILD)/bin/lanterra

# Every fuzz harness (fuzz/) for FUZZ_SECONDS each, one after another, with
# libFuzzer and the sanitizers in build-fuzz/ (scripts/fuzz.sh). make test
# replays their corpora instead.
FUZZ_SECONDS ?= 60
fuzz:
	scripts/install-deps.sh $(DEPS)
	scripts/fuzz.sh run $(FUZZ_SECONDS)

# A million seeded random lines through the engine protocol loop, without
# Clang: the same seed makes the same lines on any machine.
fuzz-protocol: build
	$(BUILD)/bin/lanterra fuzz-protocol 1000000

# Every folder a build or a test run makes: the native build, the Windows
# program with its Wine prefix (and the one a Windows machine builds), the
# page, the sanitizer, libc++ and fuzz builds. distclean also drops the
# browser tests' driver, which npm put in web/node_modules.
clean:
	rm -rf $(sort $(BUILD) build build-win32 build-windows build-web build-sanitize build-libcxx build-fuzz)

distclean: clean
	rm -rf web/node_modules
