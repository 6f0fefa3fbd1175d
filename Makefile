# The entry points: `make run` and `make test` for everyone, the sanitizer
# runs for CI, `make bench` for the figures in the README, and
# `make install` / `make uninstall` to put Nodrel on a desktop.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
BENCH_BUILD ?= build-bench
RUN_DIR ?= run
JOBS ?= $(shell nproc)
PREFIX ?= $(HOME)/.local
DESTDIR ?=
MAKEFLAGS += --no-print-directory

.PHONY: deps build run test test-asan test-tsan bench clean install install-files uninstall

deps:
	@tools/install-deps.sh

# Checked: -O2 -g with the asserts left in (see CMakeLists.txt).
build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Checked >/dev/null
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

# The whole suite, display tests included, under AddressSanitizer and
# UndefinedBehaviorSanitizer. The build runs the skin generator, so it too
# runs sanitized. The kill test (ctest label "crash") looks at what reaches
# the disk, not at memory, and runs in `make test` alone.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
    LSAN_OPTIONS=suppressions=$(CURDIR)/tools/testing/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1 \
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Checked -DND_SANITIZE=address >/dev/null
	@$(SANITIZER_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -LE crash -j $(JOBS) \
	    --timeout 1800

# The tests that start threads (ctest label "threads") under ThreadSanitizer.
test-tsan: deps
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Checked -DND_SANITIZE=thread >/dev/null
	@$(SANITIZER_ENV) cmake --build $(TSAN_BUILD) -j $(JOBS) --target thread_tests
	@cd $(TSAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -L threads -j $(JOBS) \
	    --timeout 1800

# Benchmarks measure the Release build, without asserts, in a folder of
# their own.
bench: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BENCH_BUILD)/bench/*; do [ -x "$$b" ] && "$$b"; done

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(BENCH_BUILD)
