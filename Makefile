# Quarzel 3 - the two commands of the README:
#   make run    build and start the desktop program
#   make test   build and run every test headless
# Missing Debian/Ubuntu build packages are installed with apt-get (through sudo when not root).

BUILD_DIR   ?= build
BENCH_DIR   ?= build-bench
ASAN_DIR    ?= build-asan
FUZZ_DIR    ?= build-fuzz
PACKAGE_DIR ?= build-package
WINDOWS_DIR ?= build-windows
WEB_DIR     ?= build-web
WEB_TEST_DIR ?= build-web-test
FUZZ_SECONDS ?= 60
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

PACKAGES = cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev fonts-liberation \
           qt6-translations-l10n libqt6svg6 libtomlplusplus-dev
BENCH_PACKAGES = libbenchmark-dev python3

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all build run test sanitize fuzz bench package deps clean windows-test web web-test \
        web-core-test web-page-test

all: build

# $(call install-missing,PACKAGES): installs those of the Debian packages that are missing,
# with apt-get (through sudo when not root); without apt-get it names them and fails.
define install-missing
	@missing=""; \
	for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if ! command -v apt-get >/dev/null 2>&1; then \
	    echo "Missing packages:$$missing - please install them (see README.md)."; exit 1; \
	  fi; \
	  echo "Installing missing packages:$$missing"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

# $(call install-command,COMMAND,PACKAGE): installs the Debian package when the command is
# missing. For npm: Node.js from NodeSource brings it inside its own nodejs package, which then
# conflicts with Debian's npm, so the package alone says nothing.
define install-command
	@command -v $(1) >/dev/null 2>&1 || { \
	  if ! command -v apt-get >/dev/null 2>&1; then \
	    echo "Missing command $(1) - please install $(2) (see README.md)."; exit 1; \
	  fi; \
	  echo "Installing missing package: $(2)"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $(2); \
	}
endef

deps:
	$(call install-missing,$(PACKAGES))

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Builds only the program (not every test) and starts it.
run: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS) --target quarzel
	./$(BUILD_DIR)/quarzel

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	$(call install-missing,$(BENCH_PACKAGES))
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DQUARZEL_BUILD_BENCH=ON -DQUARZEL_BUILD_TESTS=OFF \
	  -DQUARZEL_BUILD_UI=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target checker_bench machine_bench desktop_bench grade_bench
	@python3 bench/report.py $(BENCH_DIR)/bench

# Every test once more, built with AddressSanitizer and UndefinedBehaviorSanitizer: the core,
# the headless runner and the window tests (on the offscreen platform; Qt itself is not
# instrumented, so a report points at our own code or at how it uses Qt).
sanitize: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUARZEL_SANITIZE=ON -DQUARZEL_BUILD_UI=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# Every fuzzer for FUZZ_SECONDS seconds (60 by default), starting from the seeds in
# fuzz/corpus; what a fuzzer finds new is kept in $(FUZZ_DIR)/corpus, findings in $(FUZZ_DIR)/findings.
fuzz: deps
	$(call install-missing,clang libclang-rt-dev)
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARZEL_FUZZ=ON \
	  -DQUARZEL_BUILD_UI=OFF -DQUARZEL_BUILD_TESTS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@set -e; for f in $(FUZZ_DIR)/fuzz/*_fuzz; do \
	  name=$$(basename $$f); mkdir -p $(FUZZ_DIR)/corpus/$$name $(FUZZ_DIR)/findings; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/findings/$$name- \
	    $(FUZZ_DIR)/corpus/$$name fuzz/corpus/$$name 2>&1 | grep -E '^(stat::|==|broken|SUMMARY)' || true; \
	  ! ls $(FUZZ_DIR)/findings/$$name-* >/dev/null 2>&1 || { echo "$$name found a problem:"; ls $(FUZZ_DIR)/findings/$$name-*; exit 1; }; \
	done

# A Debian package of the program, the runner, the desktop entry, the icon and the examples.
package: deps
	$(call install-missing,dpkg-dev file)
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DQUARZEL_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB
	@ls $(PACKAGE_DIR)/*.deb

# The Windows build, proven under Wine: the MinGW-w64 cross compiler builds GoogleTest (from
# Debian's source package), the core, the headless tools and their tests, statically linked;
# every core, runner and golden-program test then runs under Wine in a private prefix inside
# $(WINDOWS_DIR). The Wine server is started first and kept alive for the whole run, so the
# tests do not each start and stop one. Now and then Wine fails to start a process at all (no
# output, gone within a tenth of a second, about once in eight runs of the suite), so each test
# gets one more try here; the same tests run without that on Linux.
WINDOWS_PACKAGES = g++-mingw-w64-x86-64-posix wine wine64 googletest
WINDOWS_TOOLCHAIN = $(CURDIR)/cmake/mingw-w64-x86_64.cmake

windows-test: deps
	$(call install-missing,$(WINDOWS_PACKAGES))
	cmake -S /usr/src/googletest -B $(WINDOWS_DIR)/googletest -DCMAKE_TOOLCHAIN_FILE=$(WINDOWS_TOOLCHAIN) \
	  -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX=$(CURDIR)/$(WINDOWS_DIR)/googletest-install
	cmake --build $(WINDOWS_DIR)/googletest -j $(JOBS) --target install
	cmake -S . -B $(WINDOWS_DIR)/quarzel -DCMAKE_TOOLCHAIN_FILE=$(WINDOWS_TOOLCHAIN) \
	  -DCMAKE_BUILD_TYPE=Release -DQUARZEL_BUILD_UI=OFF \
	  -DGTest_DIR=$(CURDIR)/$(WINDOWS_DIR)/googletest-install/lib/cmake/GTest
	@set -e; \
	export WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/quarzel/wineprefix WINEDEBUG=-all; \
	mkdir -p "$$WINEPREFIX"; wineserver -p; \
	trap 'wineserver -k || true' EXIT; \
	wine wineboot --init; \
	cmake --build $(WINDOWS_DIR)/quarzel -j $(JOBS); \
	cd $(WINDOWS_DIR)/quarzel && ctest --output-on-failure -j $(JOBS) --repeat until-pass:2

# The core as WebAssembly, proven under Node as the Windows build is under Wine: Emscripten
# builds GoogleTest (from Debian's source package), the core, quarzel-run, quarzel-grade and
# every test of the build without the window, linked to run under Node on the real file system
# (cmake/emscripten-node.cmake); CTest runs each through node. A native quarzel-run is built
# beside them for the differential test, which compares the two on random programs.
# Emscripten's JavaScript optimizer finds Debian's acorn only through NODE_PATH.
WEB_TEST_PACKAGES = cmake make g++ libtomlplusplus-dev emscripten googletest
WEB_TOOLCHAIN = $(CURDIR)/cmake/emscripten-node.cmake

web-core-test:
	$(call install-missing,$(WEB_TEST_PACKAGES))
	@set -e; export NODE_PATH=/usr/share/nodejs$${NODE_PATH:+:$$NODE_PATH}; \
	cmake -S . -B $(WEB_TEST_DIR)/native -DCMAKE_BUILD_TYPE=Release -DQUARZEL_BUILD_UI=OFF \
	  -DQUARZEL_BUILD_TESTS=OFF; \
	cmake --build $(WEB_TEST_DIR)/native -j $(JOBS) --target quarzel-run; \
	cmake -S /usr/src/googletest -B $(WEB_TEST_DIR)/googletest -DCMAKE_TOOLCHAIN_FILE=$(WEB_TOOLCHAIN) \
	  -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON \
	  -DCMAKE_CXX_FLAGS=-fexceptions -DCMAKE_INSTALL_PREFIX=$(CURDIR)/$(WEB_TEST_DIR)/googletest-install; \
	cmake --build $(WEB_TEST_DIR)/googletest -j $(JOBS) --target install; \
	cmake -S . -B $(WEB_TEST_DIR)/quarzel -DCMAKE_TOOLCHAIN_FILE=$(WEB_TOOLCHAIN) \
	  -DCMAKE_BUILD_TYPE=Release -DQUARZEL_BUILD_UI=OFF \
	  -DGTest_DIR=$(CURDIR)/$(WEB_TEST_DIR)/googletest-install/lib/cmake/GTest \
	  -DQUARZEL_NATIVE_RUN=$(CURDIR)/$(WEB_TEST_DIR)/native/quarzel-run; \
	cmake --build $(WEB_TEST_DIR)/quarzel -j $(JOBS); \
	cd $(WEB_TEST_DIR)/quarzel && ctest --output-on-failure -j $(JOBS)

# The page: $(WEB_DIR)/quarzel.html, one file with the page's script, its style, the icons and
# the core compiled to WebAssembly, opened from disk or any web server without installing.
# Debian's emscripten compiles the core (with the task files' TOML parser, header-only); the
# page's npm packages come from web/package-lock.json. Emscripten's JS optimizer finds its
# modules only through NODE_PATH.
WEB_PACKAGES = emscripten cmake make libtomlplusplus-dev
web:
	$(call install-missing,$(WEB_PACKAGES))
	$(call install-command,npm,npm)
	cd web && npm ci --no-audit --no-fund --loglevel=error
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_DIR)/core -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DQUARZEL_BUILD_UI=OFF -DQUARZEL_BUILD_TESTS=OFF -DQUARZEL_BUILD_TOOLS=OFF
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_DIR)/core -j $(JOBS) --target quarzel_web
	node web/build.mjs $(WEB_DIR)/core/quarzel_web.js $(WEB_DIR)/quarzel.html

# The page's scenarios in three engines, each control found by its accessible name: Debian's
# Chromium (headless, DevTools protocol) and Firefox ESR (headless, WebDriver BiDi), both through
# puppeteer-core, and WebKitGTK's MiniBrowser (WebKitWebDriver through selenium-webdriver, on a
# virtual X display); one run per engine, each test named with its engine, its time printed; a
# test that hangs fails after five minutes instead of stopping CI. A test file that fails is run
# once more: failing twice fails the target, passing the second time is named as unsteady in the
# summary at the end (scenarios/run_engines.mjs), which comes last, so that the end of CI's log
# names what failed.
# Before them, the build's check of the boundary between page and core on deliberately changed
# copies of its lists (web/tests). The native export that the page's export must equal comes from
# tests/webpage, the grades that the page's "Aufgabe" must show from quarzel-grade, the protocol
# that the page's CSV export must equal from quarzel-run --trace.
WEB_PAGE_ENGINES ?= chromium firefox webkit
WEB_PAGE_PACKAGES = chromium firefox-esr webkit2gtk-driver libgl1-mesa-dri xvfb xauth
web-page-test: web deps
	$(call install-missing,$(WEB_PAGE_PACKAGES))
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target html_reference quarzel-grade quarzel-run
	@cd web; export QUARZEL_HTML_REFERENCE=$(CURDIR)/$(BUILD_DIR)/tests/webpage/html_reference \
	  QUARZEL_GRADE=$(CURDIR)/$(BUILD_DIR)/quarzel-grade QUARZEL_RUN=$(CURDIR)/$(BUILD_DIR)/quarzel-run; failed=""; \
	node --test tests/ || failed="$$failed boundary-check"; \
	node scenarios/run_engines.mjs $(WEB_PAGE_ENGINES) || failed="$$failed scenarios"; \
	if [ -n "$$failed" ]; then echo "web-page-test failed in:$$failed"; exit 1; fi

# Everything the browser brings: the core's tests under Node and the page in three engines.
web-test: web-core-test web-page-test

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(PACKAGE_DIR) $(WINDOWS_DIR) $(WEB_DIR) \
	  $(WEB_TEST_DIR)
