"""The precision keyword: double precision against the runner and an independent least-squares
solution, every method in double as the file-driven run, the default, and the values that are
not a precision."""

import os
import pathlib
import re
import subprocess

import numpy as np
import pytest

import tessivar
from conftest import two_tones, write_answer
from test_tessivar import METHODS


def runner():
    """The voxtrel-run the module was built with (ctest names it; else the build folder's)."""
    path = os.environ.get("TESSIVAR_RUN_CLI")
    if path is None:
        build = os.environ.get("TESSIVAR_BUILD_DIR",
                               pathlib.Path(__file__).resolve().parents[2] / "build")
        path = pathlib.Path(build) / "cli" / "voxtrel-run"
    if not pathlib.Path(path).exists():
        pytest.skip(f"voxtrel-run not built at {path}; build the voxtrel-run target")
    return str(path)


def read_csv(path):
    """The frequency and dB columns of a spectrum written by voxtrel-run --csv."""
    rows = [line.split(",") for line in path.read_text().splitlines()
            if line and not line.startswith("#")]
    assert rows[0] == ["frequency", "dB"]
    return np.array([[np.float32(v) for v in row] for row in rows[1:]]).T


@pytest.mark.parametrize("value", ["Double", "half", "", None, 2, True])
def test_a_value_that_is_not_a_precision_is_refused_by_name(tmp_path, tones, value):
    with pytest.raises(ValueError, match="precision"):
        tessivar.burg(tones, precision=value)
    path = write_answer(tmp_path, "Burg", tones, npoles=8)
    with pytest.raises(ValueError, match="precision"):
        tessivar.run_answer_file(path, precision=value)


def test_burg_in_double_gives_the_runners_double_precision_floats(tmp_path, tones):
    path = write_answer(tmp_path, "Burg", tones, npoles=8)
    subprocess.run([runner(), str(path), "--csv", str(tmp_path / "out.csv"), "--precision",
                    "double"], cwd=tmp_path, check=True, capture_output=True)
    freq, db = read_csv(tmp_path / "out.csv")
    assert "# arithmetic: double precision" in (tmp_path / "out.csv").read_text().splitlines()
    double = tessivar.burg(tones, n_poles=8, n_points=256, precision="double")
    np.testing.assert_array_equal(double.freq, freq)
    np.testing.assert_array_equal(double.db, db)
    from_file = tessivar.run_answer_file(path, precision="double")
    np.testing.assert_array_equal(double.psd, from_file.psd)
    np.testing.assert_array_equal(double.ar, from_file.ar)
    assert double.sig2 == from_file.sig2
    assert from_file.log.count(" Arithmetic: double precision\r\n") == 1
    assert "Arithmetic" not in tessivar.run_answer_file(path, precision="single").log
    assert (double.freq.dtype, double.psd.dtype, double.ar.dtype) == (
        np.float32, np.float32, np.complex64)
    # Well-conditioned data: the classic arithmetic differs in the last bits only.
    single = tessivar.burg(tones, n_poles=8, n_points=256, precision="single")
    assert not np.array_equal(single.db, double.db)
    top = double.db > -40
    np.testing.assert_allclose(single.db[top], double.db[top], atol=0.01)


def test_covariance_in_double_solves_the_least_squares_fit_single_precision_misses():
    # An AR(4) process with two sharp resonances on a DC offset of 1e5: the covariance
    # method's normal equations are then nearly singular (every column carries the offset).
    rng = np.random.default_rng(2)
    e = rng.standard_normal(612)
    x = np.zeros_like(e)
    for t in range(4, e.size):
        x[t] = 2.7607 * x[t - 1] - 3.8106 * x[t - 2] + 2.6535 * x[t - 3] - 0.9238 * x[t - 4] + e[t]
    samples = (x[100:] + 1e5).astype(np.float32)
    # The same fit by an orthogonal factorisation in double precision: minimise the forward
    # prediction error x[t] + sum_k a_k x[t-k] over t = p..n-1.
    n, p = samples.size, 4
    xd = samples.astype(np.float64)
    past = np.column_stack([xd[p - k:n - k] for k in range(1, p + 1)])
    a = np.linalg.lstsq(past, -xd[p:], rcond=None)[0]
    residual = xd[p:] + past @ a
    sig2 = residual @ residual / (n - p)

    def misfit(r):
        """Largest AR coefficient error, spread of the PSD over the reference shape in dB
        (zero when the shapes agree), relative noise-variance error."""
        f = r.freq.astype(np.float64)
        shape = np.abs(1 + np.exp(-2j * np.pi * np.outer(f, np.arange(1, p + 1))) @ a) ** 2
        spread = np.ptp(10 * np.log10(r.psd.astype(np.float64) * shape))
        return np.abs(r.ar - a).max(), spread, abs(r.sig2 - sig2) / sig2

    ar_error, spread, sig2_error = misfit(
        tessivar.covariance(samples, n_poles=p, n_points=512, precision="double"))
    assert ar_error < 1e-3 and spread < 0.01 and sig2_error < 1e-3
    ar_error, spread, sig2_error = misfit(
        tessivar.covariance(samples, n_poles=p, n_points=512, precision="single"))
    assert ar_error > 0.1 and spread > 1 and sig2_error > 1


@pytest.mark.parametrize("fn, name, kw, answers", METHODS, ids=[m[1] for m in METHODS])
def test_each_method_runs_in_double_as_the_file_driven_run(tmp_path, tones, fn, name, kw, answers):
    path = write_answer(tmp_path, name, tones, **answers)
    try:
        r = fn(tones, n_points=256, precision="double", **kw)
    except tessivar.EstimationError:
        with pytest.raises(tessivar.EstimationError):
            tessivar.run_answer_file(path, precision="double")
        return
    from_file = tessivar.run_answer_file(path, precision="double")
    np.testing.assert_array_equal(r.db, from_file.db)
    np.testing.assert_array_equal(r.ar, from_file.ar)
    np.testing.assert_array_equal(r.ma, from_file.ma)


def test_the_default_is_double_precision(tmp_path, tones):
    # Every function, the order scan and the answer-file run: the same numbers as
    # precision="double", and the docstrings say so.
    x = two_tones(300)
    assert np.array_equal(tessivar.covariance(x, n_poles=8).db,
                          tessivar.covariance(x, n_poles=8, precision="double").db)
    assert not np.array_equal(tessivar.covariance(x, n_poles=8).db,
                              tessivar.covariance(x, n_poles=8, precision="single").db)
    assert np.array_equal(tessivar.order_scan(x, "covariance", 10).rho,
                          tessivar.order_scan(x, "covariance", 10, precision="double").rho)
    path = write_answer(tmp_path, "Burg", tones, npoles=8)
    assert "Arithmetic: double precision" in tessivar.run_answer_file(path).log
    assert 'Default "double"' in tessivar.burg.__doc__
