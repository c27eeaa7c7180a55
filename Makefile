# The two README commands. Each installs what is missing, configures and builds into build/,
# then runs its job. Programs and the files that ship with them end up in build/bin/.

PRESET ?= release
BUILD  := build
SAMPLE := examples/house/house.mqo

.PHONY: all deps build demo test bench clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

demo: build
	$(BUILD)/bin/vantor-cli info $(SAMPLE)
	$(BUILD)/bin/vantor-cli publish $(SAMPLE) --settings examples/house/house.vsn --fit --out out
	@echo "To look at the package, serve the folder over HTTP:"
	@echo "  (cd out && python3 -m http.server 8000)  then open http://127.0.0.1:8000/house.html"

test: build
	ctest --preset $(PRESET)

# The page benchmark (bench/page) loads published pages in headless Chromium; BASELINE=DIR also
# measures the viewer (vtr.jar) of another build's program folder.
bench: build
	$(BUILD)/bench/vantor-bench
	node bench/wasm-read.mjs $(BUILD)
	VANTOR_BIN_DIR=$(BUILD)/bin VANTOR_CLI=$(BUILD)/bin/vantor-cli node bench/page/PageBench.mjs $(if $(BASELINE),--baseline $(BASELINE))

clean:
	rm -rf $(BUILD) out
