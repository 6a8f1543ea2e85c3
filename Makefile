# Two entry points: `make run` starts the program, `make test` runs every test.
# Both install missing Debian packages first and build in ./build.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: run test deps build

run: build
	./$(BUILD)/app/kaltro

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 8

deps:
	./tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD)
