# Zorbex: `make run` builds and starts the game, `make test` builds and runs every test,
# `make service` builds the local web service alone, `make fuzz` builds the fuzz targets
# with clang and runs each for FUZZ_SECONDS, `make shots` pictures every screen at each window shape
# into $(BUILD_DIR)/shots.
JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_DIR ?= build-test
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
# Targets run side by side, and a part of their names to pick some.
FUZZ_JOBS ?= 1
FUZZ_TARGETS ?=

.PHONY: run game service build test deps bench fuzz shots clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The game alone: no test or benchmark is built for a run.
game: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target zorbex

# The local web service the tests use, for playing online on this machine:
# $(BUILD_DIR)/tests/zx_local_service <settings file>.
service: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target zx_local_service

run: game
	cd $(BUILD_DIR) && ./zorbex $(ARGS)

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DZX_SANITIZE=ON -DZX_BENCHMARKS=OFF
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# The fuzz targets, built with clang, each run for FUZZ_SECONDS (not part of `make test`).
fuzz:
	@bash scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZX_SANITIZE=ON -DZX_FUZZ=ON -DZX_TESTS=OFF -DZX_BENCHMARKS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target zx_fuzz
	bash tests/fuzz/runFuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_JOBS) "$(FUZZ_TARGETS)"

# The real game under Xvfb visits every screen at 1280 x 720, 1280 x 800 and 1024 x 768:
# $(BUILD_DIR)/shots/<shape>/<screen>.png and $(BUILD_DIR)/shots/index.html (not part of `make test`).
shots: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target zorbex zx_local_service zx_make_music_folder
	bash tools/shots/shots.sh $(abspath $(BUILD_DIR))/zorbex $(abspath $(BUILD_DIR))/tests/zx_local_service \
	  $(abspath $(BUILD_DIR))/data $(abspath $(BUILD_DIR))/shots

bench: build
	cd $(BUILD_DIR) && for b in bench_*; do [ -x "$$b" ] && ./$$b; done; true

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR) $(FUZZ_DIR)
