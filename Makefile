# A thin layer over CMake. Every target first installs the Debian packages
# that are missing (as root, or through sudo).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PACKAGES    = cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev fonts-ipafont-gothic \
              python3 xvfb xauth xdotool xclip liborcus-dev libxlsxwriter-dev libreoffice-calc-nogui python3-openpyxl \
              fonts-crosextra-carlito python3-ezdxf librecad libdxflib-dev poppler-utils python3-uno help2man locales
WIN32_BUILD ?= build-win32
WIN64_BUILD ?= build-win64
WIN_PACKAGES = cmake make python3 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 \
               binutils-mingw-w64-x86-64 googletest wine64 locales
FUZZ_BUILD ?= build-fuzz
# A compile database with one entry per Windows source for clang-tidy
# (configured only; the builds compile each library in a few large units).
TIDY_WIN64_BUILD ?= build-tidy-win64
FUZZ_SECONDS ?= 60
FUZZ_RUNS  ?= 10000000
VALGRIND_TESTS = base_test runtime_format_test jwc_test jwc_audit_test profile_file_test settings_test export_test jwt_test \
                 dxf_test interface_test save_fault_test file_save_test viewer_test forms_test workbook_test
FUZZERS     = fuzz_jwc_reader:jwc fuzz_profile:ini fuzz_legacy_settings:dat fuzz_exports:exports fuzz_xlsx:workbook \
              fuzz_ods:workbook

.PHONY: all deps deps-all install-packages build build-asan test demo bench fuzz check-static clean windows test-windows coverage

all: build

deps:
	@$(MAKE) --no-print-directory install-packages NEED="$(PACKAGES)"

# Everything CI needs, in one apt run (one index update, one round of triggers).
STATIC_PACKAGES = clang-tidy cppcheck valgrind
deps-all:
	@$(MAKE) --no-print-directory install-packages NEED="$(PACKAGES) $(WIN_PACKAGES) $(STATIC_PACKAGES)"

install-packages:
	@missing=""; \
	for p in $(NEED); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
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

# tavo.dll for 32-bit (build-win32/) and 64-bit (build-win64/) Windows hosts,
# cross-built with MinGW-w64.
windows:
	@$(MAKE) --no-print-directory install-packages NEED="$(WIN_PACKAGES)"
	cmake -S . -B $(WIN32_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DTAVO_BUILD_BENCH=OFF
	cmake --build $(WIN32_BUILD) -j $(JOBS) --target tavo_shared
	cmake -S . -B $(WIN64_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DTAVO_BUILD_BENCH=OFF -DTAVO_LINUX_BUILD=$(abspath $(BUILD))
	cmake --build $(WIN64_BUILD) -j $(JOBS) --target tavo_shared

# The DLLs' tables and the host's declarations, the 64-bit tests under Wine,
# and the files a host writes through each DLL against the Linux library's.
test-windows: deps windows
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS) --target tavo_shared c_host tavo_cli config_script
	cmake --build $(WIN32_BUILD) -j $(JOBS)
	cmake --build $(WIN64_BUILD) -j $(JOBS)
	cd $(WIN32_BUILD) && ctest --output-on-failure
	cd $(WIN64_BUILD) && ctest --output-on-failure -j $(JOBS)

# The main job: the bundled workbook (examples/form.xlsx, a ruled form) read
# as the host reads a worksheet and exported with the factory settings (but
# filled cells as solids and superscripts as "^u") to a .jwc file and a JWW
# coordinate file, and drawn as the preview shows it.
demo: build
	rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo
	TAVO_SETTINGS_DIR=$(BUILD)/demo/settings ./$(BUILD)/tavo config set ExchangeSolid 1
	TAVO_SETTINGS_DIR=$(BUILD)/demo/settings ./$(BUILD)/tavo config set ExchangeCaret 1
	TAVO_SETTINGS_DIR=$(BUILD)/demo/settings ./$(BUILD)/tavo export examples/form.xlsx -o $(BUILD)/demo/form.jwc
	TAVO_SETTINGS_DIR=$(BUILD)/demo/settings ./$(BUILD)/tavo export examples/form.xlsx -o $(BUILD)/demo/form.txt
	TAVO_SETTINGS_DIR=$(BUILD)/demo/settings ./$(BUILD)/tavo render examples/form.xlsx -o $(BUILD)/demo/form.png
	./$(BUILD)/tavo info $(BUILD)/demo/form.jwc
	@echo "--- $(BUILD)/demo/form.txt (JWW coordinate file, first lines, shown as UTF-8)"
	@head -n 24 $(BUILD)/demo/form.txt | iconv -f CP932 -t UTF-8 | tr -d '\r'
	@echo "--- JWT text of $(BUILD)/demo/form.jwc (first lines)"
	@./$(BUILD)/tavo jwt $(BUILD)/demo/form.jwc | head -n 8 | iconv -f CP932 -t UTF-8 | tr -d '\r'
	@echo "--- $(BUILD)/demo/form.png: the drawing as the preview shows it"

bench: build
	./$(BUILD)/bench/jwc_bench
	./$(BUILD)/bench/audit_bench
	./$(BUILD)/bench/batch_bench
	./$(BUILD)/bench/save_bench
	./$(BUILD)/bench/export_bench
	./$(BUILD)/bench/export_drawing_bench
	./$(BUILD)/bench/dxf_bench
	./$(BUILD)/bench/runtime_format_bench
	./$(BUILD)/bench/viewer_bench
	./$(BUILD)/bench/workbook_bench
	./$(BUILD)/bench/excel_macro_bench

# Line and branch coverage of src/ by the tests, by folder (lcov), and the
# report in $(COV_BUILD)/coverage/index.html.
COV_BUILD ?= build-cov
coverage: deps
	@$(MAKE) --no-print-directory install-packages NEED="lcov"
	cmake -S . -B $(COV_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAVO_COVERAGE=ON -DTAVO_BUILD_BENCH=OFF
	cmake --build $(COV_BUILD) -j $(JOBS)
	lcov --quiet --zerocounters --directory $(COV_BUILD)
	cd $(COV_BUILD) && ctest -j $(JOBS) || true
	lcov --quiet --rc lcov_branch_coverage=1 --capture --directory $(COV_BUILD) --output-file $(COV_BUILD)/all.info 2>/dev/null
	lcov --quiet --rc lcov_branch_coverage=1 --extract $(COV_BUILD)/all.info "$(CURDIR)/src/*" --output-file $(COV_BUILD)/src.info
	genhtml --quiet --branch-coverage $(COV_BUILD)/src.info --output-directory $(COV_BUILD)/coverage
	python3 tests/coverage_by_folder.py $(COV_BUILD)/src.info $(CURDIR)/src

# libFuzzer targets (clang): each runs FUZZ_SECONDS or FUZZ_RUNS, whichever
# ends first; findings land in fuzz/corpus/<target>/, which the tests replay.
fuzz: deps
	@$(MAKE) --no-print-directory install-packages NEED="clang libclang-rt-14-dev"
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVO_FUZZ=ON \
	  -DTAVO_BUILD_TESTS=OFF -DTAVO_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(foreach f,$(FUZZERS),$(firstword $(subst :, ,$(f))))
	@for f in $(FUZZERS); do \
	  t=$${f%%:*}; d=$${f##*:}; mkdir -p $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t; \
	  echo "=== $$t"; \
	  ./$(FUZZ_BUILD)/fuzz/$$t $(FUZZ_BUILD)/corpus/$$t fuzz/seeds/$$t fuzz/corpus/$$t -dict=fuzz/dict/$$d.dict \
	    -max_total_time=$(FUZZ_SECONDS) -runs=$(FUZZ_RUNS) -rss_limit_mb=2560 -timeout=25 \
	    -artifact_prefix=fuzz/corpus/$$t/ -print_final_stats=1 || exit 1; \
	done

# clang-tidy (.clang-tidy) and cppcheck on the library, the command and the
# fuzz targets; valgrind's memcheck over the tests that need no display.
# clang-tidy reads the build's few large units: the std and Qt headers are read
# once a unit, not once a source (a third less time). The analyzer takes the
# sources a unit includes for headers and would skip their functions, unless
# told to analyze headers; the check against including a .cpp (all a unit
# does) gives way to a grep.
check-static: build
	@$(MAKE) --no-print-directory install-packages NEED="$(STATIC_PACKAGES)"
	@echo "=== clang-tidy"
	@! grep -rnE '^\s*#\s*include\s*".*\.cpp"' src fuzz || { echo "a source includes a .cpp file"; exit 1; }
	@.ci/tidy-sources $(BUILD)/compile_commands.json \
	  | xargs -P $(JOBS) -n 1 clang-tidy -p $(BUILD) --quiet --checks=-bugprone-suspicious-include \
	    --extra-arg=-Xclang --extra-arg=-analyzer-opt-analyze-headers 2>/dev/null
	@echo "=== clang-tidy (Windows sources, with the MinGW-w64 headers)"
	@$(MAKE) --no-print-directory install-packages NEED="$(WIN_PACKAGES)"
	@cmake -S . -B $(TIDY_WIN64_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DTAVO_BUILD_BENCH=OFF -DTAVO_UNITY=OFF > /dev/null
	@cxx=$$(x86_64-w64-mingw32-g++-posix -print-file-name=include)/c++; \
	ls src/*/win32*.cpp src/win32/*.cpp | sort -u | xargs -P $(JOBS) -n 4 clang-tidy -p $(TIDY_WIN64_BUILD) --quiet \
	  --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-isystem$$cxx --extra-arg=-isystem$$cxx/x86_64-w64-mingw32 \
	  2>/dev/null
	@echo "=== cppcheck"
	@cppcheck -j $(JOBS) --error-exitcode=1 --enable=warning,performance,portability --inline-suppr --quiet --std=c++17 \
	  --language=c++ -I src -I include --suppress=missingIncludeSystem src fuzz
	@echo "=== valgrind"
	@printf '%s\n' $(VALGRIND_TESTS) | xargs -P $(JOBS) -I{} sh -c '\
	  valgrind --error-exitcode=9 --leak-check=full --errors-for-leak-kinds=definite,indirect,possible --quiet \
	    --suppressions=tests/valgrind.supp ./$(BUILD)/tests/{} --gtest_brief=1 > $(BUILD)/valgrind-{}.log 2>&1 \
	  && echo "{}: clean" || { cat $(BUILD)/valgrind-{}.log; exit 255; }'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN32_BUILD) $(WIN64_BUILD) $(TIDY_WIN64_BUILD)
