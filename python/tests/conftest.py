"""Shared data and answer files for the tessivar tests."""

import numpy as np
import pytest


def two_tones(n, seed=3):
    """Two cosines (0.1 and 0.27 cycles per sample) in a little uniform noise."""
    rng = np.random.default_rng(seed)
    i = np.arange(n)
    y = np.cos(2 * np.pi * 0.1 * i) + 0.5 * np.cos(2 * np.pi * 0.27 * i)
    return (y + rng.uniform(-0.1, 0.1, n)).astype(np.float32)


def complex_tone(n, seed=5):
    """A complex exponential at 0.15 cycles per sample in a little noise."""
    rng = np.random.default_rng(seed)
    z = np.exp(2j * np.pi * 0.15 * np.arange(n))
    z = z + 0.05 * (rng.standard_normal(n) + 1j * rng.standard_normal(n))
    return z.astype(np.complex64)


def arma21(n, seed=0):
    """An ARMA(2, 1) process x[t] = 1.2 x[t-1] - 0.6 x[t-2] + e[t] + 0.5 e[t-1], unit-variance
    Gaussian e, after a start-up of 100 samples: a = (-1.2, 0.6), b = 0.5, sig2 = 1 in the
    engine's signs."""
    rng = np.random.default_rng(seed)
    e = rng.standard_normal(n + 100)
    x = np.zeros_like(e)
    for t in range(2, e.size):
        x[t] = 1.2 * x[t - 1] - 0.6 * x[t - 2] + e[t] + 0.5 * e[t - 1]
    return x[100:].astype(np.float32)


def write_answer(folder, method, samples, **answers):
    """Writes a data file of the samples (x = 0, 1, 2, ...) and an answer file asking for
    method with the given answers; returns the answer file's path."""
    data = folder / "data.rda"
    with open(data, "w", newline="") as f:
        for i, v in enumerate(samples):
            if np.iscomplexobj(samples):
                f.write(f"{i} ({v.real:.9g},{v.imag:.9g})\r\n")
            else:
                f.write(f"{i} {v:.9g}\r\n")
    a = {"npoints": 256, "npoles": -999, "nzeros": -999, "eps": -999, "mode": -999,
         "meqs": -999, "lpts": -999, "mlag": -999, "nit": -999, "per": -999,
         "window": -999}
    a.update(answers)
    kind = "Complex" if np.iscomplexobj(samples) else "Real"
    lines = ["test.1", str(data), "0", "0", kind, "-999", method, "No"]
    lines += [str(a[k]) for k in ("npoints", "npoles", "nzeros", "eps", "mode", "meqs",
                                  "lpts", "mlag", "nit", "per", "window")]
    lines += ["first note", "second note"]
    path = folder / "test.1"
    with open(path, "w", newline="") as f:
        f.write("".join(line + "  \t\t! \r\n" for line in lines))
    return path


@pytest.fixture
def tones():
    return two_tones(128)
