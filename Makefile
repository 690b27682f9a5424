# Thin wrapper over CMake: install what is missing, configure, build, run, test.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
BUILD_TIDY ?= build-tidy
BUILD_WINDOWS ?= build-windows
JOBS       ?= $(shell nproc)
# The project's one version number.
VERSION    := $(shell head -n 1 VERSION)

# Debian 12 packages, one list per task; each target's dependency step installs only the lists
# its task needs (README, "What each command installs").
# Building and playing: compiler, CMake, SDL2, FreeType, OpenAL, Vorbis, Mesa, and ImageMagick,
# which draws the desktop icons from the game's art.
PACKAGES_PLAY = build-essential cmake pkg-config g++ ccache libsdl2-dev libfreetype-dev \
  fonts-dejavu-core libopenal1 libvorbis-dev libgl1-mesa-dri imagemagick
# The tests and benchmarks.
PACKAGES_TEST = libgtest-dev libgmock-dev googletest libbenchmark-dev libstb-dev vorbis-tools \
  libjpeg-turbo-progs xvfb xauth xdotool valgrind
# The sanitizer and fuzz builds, and the static checks.
PACKAGES_CLANG = clang libclang-rt-14-dev clang-tidy clang-format
# The Windows cross-build, its zip and its installer.
PACKAGES_WINDOWS = g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev zip nsis
# The Windows tests, under Wine in a virtual X display.
PACKAGES_WINDOWS_TEST = wine wine64 xvfb xauth locales x11-utils
# The Debian package and its checks.
PACKAGES_DEB = dpkg-dev fakeroot lintian desktop-file-utils appstream

# One compiler cache for every checkout of the project: paths are taken relative to the checkout
# and the working folder is left out of the key, so a fresh clone reuses what an earlier one built.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true
# The test programs read precompiled headers: the cache cannot see which macros or time stamps a
# precompiled header holds, and takes them as unchanged (they hold only GoogleTest's and the
# standard library's headers).
export CCACHE_SLOPPINESS := pch_defines,time_macros

SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: build-tests configure-tidy unity-check deps deps-play deps-test deps-clang deps-windows deps-windows-test deps-deb \
  configure build install deb test-deb play demo replays test test-asan fuzz benchmarks bench windows \
  test-windows test-installer test-packages check-format tidy tidy-windows clean

# Installs the packages of the lists given that are missing; with SHOW_PACKAGES=1 it only prints
# every package asked for, one a line (the package-list test reads the play target's this way).
define install_packages
	@if [ -n "$(SHOW_PACKAGES)" ]; then printf '%s\n' $(1); exit 0; fi; \
	missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps-play:
	$(call install_packages,$(PACKAGES_PLAY))
deps-test:
	$(call install_packages,$(PACKAGES_PLAY) $(PACKAGES_TEST))
deps-clang:
	$(call install_packages,$(PACKAGES_PLAY) $(PACKAGES_TEST) $(PACKAGES_CLANG))
deps-windows:
	$(call install_packages,$(PACKAGES_PLAY) $(PACKAGES_WINDOWS))
deps-windows-test:
	$(call install_packages,$(PACKAGES_PLAY) $(PACKAGES_TEST) $(PACKAGES_WINDOWS) $(PACKAGES_WINDOWS_TEST))
deps-deb:
	$(call install_packages,$(PACKAGES_PLAY) $(PACKAGES_DEB))
# Everything any target needs.
deps:
	$(call install_packages,$(PACKAGES_PLAY) $(PACKAGES_TEST) $(PACKAGES_CLANG) $(PACKAGES_WINDOWS) \
	  $(PACKAGES_WINDOWS_TEST) $(PACKAGES_DEB))

# The first configuration builds only the game and its tools; `make test` (or bench) turns the
# tests and benchmarks on, and they stay on.
$(BUILD)/CMakeCache.txt: | deps-play
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANGUOR_TESTS=OFF -DSANGUOR_BENCH=OFF

configure: $(BUILD)/CMakeCache.txt

build: deps-play configure
	cmake --build $(BUILD) -j $(JOBS)

# The build with its tests; the benchmarks are configured too, but built only by `make benchmarks`.
build-tests: deps-test configure
	cmake -S . -B $(BUILD) -DSANGUOR_TESTS=ON -DSANGUOR_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)

# The program, its archive, a desktop entry and icons under PREFIX (run as root, or with sudo,
# for a system folder).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, sanguor_VERSION_amd64.deb in this folder (packaging/debian/).
deb: deps-deb build
	packaging/debian/build-deb.sh $(BUILD) .

# The package checked by lintian, desktop-file-validate and appstreamcli, unpacked into a
# scratch folder, and its program playing the first level's replay to the win from there.
test-deb: deb
	packaging/debian/check-deb.sh sanguor_$(VERSION)_amd64.deb $(BUILD) content/replays/Map1-win.replay

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

# Every C and C++ file of the tree laid out as .clang-format says; prints what differs.
check-format: deps-clang
	git ls-files '*.c' '*.cpp' '*.h' | grep -v '^content/' | xargs clang-format --dry-run --Werror

test: build-tests
	cd $(BUILD) && ctest --output-on-failure --timeout 600 -j $(JOBS)

# Leak checking is on: sanitizer builds keep every library loaded until exit (cmake/KeepLoaded.c),
# so the GL driver's memory is still reachable when the checker looks.
# intercept_tls_get_addr=0: when a library's thread-local block, which glibc allocates with malloc,
# starts 16 bytes into a page, the sanitizer runtime takes the 16 bytes before it (the allocator's
# own chunk header) for glibc's record of the block's bounds; the leak checker then scans that
# made-up range and dies at exit ("Tracer caught signal 11", exit code 134). Where the heap puts
# the GL driver's (libLLVM's) block depends on every allocation before it, so any change of code
# or paths can move it there. Without the runtime's record leaks are still reported, and memory
# that only such a block points to still counts as reachable.
test-asan: deps-clang
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DSANGUOR_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=abort_on_error=1:intercept_tls_get_addr=0 LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure --timeout 600 -j $(JOBS)

# A configuration that compiles the libraries and tools source by source, so its
# compile_commands.json names every source (the build's own names the batches).
configure-tidy:
	cmake -S . -B $(BUILD_TIDY) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANGUOR_TESTS=OFF -DSANGUOR_BENCH=OFF \
	  -DSANGUOR_UNITY_LIBRARIES=OFF

# clang-tidy with the rules in .clang-tidy over the sources under src/ and tools/ the build
# compiles (from the source-by-source database; no build needed); any finding fails.
tidy: deps-clang configure-tidy
	tools/tidy/run-tidy.sh . $(BUILD_TIDY) $(JOBS)

# No two sources of a library or tool define file-local functions of the same name, which the
# batched build would compile into one translation unit.
unity-check: deps-play configure-tidy
	tools/unity/unity-clashes.py $(BUILD_TIDY) $(JOBS)

# The same rules over the Win32 backend, which only the Windows build compiles, read through
# the MinGW compiler's own C++ headers (clang takes the target from the compiler's name).
MINGW_CXX_INCLUDES = $(shell echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 | \
  sed -n '/search starts here/,/End of search/p' | grep '/c++')
tidy-windows: deps-clang deps-windows configure
	cmake --build $(BUILD) -j $(JOBS) --target icons
	$(MAKE) --no-print-directory $(BUILD_WINDOWS)/CMakeCache.txt
	TIDY_ARGS="$(addprefix --extra-arg=-isystem,$(MINGW_CXX_INCLUDES))" \
	  tools/tidy/run-tidy.sh . $(BUILD_WINDOWS) $(JOBS) src/platform/win32

fuzz: deps-clang
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DSANGUOR_FUZZ=ON -DSANGUOR_SANITIZE=ON -DSANGUOR_BENCH=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	fuzz/run.sh $(BUILD_FUZZ) $${FUZZ_SECONDS:-30}

# The Windows folder (build-windows/Sanguor: sanguor.exe, its content archive and launcher
# picture), cross-built with MinGW-w64; the content comes from the Linux build's tools. Beside
# it the zip and the installer (packaging/windows/).
# Like the Linux build, first configured without its tests; `make test-windows` turns them on.
# (it takes the Linux build's icons, so `windows` makes them first).
$(BUILD_WINDOWS)/CMakeCache.txt: | deps-windows
	cmake -S . -B $(BUILD_WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/windows-toolchain.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DSANGUOR_NATIVE_BIN=$(CURDIR)/$(BUILD)/bin -DSANGUOR_TESTS=OFF

windows: deps-windows configure
	cmake --build $(BUILD) -j $(JOBS) --target content launcher_picture icons
	$(MAKE) --no-print-directory $(BUILD_WINDOWS)/CMakeCache.txt
	cmake --build $(BUILD_WINDOWS) -j $(JOBS) --target windows_package
	packaging/windows/build-windows-packages.sh $(BUILD_WINDOWS) $(VERSION)

# The Windows tests and the first level's replay, under Wine in a virtual X display.
test-windows: deps-windows-test windows
	cmake --build $(BUILD) -j $(JOBS) --target resultshot
	cmake -S . -B $(BUILD_WINDOWS) -DSANGUOR_TESTS=ON
	cmake --build $(BUILD_WINDOWS) -j $(JOBS)
	cd $(BUILD_WINDOWS) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300 -j $(JOBS)

# The installer run silently under Wine in a fresh prefix, the installed game playing the first
# level's replay, and the uninstaller.
test-installer: deps-windows-test windows
	cmake --build $(BUILD) -j $(JOBS) --target resultshot
	xvfb-run -a -s "-screen 0 1280x1024x24" packaging/windows/check-installer.sh \
	  $(BUILD_WINDOWS)/Sanguor-$(VERSION)-windows-x64-setup.exe $(BUILD_WINDOWS)/wine-installer \
	  content/replays/Map1-win.replay $(BUILD)/content-out $(BUILD)/bin/resultshot $(BUILD_WINDOWS)/installer-shots

# Both packages built and checked.
test-packages: test-deb test-installer

# The benchmark programs, built without running them (CI checks that they compile).
benchmarks: build-tests
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks

bench: benchmarks
	bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ) $(BUILD_WINDOWS) sanguor_*_amd64.deb
