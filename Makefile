# make run:  installs what is missing, builds, starts Toviska.
# make test: installs what is missing, builds, runs every test headless.
BUILD ?= build
JOBS ?= $(shell nproc)
WERROR ?= OFF

.PHONY: deps configure build run test clean

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

clean:
	rm -rf $(BUILD)
