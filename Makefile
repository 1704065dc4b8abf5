# Three commands for a fresh Debian 12 machine: `make run`, `make test` and `make dist`.
# Each installs what is missing and builds first.
BUILD_DIR := $(CURDIR)/build
export BUILD_DIR

.PHONY: all deps build run test dist bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

dist: build
	@scripts/dist.sh

bench: build
	@scripts/bench.sh

clean:
	-@scripts/wine-stop.sh
	rm -rf $(BUILD_DIR)
