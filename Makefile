# Front door of the project: every target installs what it needs, configures and builds.
FUZZ_SECONDS ?= 60
JOBS ?= 2
# CI builds with warnings as errors.
WERROR := $(if $(CI),ON,OFF)

.PHONY: deps build test sanitize fuzz coverage bench mutate run clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake --preset release -DVLCONFIG_WERROR=$(WERROR) >/dev/null
	cmake --build --preset release -j $(JOBS)

test: build
	ctest --preset release -j $(JOBS)

sanitize: deps
	cmake --preset sanitize -DVLCONFIG_WERROR=$(WERROR) >/dev/null
	cmake --build --preset sanitize -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --preset sanitize -j $(JOBS)

fuzz: deps
	cmake --preset fuzz -DVLCONFIG_WERROR=$(WERROR) >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	bash scripts/run-fuzz.sh build/fuzz $(FUZZ_SECONDS)

coverage: deps
	cmake --preset coverage >/dev/null
	cmake --build --preset coverage -j $(JOBS)
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage -j $(JOBS) >/dev/null
	gcovr -r . build/coverage --filter 'model/' --filter 'document/' --exclude-throw-branches --print-summary

bench: build
	bash scripts/run-bench.sh build/release

# Seeded faults: how many of the faults in scripts/mutants.txt the suite notices (slow; not part of CI).
mutate: deps
	bash scripts/mutate.sh

run: build
	./build/release/app/vlconfig

clean:
	rm -rf build
