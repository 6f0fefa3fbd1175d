# The two entry points for a new user: `make run` and `make test`.
BUILD ?= build
RUN_DIR ?= run
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: deps build run test bench clean

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

clean:
	rm -rf $(BUILD)
