# The two set-up commands are `make run` and `make test`; both install what is missing first.
# `make` alone builds the game as `make run` does, without starting it.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all game run test test-asan bench data build deps clean install uninstall fuzz soak perf deb

PREFIX  ?= /usr/local
BINDIR  ?= $(PREFIX)/bin
DESTDIR ?=

all: game

deps:
	@bash scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

# What playing and installing need: the game (its icons with it), its two commands without a
# window, the data file and the patch set; the tests take minutes longer and are built by `make test`.
game: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target vinkla vinkla-replay vinkla-solve data

# Everything: the game, its commands without a window, the tests and the measuring helpers.
build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

data: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) --target data

# data/ is the working folder: it gets the build's data file (replaced whole, never half-written).
run: game
	cp $(BUILD)/data1.dat data/data1.dat.new && mv -f data/data1.dat.new data/data1.dat
	cd data && $(abspath $(BUILD))/vinkla

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DVINKLA_SANITIZE=ON $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

# A build folder of its own, so the benchmark option never lingers in the main build's cache.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -DVINKLA_BENCH=ON -DVINKLA_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash scripts/bench.sh $(BENCH_BUILD)

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) data/data1.dat deb debian/build debian/vinkla \
	    debian/.debhelper debian/debhelper-build-stamp debian/files debian/*.substvars debian/*.debhelper.log

# Installs what `make` or `make run` built as the player; it builds nothing (sudo would build as root).
install:
	bash scripts/install.sh $(BUILD) $(PREFIX) "$(DESTDIR)" $(BINDIR)

uninstall:
	bash scripts/uninstall.sh $(PREFIX) "$(DESTDIR)" $(BINDIR)

# The Debian package, built from debian/ by dpkg-buildpackage into deb/ (the packages, their
# .buildinfo and .changes); lintian then checks them. Its build folder is debian/build.
deb: deps
	bash scripts/deb.sh
