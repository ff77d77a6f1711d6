# The two commands of the README's Quick start, and the extra runs CI makes.
JOBS ?= $(shell nproc)
WERROR ?= $(if $(CI),ON,OFF)
# A compiler cache, when the machine has one, makes rebuilds of the several presets cheap.
CACHE := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

.PHONY: format-check tidy windows-test windows-qt windows-installer windows-gui-test windows-gui-ci run test build smoke install-test package package-test asan-test tsan-test fuzz-run bench ci clean

# Running needs no test framework: the build leaves the tests out until `make test` asks for them.
run:
	scripts/bootstrap.sh run
	cmake --preset default -DNIMBREL_WERROR=$(WERROR) $(CACHE) -DNIMBREL_BUILD_TESTS=OFF >/dev/null
	cmake --build --preset default -j $(JOBS)
	scripts/run.sh build/default

build:
	scripts/bootstrap.sh build
	cmake --preset default -DNIMBREL_WERROR=$(WERROR) $(CACHE) -DNIMBREL_BUILD_TESTS=OFF >/dev/null
	cmake --build --preset default -j $(JOBS)

# Every test: the unit, CLI and GUI suites under ctest, then the desktop smoke test.
test:
	scripts/bootstrap.sh test
	cmake --preset default -DNIMBREL_WERROR=$(WERROR) $(CACHE) -DNIMBREL_BUILD_TESTS=ON >/dev/null
	cmake --build --preset default -j $(JOBS)
	ctest --preset default -j $(JOBS)
	scripts/smoke.sh build/default
	scripts/check-install.sh build/default

# The desktop program in a virtual desktop session with a tray host and a local FTP server.
smoke: build
	scripts/bootstrap.sh test
	scripts/smoke.sh build/default

# The installed layout (launcher, metainfo, manual pages, icons) and the installed program.
install-test: build
	scripts/bootstrap.sh test
	scripts/check-install.sh build/default

# The Debian package of the release build, in build/package/package/.
package:
	scripts/bootstrap.sh package
	cmake --preset package -DNIMBREL_WERROR=$(WERROR) $(CACHE) >/dev/null
	cmake --build --preset package -j $(JOBS)
	rm -f build/package/package/*.deb
	cd build/package && cpack -G DEB >/dev/null
	@ls build/package/package/*.deb

# Lintian, then a real install and removal of the package (as root).
package-test: package
	scripts/check-package.sh build/package

asan-test:
	scripts/bootstrap.sh test
	cmake --preset asan -DNIMBREL_WERROR=$(WERROR) $(CACHE) -DNIMBREL_BUILD_TESTS=ON >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The threaded parts (fetch run, heartbeat, log) under ThreadSanitizer.
tsan-test:
	scripts/bootstrap.sh test
	cmake --preset tsan -DNIMBREL_WERROR=$(WERROR) $(CACHE) >/dev/null
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS) -R '$(TSAN_TESTS)'
TSAN_TESTS ?= Fetch|Heartbeat|FtpClient|Log

FUZZ_SECONDS ?= 60
fuzz-run:
	scripts/bootstrap.sh test
	cmake --preset fuzz $(CACHE) >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	scripts/fuzz.sh build/fuzz $(FUZZ_SECONDS)

# The core, nimbrel-cli and their tests cross-built with MinGW-w64 and run under Wine.
windows-test:
	WERROR=$(WERROR) JOBS=$(JOBS) scripts/windows-test.sh

# Qt for Windows from Debian's sources, built once into build/windows-deps/qt6 (long: see README).
windows-qt:
	scripts/bootstrap.sh windows-gui
	JOBS=$(JOBS) scripts/qt-mingw.sh

# The Windows installer, build/windows/Nimbrel-<version>-win64.exe: the desktop program with its
# Qt, nimbrel-cli, the station database and the compiled help. WINDOWS_GUI=OFF leaves the
# desktop program out and needs no Qt for Windows.
WINDOWS_GUI ?= ON
windows-installer:
	scripts/bootstrap.sh windows-gui
	$(if $(filter ON,$(WINDOWS_GUI)),JOBS=$(JOBS) scripts/qt-mingw.sh)
	cmake --preset windows-gui -DNIMBREL_WERROR=$(WERROR) $(CACHE) -DNIMBREL_BUILD_GUI=$(WINDOWS_GUI) >/dev/null
	cmake --build --preset windows-gui -j $(JOBS)
	rm -f build/windows/Nimbrel-*-win64.exe
	cd build/windows-gui && cpack -G NSIS >/dev/null
	@ls build/windows/Nimbrel-*-win64.exe

# The installer and the installed desktop program under Wine, with a tray host and a local FTP
# server; the settings it writes are compared with those of the Linux program.
windows-gui-test: windows-installer
	scripts/bootstrap.sh test
	cmake --preset default -DNIMBREL_WERROR=$(WERROR) $(CACHE) >/dev/null
	cmake --build --preset default -j $(JOBS) --target nimbrel
	scripts/windows-gui-test.sh

# CI runs the Windows desktop test only where Qt for Windows is already built: building it takes
# longer than the whole of CI may.
windows-gui-ci:
	@if [ -f build/windows-deps/qt6/.qt-built ]; then $(MAKE) windows-gui-test; else \
	    echo "windows-gui-test skipped: Qt for Windows is not built (make windows-qt builds it once, $(WINDOWS_QT_TIME) on 2 cores)"; fi
WINDOWS_QT_TIME = over an hour

# The tree keeps to .clang-format.
format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# The core and nimbrel-cli keep to .clang-tidy (the Qt front end is left out: its moc-made code
# and widget idioms would need checks of their own).
TIDY_SOURCES = $(shell git ls-files 'base/*.cpp' 'decode/*.cpp' 'log/*.cpp' 'help/*.cpp' 'settings/*.cpp' \
	'retrieval/*.cpp' 'app/*.cpp' 'cli/*.cpp' ':!:*/qt/*')
tidy:
	scripts/bootstrap.sh test
	cmake --preset default $(CACHE) -DNIMBREL_BUILD_TESTS=ON >/dev/null
	run-clang-tidy -quiet -p build/default -j $(JOBS) $(addprefix $(CURDIR)/,$(TIDY_SOURCES))

bench:
	scripts/bootstrap.sh test
	cmake --preset release $(CACHE) >/dev/null
	cmake --build --preset release -j $(JOBS)
	scripts/bench.sh build/release

# Every step runs, whatever an earlier one did, so one failure hides nothing; the summary at the
# end names each step's result, and make fails if any step did.
CI_STEPS = test format-check package-test windows-test windows-gui-ci asan-test tsan-test fuzz-run
ci:
	scripts/ci.sh $(CI_STEPS)

clean:
	rm -rf build
