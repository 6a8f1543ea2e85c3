# Entry points: `make run` starts the program (with LibreOffice's desktop Writer and Calc),
# `make test` runs every test, `make bench` runs the benchmark (its book is generated once, under
# the build folder). They install missing Debian packages first and build in ./build.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: run test bench deps desktop-deps test-deps build compile

run: desktop-deps compile
	./$(BUILD)/app/kaltro

test: test-deps compile
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 8

bench: deps compile
	./$(BUILD)/bench/kaltro_bench

deps:
	./tools/install-deps.sh

# The program shows documents and exported sheets in LibreOffice's windows: its desktop Writer
# and Calc.
desktop-deps:
	./tools/install-deps.sh --desktop

# The tests need a few packages more (a Firebird server, a virtual X display).
test-deps:
	./tools/install-deps.sh --tests

build: deps compile

compile:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD)
