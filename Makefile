# `make run` and `make test` do all the set-up on a fresh Debian 12 machine.

PACKAGES := cmake ninja-build g++ make pkg-config qt6-base-dev qt6-qpa-plugins \
            libgtest-dev libgmock-dev libbenchmark-dev clang-format python3
RELEASE_DIR := build/release
TEST_DIR := build/asan
BENCH_DIR := build/bench
JOBS ?= $(shell nproc)
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps build run test bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

$(RELEASE_DIR)/build.ninja: | deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRWQ_BUILD_TESTS=OFF

$(TEST_DIR)/build.ninja: | deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Asan

$(BENCH_DIR)/build.ninja: | deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRWQ_BUILD_TESTS=OFF -DRWQ_BUILD_BENCH=ON

build: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	$(RELEASE_DIR)/bin/rw-m52-q

test: deps $(TEST_DIR)/build.ninja
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps $(BENCH_DIR)/build.ninja
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $(BENCH_DIR)/bin/bench_*; do [ -x "$$b" ] || continue; echo "== $$b"; $$b || exit 1; done

clean:
	rm -rf build
