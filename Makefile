# Zorbex: `make run` builds and starts the game, `make test` builds and runs every test.
JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_DIR ?= build-test

.PHONY: run build test deps bench clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./zorbex $(ARGS)

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DZX_SANITIZE=ON -DZX_BENCHMARKS=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	cd $(BUILD_DIR) && for b in bench_*; do [ -x "$$b" ] && ./$$b; done; true

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR)
