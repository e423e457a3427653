# The two commands of the README: `make play` and `make test`.
BUILD_DIR ?= build
SAN_DIR ?= build-sanitize
WEB_DIR ?= build-web
WEB_PORT ?= 8030
SERVER_PORT ?= 29030
CMAKE_FLAGS ?=
# Debian's Emscripten runs its optimiser under the machine's Node, which does
# not look in Debian's module folder by itself.
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs

PREFIX ?= /usr/local

.PHONY: all deps build play server test check-release bench fuzz contact-sheet lint format clean \
	install uninstall package web web-build web-serve web-figures

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DQUARNEX_WEB_DIR=$(abspath $(WEB_DIR)) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

play: build
	$(BUILD_DIR)/app/quarnex

# The match server from the checkout, serving the browser page (the web
# build's page/ folder): browsers open http://HOST:SERVER_PORT/, desktops and
# the simulator use --server HOST:SERVER_PORT (UDP on the same port number).
server: build web
	$(BUILD_DIR)/server/quarnex-server --port $(SERVER_PORT) --web $(WEB_DIR)/page

# Installs the game, its launcher, icons and metainfo under PREFIX (sudo for
# /usr/local); the list of installed files is kept for `make uninstall`.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)
	cp $(BUILD_DIR)/install_manifest.txt $(BUILD_DIR)/installed-files.txt

uninstall:
	@test -f $(BUILD_DIR)/installed-files.txt || { echo "nothing installed from $(BUILD_DIR)"; exit 1; }
	xargs -d '\n' rm -f < $(BUILD_DIR)/installed-files.txt
	rm -f $(BUILD_DIR)/installed-files.txt

# The Debian packages, in $(BUILD_DIR): quarnex (the desktop game) and
# quarnex-server (the match server with the web build's page); lintian's
# findings follow if it is there.
package: build web-build
	cd $(BUILD_DIR) && cpack -G DEB
	@if command -v lintian >/dev/null; then \
	  lintian --pedantic $(BUILD_DIR)/quarnex_2.00_*.deb $(BUILD_DIR)/quarnex-server_2.00_*.deb || true; fi

# Every test, in a build with AddressSanitizer and UndefinedBehaviorSanitizer
# (optimised lightly so the long soak runs stay quick); the browser version's
# tests use the web build.
test: deps
	cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUARNEX_SANITIZE=ON \
	  -DQUARNEX_BENCH=OFF -DQUARNEX_WEB_DIR=$(abspath $(WEB_DIR)) $(CMAKE_FLAGS)
	cmake --build $(SAN_DIR)
	$(MAKE) --no-print-directory web-build
	cd $(SAN_DIR) && ctest --output-on-failure -j2

# The browser version in $(WEB_DIR): the page in $(WEB_DIR)/page (index.html,
# its scripts, quarnex.js and quarnex.wasm, named after their content, with
# brotli and gzip copies), the only folder to serve; and the simulator for
# Node ($(WEB_DIR)/quarnex-sim.js).
web: deps web-build

# Optimised for size (-Os): the page's download is what a player waits for,
# and the game's speed does not show (make web-figures measures both).
web-build:
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_DIR) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DQUARNEX_APP=OFF -DQUARNEX_BENCH=OFF
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_DIR)

# Serves the browser version on 127.0.0.1 (WEB_PORT=0 picks a free port).
web-serve: web
	python3 web/serve.py --port $(WEB_PORT) $(WEB_DIR)/page

# Size of the page (raw, gzip, brotli; what the first frame needs), what a
# first and a repeat visit transfer, its load-to-first-frame time and CPU
# while playing in headless Chromium.
web-figures: web
	node tests/web/measure-page.mjs $(WEB_DIR)/page

# The same tests in the optimised build that `make play` runs.
check-release: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2

bench: build
	@for b in $(BUILD_DIR)/bench/bench_* $(BUILD_DIR)/bench/app/bench_*; do echo "== $$b"; $$b; done

FUZZ_SECONDS ?= 180

# Fuzzes the bitmap decoder, the network packet decoder, the replay
# reader and the match server's frame handling (libFuzzer, clang,
# ASan+UBSan) for FUZZ_SECONDS seconds each, starting from hand-made seed files; the corpora grow in build-fuzz.
fuzz:
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DQUARNEX_FUZZ=ON -DQUARNEX_APP=OFF -DQUARNEX_BENCH=OFF
	cmake --build build-fuzz --target fuzz_decode_bitmap fuzz_bitmap_seeds fuzz_decode_packet \
	  fuzz_packet_seeds fuzz_read_replay fuzz_replay_seeds fuzz_match_server fuzz_match_seeds
	mkdir -p build-fuzz/corpus build-fuzz/packet-corpus
	build-fuzz/fuzz/fuzz_bitmap_seeds build-fuzz/corpus
	build-fuzz/fuzz/fuzz_decode_bitmap -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
	  -artifact_prefix=build-fuzz/ build-fuzz/corpus
	build-fuzz/fuzz/fuzz_packet_seeds build-fuzz/packet-corpus
	build-fuzz/fuzz/fuzz_decode_packet -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	  -artifact_prefix=build-fuzz/packet- build-fuzz/packet-corpus
	mkdir -p build-fuzz/replay-corpus
	build-fuzz/fuzz/fuzz_replay_seeds build-fuzz/replay-corpus
	build-fuzz/fuzz/fuzz_read_replay -max_total_time=$(FUZZ_SECONDS) -max_len=16384 \
	  -artifact_prefix=build-fuzz/replay- build-fuzz/replay-corpus
	mkdir -p build-fuzz/match-corpus
	build-fuzz/fuzz/fuzz_match_seeds build-fuzz/match-corpus
	build-fuzz/fuzz/fuzz_match_server -max_total_time=$(FUZZ_SECONDS) -max_len=8192 \
	  -artifact_prefix=build-fuzz/match- build-fuzz/match-corpus

contact-sheet: build
	$(BUILD_DIR)/tools/artgen/quarnex-artgen --contact-sheet $(BUILD_DIR)/contact-sheet.png

# clang-tidy (.clang-tidy: any finding fails) over every source of the
# native build, with the optimised build's compile commands: the files of
# its compile_commands.json in the folders below (the match server
# included). The Emscripten-only files (emscripten.h) are in the browser
# build alone, so they are left out.
LINT_FILES := ^$(CURDIR)/(common|gfx|ships|meteor|panel|game|replay|net|server|web|app|tools/[a-z]+)/[^/]+\.cpp$$
lint: build
	@command -v run-clang-tidy >/dev/null || { echo "make lint needs Debian's clang-tidy"; exit 1; }
	run-clang-tidy -p $(BUILD_DIR) -quiet -j2 '$(LINT_FILES)'

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(WEB_DIR)
