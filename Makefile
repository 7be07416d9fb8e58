# Quantrel: build, run and test on Linux with mingw-w64 and Wine.
#   make run    build, then start the home-screen host and Quantrel under Wine
#   make test   build both trees and run every test (native and under Wine)
#   make bench  the benchmarks
#   make dist   the package for Windows users: build/quantrel-<version>.zip
#   make fuzz   every fuzz target of the core for FUZZ_SECONDS (default 60) each
#   make clean  remove build/

BUILD       := $(CURDIR)/build
WIN_BUILD   := $(BUILD)/win
NATIVE_BUILD:= $(BUILD)/native
ASAN_BUILD  := $(BUILD)/native-asan
FUZZ_BUILD  := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TEST_SECONDS ?= 15
JOBS        ?= 2

export WINEPREFIX ?= $(BUILD)/wineprefix
export WINEARCH := win64
export WINEDEBUG := -all
export WINEDLLOVERRIDES := mscoree,mshtml=

PACKAGES := cmake make g++ googletest libgtest-dev libbenchmark-dev \
	g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
	wine wine64 fonts-wine xvfb xauth x11-apps xdotool imagemagick zip clang \
	libclang-rt-14-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build native-asan fuzzers run test bench fuzz clean dist

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake -S . -B $(NATIVE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	cmake --build $(NATIVE_BUILD) -j $(JOBS)
	cmake --build $(WIN_BUILD) -j $(JOBS)

# The native tests under ASan and UBSan.
native-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUANTREL_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The fuzz targets of the core (clang's libFuzzer, with ASan and UBSan).
fuzzers: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUANTREL_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

run: build
	tools/run.sh $(WIN_BUILD)

test: build native-asan fuzzers
	tools/test.sh $(WIN_BUILD) $(NATIVE_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(FUZZ_TEST_SECONDS)

# The benchmarks are built here only, not with the rest.
bench: build
	cmake --build $(NATIVE_BUILD) -j $(JOBS) --target native_bench
	cmake --build $(WIN_BUILD) -j $(JOBS) --target screen_bench zentavo_bench startup_bench MinimalWindow
	$(NATIVE_BUILD)/native_bench
	tools/bench.sh $(WIN_BUILD)

fuzz: fuzzers
	tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The package for Windows users; the script lists the zip and checks it.
dist: configure
	JOBS=$(JOBS) tools/dist.sh $(WIN_BUILD) $(BUILD)

clean:
	rm -rf $(BUILD)
