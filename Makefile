# Front door of the project: every target installs what it needs, configures and builds.
FUZZ_SECONDS ?= 60
JOBS ?= 2
PREFIX ?= /usr/local
# CI builds with warnings as errors.
WERROR := $(if $(CI),ON,OFF)
# Each target installs only its own groups of Debian packages (scripts/install-deps.sh).
DEPS = bash scripts/install-deps.sh
# The release build: the tests and benchmarks in it are built when their libraries are installed.
# $(1): extra cache settings (the test targets turn their parts on; the others keep what the tree has).
define release-build
	cmake --preset release -DVLCONFIG_WERROR=$(WERROR) $(1) >/dev/null
	cmake --build --preset release -j $(JOBS)
endef

.PHONY: deps build test sanitize fuzz coverage bench mutate run install package clean

deps:
	@$(DEPS) all

build:
	@$(DEPS) build
	$(release-build)

test:
	@$(DEPS) build test
	$(call release-build,-DVLCONFIG_TESTS=ON)
	ctest --preset release -j $(JOBS)

sanitize:
	@$(DEPS) build test
	cmake --preset sanitize -DVLCONFIG_WERROR=$(WERROR) -DVLCONFIG_TESTS=ON >/dev/null
	cmake --build --preset sanitize -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --preset sanitize -j $(JOBS)

fuzz:
	@$(DEPS) build fuzz
	cmake --preset fuzz -DVLCONFIG_WERROR=$(WERROR) >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	bash scripts/run-fuzz.sh build/fuzz $(FUZZ_SECONDS)

coverage:
	@$(DEPS) build test coverage
	cmake --preset coverage -DVLCONFIG_TESTS=ON >/dev/null
	cmake --build --preset coverage -j $(JOBS)
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage -j $(JOBS) >/dev/null
	gcovr -r . build/coverage --filter 'model/' --filter 'document/' --exclude-throw-branches --print-summary

bench:
	@$(DEPS) build test bench
	$(call release-build,-DVLCONFIG_TESTS=ON -DVLCONFIG_BENCH=ON)
	bash scripts/run-bench.sh build/release

# Seeded faults: how many of the faults in scripts/mutants.txt the suite notices (slow; not part of CI).
mutate:
	@$(DEPS) build test
	bash scripts/mutate.sh

run:
	@$(DEPS) build run
	$(release-build)
	./build/release/app/vlconfig

# Installs under PREFIX (and DESTDIR, when set): the program in bin, its data in share/vlconfig.
install:
	@$(DEPS) build
	$(release-build)
	cmake --install build/release --prefix $(PREFIX)

# The Debian package, build/release/vlconfig_<version>_<arch>.deb.
package:
	@$(DEPS) build package
	$(release-build)
	cd build/release && cpack -G DEB

clean:
	rm -rf build
