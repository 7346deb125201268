# make run   build the program and start it (in a virtual display when there is none)
# make screenshot-cp1252  the start window under code page 1252, into docs/screenshot-cp1252.png
# make test  build everything and run every test, native and under Wine
# make dist  build the release program and pack build/dist/Linkwright-<version>.zip
.PHONY: all bootstrap bootstrap-run build program native run screenshot-cp1252 test dist clean

WIN_BUILD ?= build/win
NATIVE_BUILD ?= build/native
DIST ?= build/dist
JOBS ?= $(shell nproc)

all: build

bootstrap:
	@bash scripts/bootstrap.sh

# Running the program needs only the default setting's Wine prefix.
bootstrap-run:
	@LINKWRIGHT_PREFIXES=default bash scripts/bootstrap.sh

build: bootstrap
	@cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS)

# The program alone and what it links, for a first run that does not wait for
# every test and benchmark to build.
program: bootstrap-run
	@cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS) --target linkwright

native: bootstrap
	@cmake -S . -B $(NATIVE_BUILD) -G Ninja >/dev/null
	@cmake --build $(NATIVE_BUILD) -j $(JOBS)

run: program
	@bash scripts/run.sh $(WIN_BUILD)/bin/linkwright.exe

# The program under an English system, whose code page (1252) has no form for its texts.
screenshot-cp1252: program
	@env -u DISPLAY -u WINEPREFIX LINKWRIGHT_LOCALE=en_US.UTF-8 bash scripts/run.sh $(WIN_BUILD)/bin/linkwright.exe docs/screenshot-cp1252.png
	@convert docs/screenshot-cp1252.png -trim +repage docs/screenshot-cp1252.png

dist: bootstrap
	@JOBS=$(JOBS) bash scripts/dist.sh $(DIST)/release $(DIST)

# The release zip is checked by the Windows tests too.
test: build native dist
	@bash scripts/test.sh $(NATIVE_BUILD) $(WIN_BUILD)

clean:
	rm -rf build
