# make run   build the program and start it (in a virtual display when there is none)
# make test  build everything and run every test, native and under Wine
.PHONY: all bootstrap build native run test clean

WIN_BUILD ?= build/win
NATIVE_BUILD ?= build/native
JOBS ?= $(shell nproc)

all: build

bootstrap:
	@bash scripts/bootstrap.sh

build: bootstrap
	@cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS)

native: bootstrap
	@cmake -S . -B $(NATIVE_BUILD) -G Ninja >/dev/null
	@cmake --build $(NATIVE_BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(WIN_BUILD)/bin/linkwright.exe

test: build native
	@bash scripts/test.sh $(NATIVE_BUILD) $(WIN_BUILD)

clean:
	rm -rf build
