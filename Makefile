# Set-up and everyday commands; see README.md.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

.PHONY: all deps configure build test run bench clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# Starts the host; without a display ($DISPLAY and $WAYLAND_DISPLAY empty)
# under a virtual X server.
run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display: running vesktools under xvfb-run -a"; \
	  xvfb-run -a $(BUILD)/bin/vesktools; \
	else \
	  $(BUILD)/bin/vesktools; \
	fi

# Every window that exists, rendered offscreen at 96 and at 120 dots per
# inch to $(BUILD)/screenshots/96dpi/*.png and .../120dpi/*.png, each run
# with a program folder and runtime folder of its own. The folder is named
# absolutely: the host works in its program folder.
.PHONY: screenshots
screenshots: build
	@rm -rf $(BUILD)/screenshots
	@out=$$(cd $(BUILD) && pwd)/screenshots && \
	for dpi in 96 120; do \
	  home=$$(mktemp -d) && runtime=$$(mktemp -d) && \
	  QT_QPA_PLATFORM=offscreen QT_FONT_DPI=$$dpi VESK_NONINTERACTIVE=1 VESK_HOME=$$home \
	    XDG_RUNTIME_DIR=$$runtime $(BUILD)/bin/vesktools --screenshots $$out/$${dpi}dpi; \
	  status=$$?; rm -rf "$$home" "$$runtime"; [ $$status -eq 0 ] || exit $$status; \
	done

# Installs into $(PREFIX) (DESTDIR puts the tree under a staging folder);
# uninstall removes what the last install wrote; package builds the Debian
# package $(BUILD)/vesktools_<version>_<arch>.deb.
.PHONY: install uninstall package
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	cmake --build $(BUILD) --target uninstall

package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

clean:
	rm -rf $(BUILD)
