# The commands of the README: `make run`, `make test` and `make deb`.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_DEB  ?= build-deb
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
SANITIZE    = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
FUZZ_SECONDS ?= 60
# Warnings are errors in the builds that make test runs.
WERROR ?= OFF
test test-plain test-asan: WERROR = ON

.PHONY: run test deps build build-asan test-plain test-asan deb bench fuzz clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DWORDLOOM_WERROR=$(WERROR)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-wordloom $(BUILD)

# Every test, then every test again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: test-plain test-asan

test-plain: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

build-asan: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DWORDLOOM_SANITIZE=ON -DWORDLOOM_WERROR=$(WERROR)
	cmake --build $(BUILD_ASAN) -j $(JOBS)

test-asan: build-asan
	cd $(BUILD_ASAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# The Debian package, from an optimised build with Debian's hardening flags, then checked.
deb: deps
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(BUILD_DEB) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DWORDLOOM_BUILD_TESTS=OFF \
	  "-DCMAKE_CXX_FLAGS=$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(BUILD_DEB) -j $(JOBS)
	cd $(BUILD_DEB) && cpack -G DEB
	tests/deb_package_test.sh $(BUILD_DEB)/wordloom_*_$$(dpkg --print-architecture).deb

bench: build
	bench/run $(BUILD)

# libFuzzer targets (clang): each runs FUZZ_SECONDS seconds; see bench/README.md.
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DWORDLOOM_FUZZ=ON -DWORDLOOM_BUILD_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS) --target fuzz_targets
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_DEB) build-fuzz
