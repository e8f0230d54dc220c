# A thin layer over CMake. Every target first installs the Debian packages
# that are missing (as root, or through sudo).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PACKAGES    = cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev

.PHONY: all deps build build-asan test demo bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
	  $$sudo apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAVO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The main job: the bundled worksheet exported with the factory settings to a
# .jwc file and to a JWW coordinate file.
demo: build
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	TAVO_SETTINGS_DIR=$(BUILD)/demo/settings ./$(BUILD)/tavo export examples/sheet.csv --utf8 -o $(BUILD)/demo/sheet.jwc
	TAVO_SETTINGS_DIR=$(BUILD)/demo/settings ./$(BUILD)/tavo export examples/sheet.csv --utf8 -o $(BUILD)/demo/sheet.txt
	./$(BUILD)/tavo info $(BUILD)/demo/sheet.jwc
	@echo "--- $(BUILD)/demo/sheet.txt (JWW coordinate file, first lines, shown as UTF-8)"
	@head -n 24 $(BUILD)/demo/sheet.txt | iconv -f CP932 -t UTF-8 | tr -d '\r'
	@echo "--- JWT text of $(BUILD)/demo/sheet.jwc (first lines)"
	@./$(BUILD)/tavo jwt $(BUILD)/demo/sheet.jwc | head -n 8 | iconv -f CP932 -t UTF-8 | tr -d '\r'

bench: build
	./$(BUILD)/bench/jwc_bench
	./$(BUILD)/bench/export_bench
	./$(BUILD)/bench/export_drawing_bench
	./$(BUILD)/bench/number_format_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
