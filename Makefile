# Quantrel: build, run and test on Linux with mingw-w64 and Wine.
#   make run    build, then start the home-screen host and Quantrel under Wine
#   make test   build both trees and run every test (native and under Wine)
#   make bench  the benchmarks
#   make clean  remove build/

BUILD       := $(CURDIR)/build
WIN_BUILD   := $(BUILD)/win
NATIVE_BUILD:= $(BUILD)/native
JOBS        ?= 2

export WINEPREFIX ?= $(BUILD)/wineprefix
export WINEARCH := win64
export WINEDEBUG := -all
export WINEDLLOVERRIDES := mscoree,mshtml=

PACKAGES := cmake make g++ googletest libgtest-dev libbenchmark-dev \
	g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
	wine wine64 fonts-wine xvfb xauth x11-apps xdotool imagemagick zip clang

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench clean

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

run: build
	tools/run.sh $(WIN_BUILD)

test: build
	tools/test.sh $(WIN_BUILD) $(NATIVE_BUILD)

bench: build
	@if [ -x $(NATIVE_BUILD)/native_bench ]; then $(NATIVE_BUILD)/native_bench; else echo "no native benchmarks"; fi

clean:
	rm -rf $(BUILD)
