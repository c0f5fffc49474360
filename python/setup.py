"""Builds the compiled part of tessivar from the engine's sources beside this folder."""

from pathlib import Path

from pybind11.setup_helpers import Pybind11Extension
from setuptools import setup

here = Path(__file__).resolve().parent
engine = here.parent / "engine"
rooms = ["run", "fft", "nonparametric", "ar", "arma"]
# Every routine of the engine; the shared library's C entry is not needed here.
sources = sorted(str(p) for p in (engine / "src").rglob("*.cpp") if p.name != "Voxtrel_for.cpp")

setup(
    ext_modules=[
        Pybind11Extension(
            "tessivar._tessivar",
            [str(here / "src" / "module.cpp")] + sources,
            include_dirs=[str(engine / "include"), str(engine / "src")]
            + [str(engine / "src" / r) for r in rooms],
            cxx_std=20,
            # Every product and sum rounded on its own: the same floats as the engine's build.
            extra_compile_args=["-ffp-contract=off"],
        )
    ],
)
