# The two commands of the README: `make run` and `make test`. Both install what is missing first.
# `make package` makes the Debian package build/tessivar_<version>_<arch>.deb; `make windows`
# cross-builds the engine for Windows and runs its tests under wine.
.PHONY: run test build package windows bench fuzz format clean

run: build
	./build/Tessivar/Tessivar

build:
	./scripts/bootstrap
	cmake --preset default
	cmake --build --preset default

package: build
	cmake --build --preset default --target package

test:
	./scripts/bootstrap
	cmake --workflow --preset default
	cmake --workflow --preset asan
	./scripts/windows-tests
	./scripts/fuzz 10

windows:
	./scripts/bootstrap
	./scripts/windows-tests

bench:
	./scripts/bootstrap
	cmake --preset bench
	cmake --build --preset bench
	./build-bench/bench/voxtrel-bench
	./build-bench/bench/tessivar-plot-bench

fuzz:
	./scripts/bootstrap
	./scripts/fuzz $(or $(FUZZ_TIME),60)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-bench build-windows
