# The two entry points for a new user: `make run` and `make test`; and
# `make install` / `make uninstall` to put Nodrel on a desktop.
BUILD ?= build
RUN_DIR ?= run
JOBS ?= $(shell nproc)
PREFIX ?= $(HOME)/.local
DESTDIR ?=
MAKEFLAGS += --no-print-directory

.PHONY: deps build run test bench clean install install-files uninstall

deps:
	@tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The program directory is run/: nodrel keeps config.cfg, table.cfg and
# workspace/ in its current directory, and update replaces the program file
# beside itself, so both live there as copies, never in the build tree.
run: build
	@mkdir -p $(RUN_DIR)
	@cp -u $(BUILD)/app/nodrel $(BUILD)/update/update $(BUILD)/tools/nodrel-tool $(RUN_DIR)/
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    echo "nodrel is built in $(RUN_DIR)/, but it needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is set)."; \
	    echo "To try it without one:  cd $(RUN_DIR) && xvfb-run -a -s '-screen 0 1600x900x24' ./nodrel"; \
	else \
	    cd $(RUN_DIR) && exec ./nodrel; \
	fi

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900

bench: build
	@cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench/*; do [ -x "$$b" ] && "$$b"; done

# The program directory PREFIX/share/nodrel/ holds nodrel, update and
# nodrel-tool, and later config.cfg, table.cfg and workspace/; beside it go
# the desktop entry, the icons and a nodrel-tool link in PREFIX/bin
# (tools/desktop-install.sh lists them). DESTDIR stages the whole tree.
install: build
	@$(MAKE) install-files

# What `install` does after building, for a tree that is already built.
install-files:
	@DESTDIR="$(DESTDIR)" tools/desktop-install.sh install "$(abspath $(BUILD))" "$(PREFIX)"

# Removes exactly the installed files; settings and workspaces stay.
uninstall:
	@DESTDIR="$(DESTDIR)" tools/desktop-install.sh uninstall "$(PREFIX)"

clean:
	rm -rf $(BUILD)
