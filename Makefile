# Zorbex: `make run` builds and starts the game, `make test` builds and runs every test,
# `make fuzz` builds the fuzz targets with clang and runs each for FUZZ_SECONDS.
JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_DIR ?= build-test

.PHONY: run game build test deps bench fuzz clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The game alone: no test or benchmark is built for a run.
game: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target zorbex

run: game
	cd $(BUILD_DIR) && ./zorbex $(ARGS)

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DZX_SANITIZE=ON -DZX_BENCHMARKS=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	cd $(BUILD_DIR) && for b in bench_*; do [ -x "$$b" ] && ./$$b; done; true

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR)
