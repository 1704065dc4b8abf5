# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
# Both install what is missing, build, then run.
BUILD_DIR := $(CURDIR)/build
export BUILD_DIR

.PHONY: all deps build run test bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@scripts/build.sh

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

bench: build
	@scripts/bench.sh

clean:
	-@scripts/wine-stop.sh
	rm -rf $(BUILD_DIR)
