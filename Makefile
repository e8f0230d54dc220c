# A thin layer over CMake. Every target first installs the Debian packages
# that are missing (as root, or through sudo).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PACKAGES    = cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev fonts-ipafont-gothic

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

demo: build
	./$(BUILD)/tavo build examples/sample.csv --mm --utf8 -o $(BUILD)/sample.jwc
	./$(BUILD)/tavo info $(BUILD)/sample.jwc
	./$(BUILD)/tavo dump --utf8 $(BUILD)/sample.jwc

bench: build
	./$(BUILD)/bench/jwc_bench
	./$(BUILD)/bench/export_bench
	./$(BUILD)/bench/export_drawing_bench
	./$(BUILD)/bench/viewer_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
