# Two commands set everything up: `make demo` and `make test`. Both install the Debian packages
# the build needs first.

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD_DIR ?= build-sanitize
CMAKE_FLAGS += -DORVELLA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD_DIR ?= build
endif
JOBS ?= $(shell nproc)
SAMPLE ?= tests/data/qxp/formatting.qxd
DEMO_PASTEBOARD ?= orvella-demo

PACKAGES := cmake ninja-build g++ pkg-config make libgtest-dev libgmock-dev \
	libqxp-dev libqxp-tools librevenge-dev libsqlite3-dev sqlite3 libpng-dev \
	libcairo2-dev libpango1.0-dev fonts-dejavu-core fonts-liberation2 librsvg2-bin \
	libplist-dev qt6-base-dev qt6-tools-dev libgl-dev xvfb xauth sudo util-linux passwd locales python3 \
	zlib1g-dev fontconfig bubblewrap tumbler dbus dbus-daemon libglib2.0-bin shared-mime-info xdg-utils \
	libkf5filemetadata-dev desktop-file-utils patchelf dpkg-dev file lintian appstream libglib2.0-dev \
	gtk-update-icon-cache hicolor-icon-theme polkitd pkexec python3-dbus python3-gi libsystemd-dev \
	libkf5kio-dev kio-extras gir1.2-gnomedesktop-3.0

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

PACKAGE_DIR ?= build-package

.PHONY: all deps build test test-package demo install-user install-system uninstall-user uninstall-system \
	package bench bench-thumbnails clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
	@# A locale with "," as its decimal mark, for the tests that numbers are read the same in all.
	@locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$$' || $(SUDO) localedef -i de_DE -f UTF-8 de_DE.UTF-8

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Every test; the plain run also builds the Debian package and puts it through apt (as root).
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
ifeq ($(SANITIZE),0)
	@if [ "$$(id -u)" = 0 ]; then $(MAKE) --no-print-directory test-package; \
	else echo "test-package skipped: installing a package with apt in a private root needs root"; fi
endif

demo: build
	@scripts/demo.sh "$(BUILD_DIR)" "$(SAMPLE)" "$(DEMO_PASTEBOARD)"

# Programs in PREFIX/bin, our libraries in PREFIX/lib/orvella, the bundles in ~/Library or /Library.
install-user: build
	cmake --install $(BUILD_DIR) --prefix "$$HOME/.local"

install-system: build
	cmake --install $(BUILD_DIR) --prefix /usr/local

# What the installs put there, and the uninstaller's own bundles; a skin.plist goes with its bundle.
uninstall-user:
	scripts/uninstall.sh "$$HOME/.local" "$$HOME/Library"

uninstall-system:
	scripts/uninstall.sh /usr/local /Library

# Debian packages for /usr, built in a folder of its own: dist/orvella_VERSION_ARCH.deb and, with
# KDE Frameworks 5's development files, KDE's thumbnail plugin in dist/orvella-kde_VERSION_ARCH.deb.
package: deps
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
	  -DORVELLA_DEBIAN_PACKAGE=ON
	cmake --build $(PACKAGE_DIR) -j $(JOBS) --target orvella-shipped
	cd $(PACKAGE_DIR) && cpack -G DEB -B "$(CURDIR)/dist"
	rm -rf dist/_CPack_Packages

# Builds the packages, installs and removes them with apt in a private root, and runs lintian on them.
test-package: package
	cmake --build $(PACKAGE_DIR) -j $(JOBS) --target kio-preview-probe
	PREVIEW_PROBE="$(CURDIR)/$(PACKAGE_DIR)/External/Foliotta.qlgenerator/KDE/tests/kio-preview-probe" \
	  tests/install/package-cycle.sh dist/orvella_*.deb dist/orvella-kde_*.deb

bench: build
	bench/run.sh "$(BUILD_DIR)"

bench-thumbnails: build
	bench/thumbnails.sh "$(BUILD_DIR)"

clean:
	rm -rf build build-sanitize $(PACKAGE_DIR) dist
