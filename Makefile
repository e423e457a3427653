# The two commands of the README: `make play` and `make test`.
BUILD_DIR ?= build
SAN_DIR ?= build-sanitize
CMAKE_FLAGS ?=

.PHONY: all deps build play test check-sanitize bench fuzz contact-sheet format clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

play: build
	$(BUILD_DIR)/app/quarnex

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2
	$(MAKE) --no-print-directory check-sanitize

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
check-sanitize: deps
	cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUARNEX_SANITIZE=ON \
	  -DQUARNEX_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(SAN_DIR)
	cd $(SAN_DIR) && ctest --output-on-failure -j2

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; $$b; done

contact-sheet: build
	$(BUILD_DIR)/tools/artgen/quarnex-artgen --contact-sheet $(BUILD_DIR)/contact-sheet.png

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR)
