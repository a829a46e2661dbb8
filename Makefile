# Thin wrapper: install the Debian packages, configure, build, run and test.
# `make run` and `make test` work on a fresh Debian 12 machine (root, or a user with sudo).

BUILD_DIR ?= build
SAN_DIR   ?= build-asan
CLANG_DIR ?= build-clang
# Compiler warnings fail the build in every target below (CI relies on it); `make build WERROR=OFF`
# keeps them as warnings while a change is in progress.
WERROR    ?= ON
JOBS      ?= $(shell nproc)
SUDO      := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

DEB_PACKAGES := build-essential cmake ninja-build pkg-config \
	qt6-base-dev qt6-serialport-dev qt6-charts-dev qt6-svg-dev qt6-translations-l10n \
	libqt6sql6-sqlite libqt6sql6-psql postgresql \
	ccache libgtest-dev libgmock-dev xvfb xauth locales clang libclang-rt-14-dev clang-tidy \
	lintian desktop-file-utils appstream

NOGUI_DIR ?= build-nogui
# The tests of the command-line tool, the simulator and what they draw and keep on disk.
NOGUI_TESTS := test_cli test_sim test_e2e test_render test_files

.PHONY: deps configure build run test test-asan test-clang tidy fuzz test-nogui package package-check clean

deps:
	@missing=$$(for p in $(DEB_PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi
	@# The locale tests run under the Italian locale (a decimal comma in the C library).
	@locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$$' || { \
	  $(SUDO) sed -i 's/^# *it_IT.UTF-8/it_IT.UTF-8/' /etc/locale.gen && $(SUDO) locale-gen; }

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_WERROR=$(WERROR)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./scripts/run.sh $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_WERROR=$(WERROR)
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && ASAN_OPTIONS=detect_leaks=1 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The suite built by the second compiler, clang, with its own warnings (a Debug build: clang's
# warnings do not depend on the optimiser, and it compiles fastest). The real-time and
# PostgreSQL tests are left out to keep CI short: they test timing and a database server,
# which the gcc run already covers, not what the compiler made of the code.
$(CLANG_DIR)/build.ninja:
	cmake -S . -B $(CLANG_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	      -DVANTREL_WERROR=$(WERROR) -DCMAKE_EXPORT_COMPILE_COMMANDS=ON

test-clang: deps $(CLANG_DIR)/build.ninja
	cmake --build $(CLANG_DIR) -j $(JOBS)
	cd $(CLANG_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE 'realtime|postgres'

# clang-tidy with the checks of .clang-tidy over the program's sources (src/ and its headers),
# on the clang build's compile commands; any finding fails. The build comes first, because
# some sources include files made at build time.
tidy: deps $(CLANG_DIR)/build.ninja
	cmake --build $(CLANG_DIR) -j $(JOBS)
	run-clang-tidy -p $(CLANG_DIR) -j $(JOBS) -quiet -header-filter='^$(CURDIR)/src/' '^$(CURDIR)/src/'

# The libFuzzer targets, built with clang in build-fuzz/, each run for a fixed number of inputs.
fuzz: deps
	JOBS=$(JOBS) ./scripts/fuzz.sh

# The command-line tool and the simulator without the desktop program (no Qt Widgets, no
# Qt Charts): what a headless production machine builds. Only their tests run here.
test-nogui: deps
	cmake -S . -B $(NOGUI_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_BUILD_GUI=OFF \
	      -DVANTREL_WERROR=$(WERROR)
	cmake --build $(NOGUI_DIR) -j $(JOBS) --target vantrel-cli vantrel-sim $(NOGUI_TESTS)
	cd $(NOGUI_DIR) && ctest --output-on-failure -j $(JOBS) -L 'unit|flow|realtime'

# The Debian packages (build/vantrel-cli_*.deb, build/vantrel_*.deb).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# The packages built and checked: lintian, desktop-file-validate, appstreamcli, file lists.
package-check: build
	./scripts/check-package.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(CLANG_DIR) build-fuzz $(NOGUI_DIR)
