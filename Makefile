# The two set-up commands are `make run` and `make test`; both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: run test test-asan bench data build deps clean install uninstall fuzz soak perf

PREFIX  ?= /usr/local
DESTDIR ?=

deps:
	@bash scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

data: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) --target data

run: build
	cd data && ../$(BUILD)/vinkla

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DVINKLA_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD) -DVINKLA_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)
	bash scripts/bench.sh $(BUILD)

# libFuzzer harnesses (clang, ASan, UBSan) for the level readers, the configuration and the data file.
FUZZ_SECONDS ?= 60
fuzz: deps
	bash scripts/fuzz.sh $(FUZZ_SECONDS)

# Millions of frames of random tilt on every shipped level and on random levels.
SOAK_FRAMES ?= 10000000
soak: build
	VINKLA_SOAK_FRAMES=$(SOAK_FRAMES) $(BUILD)/tests/vinkla_tests --gtest_filter='Soak.*'

# Frames per second, processor share and memory of the real program under Xvfb.
perf: build
	bash scripts/perf.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) data/data1.dat

install: build
	bash scripts/install.sh $(BUILD) $(PREFIX) $(DESTDIR)

uninstall:
	bash scripts/uninstall.sh $(PREFIX) $(DESTDIR)
