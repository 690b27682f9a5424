# Thin wrapper over CMake: install what is missing, configure, build, run, test.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
BUILD_WINDOWS ?= build-windows
JOBS       ?= $(shell nproc)

# Debian 12 packages the project builds, tests and runs with.
PACKAGES = build-essential cmake pkg-config g++ clang libclang-rt-14-dev \
  libsdl2-dev libgtest-dev libgmock-dev googletest libbenchmark-dev \
  libfreetype-dev fonts-dejavu-core libopenal1 libvorbis-dev vorbis-tools \
  imagemagick libjpeg-turbo-progs xvfb xauth xdotool valgrind ccache \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine wine64 libgl1-mesa-dri \
  locales x11-utils

# One compiler cache for every checkout of the project: paths are taken relative to the checkout
# and the working folder is left out of the key, so a fresh clone reuses what an earlier one built.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true

SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build install play demo replays test test-asan fuzz bench windows test-windows clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

# The program, its archive, a desktop entry and icons under PREFIX (run as root, or with sudo,
# for a system folder).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Without a display there is nothing to play on: the demo plays every level instead.
play: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  cd $(BUILD)/bin && ./sanguor; \
	else \
	  echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty): playing the demo instead."; \
	  $(MAKE) --no-print-directory demo; \
	fi

# Every level played headless through its winning replay, with PNG screenshots of each.
demo: build
	tools/demo/demo.sh $(BUILD)/bin content/replays $(BUILD)/content-out $(BUILD)/demo

# The shipped replays recorded again from their plans by the scripted player.
replays: build
	tools/replaybot/record-replays.sh $(BUILD)/bin content/replays

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 600 -j $(JOBS)

# Leak checking is on: sanitizer builds keep every library loaded until exit (cmake/KeepLoaded.c),
# so the GL driver's memory is still reachable when the checker looks.
test-asan: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DSANGUOR_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=abort_on_error=1 LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure --timeout 600 -j $(JOBS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DSANGUOR_FUZZ=ON -DSANGUOR_SANITIZE=ON -DSANGUOR_BENCH=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	fuzz/run.sh $(BUILD_FUZZ) $${FUZZ_SECONDS:-30}

# The Windows folder (build-windows/Sanguor: sanguor.exe, its content archive and launcher
# picture), cross-built with MinGW-w64; the content comes from the Linux build's tools.
windows: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target content launcher_picture icons
	cmake -S . -B $(BUILD_WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/windows-toolchain.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DSANGUOR_NATIVE_BIN=$(CURDIR)/$(BUILD)/bin
	cmake --build $(BUILD_WINDOWS) -j $(JOBS) --target windows_package

# The Windows tests and the first level's replay, under Wine in a virtual X display.
test-windows: windows
	cmake --build $(BUILD) -j $(JOBS) --target resultshot
	cmake --build $(BUILD_WINDOWS) -j $(JOBS)
	cd $(BUILD_WINDOWS) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300 -j $(JOBS)

bench: build
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD_WINDOWS)
