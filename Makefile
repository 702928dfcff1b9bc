# The two commands a newcomer needs: `make run` and `make test`. Both install what
# is missing (scripts/setup) and build first.
JOBS ?= $(shell nproc)
PROJECT ?= examples/sample/Sample.dpr
CMAKE_FLAGS ?=

.PHONY: all setup configure build run test build-asan test-asan install deb fuzz bench format clean

all: build

setup:
	@scripts/setup

configure: setup
	@cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build build -j $(JOBS)

# Builds only what it runs: the IDE and its two packages. Without a display the IDE
# cannot be shown; it then takes the tour of its tools and leaves the pictures.
run: configure
	@cmake --build build -j $(JOBS) --target vesk-ide
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
		./build/bin/vesk-ide $(PROJECT); \
	else \
		echo "No display: vesk-ide takes the tour of its tools on $(PROJECT)"; \
		./build/bin/vesk-ide --tour build/tour $(PROJECT) && \
		echo "The tour's pictures are in build/tour/ (one per step, listed above)."; \
	fi

test: build
	cd build && ctest --output-on-failure -j $(JOBS)

build-asan: setup
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESK_WERROR=ON -DVESK_SANITIZE=ON -DVESK_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-asan -j $(JOBS)

test-asan: build-asan
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

# cmake --install into PREFIX (DESTDIR is honoured); README "Install" tells the layout.
PREFIX ?= /usr/local
install: build
	cmake --install build --prefix $(PREFIX)

# The Debian package, into build/package/; scripts/check-deb builds and checks it.
deb: build
	@rm -f build/package/vesk_*.deb
	@cd build && cpack -G DEB

# libFuzzer targets, built with clang under the sanitizers: `make fuzz` builds them,
# `make fuzz FUZZ_SECONDS=300` also runs each for that long.
FUZZ_SECONDS ?= 0
fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=ON -DVESK_FUZZ=ON -DVESK_TESTS=OFF -DVESK_BENCH=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers
	@if [ "$(FUZZ_SECONDS)" != "0" ]; then scripts/run-fuzzers build-fuzz/bin $(FUZZ_SECONDS); fi

bench: build
	@scripts/setup --bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz
