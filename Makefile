# Kelvara's two set-up commands, plus a few more for developers.
#   make run      install what building and running need, build, create the demo database
#                 if none, start
#   make test     install that and what the tests need, check the formatting, build with
#                 warnings as errors, run every test headless
BUILD ?= build
JOBS ?= $(shell nproc)
DB := $(HOME)/Kelvara/DB PT Mardeko.mdb

.PHONY: all deps test-deps build run check-format test bench install uninstall package clean \
	windows-deps windows windows-setup windows-test

all: build

deps:
	@bash scripts/setup.sh

test-deps:
	@bash scripts/setup.sh test

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) --parallel $(JOBS)

run: build
	@if [ ! -e "$(DB)" ]; then \
		echo "Belum ada database di $(DB): database contoh dibuat."; \
		$(BUILD)/tools/initdb/kelvara-initdb --demo || exit 1; \
		echo "Masuk dengan nama pengguna admin dan password admin."; \
	fi
	$(BUILD)/src/app/kelvara

# Every tracked C++ file as the repository's .clang-format lays it out.
check-format: test-deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# The test build turns every compiler warning into an error.
test: check-format $(BUILD)/CMakeCache.txt
	cmake -S . -B $(BUILD) -DKELVARA_WERROR=ON
	cmake --build $(BUILD) --parallel $(JOBS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel $(JOBS)

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/kelvara-bench

install: build
	cmake --install $(BUILD)

uninstall:
	cmake --build $(BUILD) --target uninstall

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)

# Windows: the cross build (make windows) lives in $(WINDOWS_BUILD); the library script writes
# the folders of the libraries it built, separated by ';', into $(WINDOWS_PREFIXES).
WINDOWS_BUILD ?= build-windows
WINDOWS_PREFIXES ?= $(WINDOWS_BUILD)/prefixes
VERSION := $(shell sed -n '/^project/s/.*VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
WINDOWS_SETUP := $(WINDOWS_BUILD)/kelvara-$(VERSION)-setup.exe

# The setup program again, from a finished cross build (make windows ends with it).
windows-setup: windows-deps
	bash packaging/windows/make-setup.sh $(WINDOWS_BUILD) $(WINDOWS_SETUP)

# The cross-built tests and the setup program end to end, under Wine in a fresh prefix.
windows-test: windows
	@bash scripts/setup.sh test windows-test
	bash tests/windows/windows-test.sh $(WINDOWS_BUILD) "$$(cat $(WINDOWS_PREFIXES))"

# make windows: the libraries built from Debian's sources (once, into ~/.cache/kelvara-windows),
# then every program and the tests cross-built for 64-bit Windows into $(WINDOWS_BUILD), each
# with the DLLs, plugins and fonts it loads beside it in $(WINDOWS_BUILD)/bin; last the setup
# program $(WINDOWS_SETUP).
windows-deps:
	@bash scripts/setup.sh windows

windows: windows-deps
	mkdir -p $(WINDOWS_BUILD)
	JOBS=$(JOBS) bash scripts/windows/build-libs.sh --prefixes $(WINDOWS_PREFIXES)
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
		-DCMAKE_BUILD_TYPE=Release -DKELVARA_WERROR=ON -DQT_HOST_PATH=/usr \
		-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
		-DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/tests/windows/wine-test.sh \
		"-DKELVARA_WINDOWS_PREFIXES=$$(cat $(WINDOWS_PREFIXES))" -DKELVARA_MDB=bundled \
		"-DKELVARA_MDB_PREFIX=$$(tr ';' '\n' < $(WINDOWS_PREFIXES) | grep /libmdb-)"
	cmake --build $(WINDOWS_BUILD) --parallel $(JOBS)
	bash packaging/windows/make-setup.sh $(WINDOWS_BUILD) $(WINDOWS_SETUP)
