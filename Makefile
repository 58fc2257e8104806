# make run:  installs what is missing, builds, starts Toviska.
# make test: installs what is missing, builds, runs every test headless; then builds and runs
#            the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#            (test-asan, in $(ASAN_BUILD)) and runs each fuzz target for a bounded time
#            (test-fuzz, clang, in $(FUZZ_BUILD)).
# make package: builds the Debian package $(BUILD)/toviska_<version>_<arch>.deb (see docs/install.md).
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 8
JOBS ?= $(shell nproc)
WERROR ?= OFF

.PHONY: deps configure build run test test-asan test-fuzz package clean

# Any sanitizer report ends the process with a failure, so the test that ran it fails.
# Leaks are checked; the suppressions file names third-party libraries only (see there).
SANITIZER_ENV = \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:print_stacktrace=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:report_error_type=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVISKA_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/toviska

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-asan
	$(MAKE) --no-print-directory test-fuzz

# The build runs the sanitized names.mdb builder, so it gets the sanitizer settings too.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTOVISKA_SANITIZE=ON -DTOVISKA_WERROR=$(WERROR)
	$(SANITIZER_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	$(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Only the fuzz targets are built in this tree; each runs FUZZ_SECONDS on a scratch copy of
# its seed corpus (fuzz/corpus/<target>/), so the repository is never written to.
test-fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVISKA_SANITIZE=ON -DTOVISKA_FUZZ=ON \
		-DTOVISKA_FUZZ_SECONDS=$(FUZZ_SECONDS) -DTOVISKA_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) --target toviska_fuzzers -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(FUZZ_BUILD) -L fuzz --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# The Debian package $(BUILD)/toviska_<version>_<arch>.deb, checked by lintian (errors fail).
package: build
	rm -f $(BUILD)/toviska_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/toviska_*.deb
