# `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
# `make fuzz` runs every libFuzzer target for FUZZ_SECONDS each.

PACKAGES := cmake ninja-build g++ make pkg-config qt6-base-dev qt6-qpa-plugins \
            libgtest-dev libgmock-dev libbenchmark-dev clang-format python3
RELEASE_DIR := build/release
TEST_DIR := build/asan
BENCH_DIR := build/bench
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := $(sort $(patsubst bench/fuzz/%_fuzz.cpp,%,$(wildcard bench/fuzz/*_fuzz.cpp)))
JOBS ?= $(shell nproc)
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: all deps fuzz-deps build run test bench fuzz clean

all: build

# Installs the packages of the list given as $(1) that are missing.
define install-missing
	@missing=""; \
	for p in $(1); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

fuzz-deps:
	$(call install-missing,$(FUZZ_PACKAGES))

$(RELEASE_DIR)/build.ninja: | deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRWQ_BUILD_TESTS=OFF

$(TEST_DIR)/build.ninja: | deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Asan

$(BENCH_DIR)/build.ninja: | deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRWQ_BUILD_TESTS=OFF -DRWQ_BUILD_BENCH=ON

$(FUZZ_DIR)/build.ninja: | deps fuzz-deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Asan -DRWQ_BUILD_TESTS=OFF \
	  -DRWQ_BUILD_BENCH=ON -DRWQ_BUILD_FUZZ=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link

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

# Each target starts from a scratch copy of its committed seeds, if it has any
# (the seeds never grow), with the extra flags of bench/fuzz/NAME_fuzz.flags; a finding is kept
# under $(FUZZ_DIR)/findings/ and fails the run once every target has had its turn.
fuzz: deps fuzz-deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZ_TARGETS))
	@failed=""; \
	for t in $(FUZZ_TARGETS); do \
	  corpus=$(FUZZ_DIR)/scratch/$$t; findings=$(FUZZ_DIR)/findings/$$t; \
	  rm -rf $$corpus && mkdir -p $$corpus $$findings; \
	  if [ -d bench/fuzz/corpus/$$t ]; then cp bench/fuzz/corpus/$$t/* $$corpus/; fi; \
	  flags=$$(cat bench/fuzz/$${t}_fuzz.flags 2>/dev/null); \
	  echo "== $$t: $(FUZZ_SECONDS) s"; \
	  if $(FUZZ_DIR)/bin/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	       -artifact_prefix=$$findings/ $$flags $$corpus > $(FUZZ_DIR)/$$t.log 2>&1; then result="no finding"; \
	  else result="FINDING, see $(FUZZ_DIR)/$$t.log and $$findings/"; failed="$$failed $$t"; fi; \
	  execs=$$(sed -n 's/^stat::average_exec_per_sec: *//p' $(FUZZ_DIR)/$$t.log); \
	  echo "$$t: $${execs:-?} executions per second, $$result"; \
	done; \
	if [ -n "$$failed" ]; then echo "Fuzzing found faults in:$$failed"; exit 1; fi

clean:
	rm -rf build
