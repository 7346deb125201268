# make run   build the program and start it (in a virtual display when there is none)
# make test  build everything and run every test, native and under Wine
# make dist  build the release program and pack build/dist/Linkwright-<version>.zip
.PHONY: all bootstrap build native run test dist clean

WIN_BUILD ?= build/win
NATIVE_BUILD ?= build/native
DIST ?= build/dist
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

dist: bootstrap
	@JOBS=$(JOBS) bash scripts/dist.sh $(DIST)/release $(DIST)

# The release zip is checked by the Windows tests too.
test: build native dist
	@bash scripts/test.sh $(NATIVE_BUILD) $(WIN_BUILD)

clean:
	rm -rf build
