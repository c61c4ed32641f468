# Zentrove: `make run` sets everything up and starts the game;
# `make test` sets everything up and runs every test headless.
BUILD ?= build
JOBS ?= 2

.PHONY: run test deps build clean data

run: build
	cd $(BUILD) && ./zentrove

test: build
	scripts/run-tests $(BUILD)

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

data: deps
	tools/gen-data

clean:
	rm -rf $(BUILD)
