# The two commands a newcomer needs on a fresh Debian 12 machine:
#   make play   install what is missing, build, start the game
#   make test   install what is missing, build, run every test (plain and sanitizer builds)
# Further: make bench (benchmarks), make fuzz (bounded fuzzing), make build, make clean.

BUILD      := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
JOBS       := $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

# Debian packages the build, the tests and the game need.
PACKAGES := cmake make g++ clang lld pkg-config libclang-rt-14-dev \
            libgtest-dev libgmock-dev libbenchmark-dev \
            libsdl2-dev libcairo2-dev unifont console-setup-linux \
            xvfb xauth xdotool x11-apps imagemagick python3 zlib1g-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build test play bench fuzz clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing packages:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DDISC_WERROR=ON -DDISC_BENCH=OFF
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DDISC_SANITIZE=ON -DDISC_WERROR=ON \
	      -DDISC_BENCH=OFF -DDISC_E2E=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The game reads options.ini and properties/ from its working directory: data/ holds both.
play: build
	@if [ -x $(BUILD)/discgame ]; then cd data && ../$(BUILD)/discgame; \
	 else echo "discgame is not built yet"; fi

bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DDISC_WERROR=ON -DDISC_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/*; do [ -x "$$b" ] || continue; echo "== $$b"; "$$b" || exit 1; done

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DDISC_FUZZ=ON \
	      -DDISC_E2E=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/fuzz/*; do [ -x "$$f" ] || continue; echo "== $$f"; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$(basename $$f); \
	  "$$f" -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        $(FUZZ_BUILD)/corpus/$$(basename $$f) || exit 1; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
