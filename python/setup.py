"""Builds the compiled part of tessivar: the module over the voxtrel engine.

The engine is compiled from its sources, found in ../engine beside this folder (or in the
folder TESSIVAR_ENGINE_DIR names). When TESSIVAR_ENGINE_LIBRARY names the engine's static
library as the project's CMake build makes it (build/engine/libvoxtrel_core.a, compiled as
position-independent code), only the module is compiled and the library is linked in.
TESSIVAR_BUILD_JOBS sets how many sources compile at once (2 unless given).

Offline, in a virtual environment that sees the system's packages::

    python3 -m venv --system-site-packages venv
    venv/bin/pip install --no-build-isolation --no-index ./python
"""

import os
from pathlib import Path

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

here = Path(__file__).resolve().parent
engine = Path(os.environ.get("TESSIVAR_ENGINE_DIR") or here.parent / "engine").resolve()
if not (engine / "include" / "voxtrel" / "estimate.h").is_file():
    raise SystemExit(
        f"tessivar: the voxtrel engine's sources are not in {engine}. Install from the "
        "python folder of a Tessivar source tree, or name the engine's folder in "
        "TESSIVAR_ENGINE_DIR.")

library = os.environ.get("TESSIVAR_ENGINE_LIBRARY")
if library:
    if not Path(library).is_file():
        raise SystemExit(
            f"tessivar: TESSIVAR_ENGINE_LIBRARY names {library}, which does not exist. Build "
            "the engine first (cmake --build build --target voxtrel_core), or unset it to "
            "compile the engine from its sources.")
    engine_sources, extra_objects = [], [str(Path(library).resolve())]
else:
    # Every routine of the engine but the shared library's C entry, and the operating
    # system's layer of this system only.
    skip = {"Voxtrel_for.cpp", "os_file_windows.cpp" if os.name != "nt" else "os_file_posix.cpp"}
    engine_sources = sorted(
        os.path.relpath(p, here) for p in (engine / "src").rglob("*.cpp") if p.name not in skip)
    extra_objects = []

rooms = ["run", "fft", "nonparametric", "ar", "arma"]
ParallelCompile("TESSIVAR_BUILD_JOBS", default=2).install()

setup(
    ext_modules=[
        Pybind11Extension(
            "tessivar._tessivar",
            # Sources are named relative to this folder, as setuptools requires.
            ["src/module.cpp"] + engine_sources,
            include_dirs=[str(engine / "include"), str(engine / "src")]
            + [str(engine / "src" / r) for r in rooms],
            extra_objects=extra_objects,
            cxx_std=20,
            # Every product and sum rounded on its own: the same floats as the engine's build.
            extra_compile_args=["-ffp-contract=off"],
        )
    ],
)
