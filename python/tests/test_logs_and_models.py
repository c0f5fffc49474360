"""The run log asked for from the array functions against the file-driven run's, and Akaike's
maximum-likelihood estimate on a known ARMA process."""

import re

import numpy as np
import pytest

import tessivar
from conftest import arma21, two_tones, write_answer

EPS = 2.0 ** -20

# The answer file's names for the keyword parameters every function passes to the engine.
ANSWER_OF = dict(n_poles="npoles", n_zeros="nzeros", eps="eps", mode="mode", m_eqs="meqs",
                 l_pts="lpts", m_lag="mlag", nit="nit", per="per", window="window")

LOGGED = [
    (tessivar.burg, "Burg", dict(n_poles=8)),
    (tessivar.lsmywe, "LSMYWE", dict(n_poles=4, n_zeros=2, eps=EPS, m_eqs=100)),
    (tessivar.durbin, "Durbin", dict(n_zeros=3, l_pts=25)),
    (tessivar.blackman_tukey, "Blackman-Tukey", dict(m_lag=20, mode=1)),
    (tessivar.periodogram, "Periodogram", dict(window="Hamming")),
    (tessivar.minimum_variance, "MVSE", dict(n_poles=8, l_pts=64, eps=EPS)),
    (tessivar.covariance, "Covariance", dict(n_poles=100, eps=0.5)),  # fails: singular
]


def answers_for(kw):
    """Every parameter the function hands the engine, defaults included, as answer lines."""
    values = dict(tessivar._DEFAULTS, **kw)
    return {ANSWER_OF[k]: v for k, v in values.items()}


def after_the_answer_file(log, data, answer):
    """The file-driven log from where the answer file has been read, with the file names and
    notes the array functions have none of taken out."""
    lines = log.split("\r\n")
    start = next(i for i, line in enumerate(lines) if line.startswith(" \xaf Line  21")) + 1
    text = "\r\n".join(lines[start:])
    for name in (str(data), str(answer)):
        text = text.replace(name, "")
    return re.sub(r"(Note[12] = |Batch filename = )[^\r]*", r"\1", text)


def undated(log):
    return re.sub(r"\d\d/\d\d/\d\d   \d\d:\d\d:\d\d", "<date>", log)


@pytest.mark.parametrize("fn, name, kw", LOGGED, ids=[m[1] for m in LOGGED])
def test_log_asked_for_equals_the_file_driven_log(tmp_path, fn, name, kw):
    y = two_tones(128)
    path = write_answer(tmp_path, name, y, **answers_for(kw))
    try:
        from_file = tessivar.run_answer_file(path).log
        from_array = fn(y, n_points=256, log=True, **kw).log
    except tessivar.EstimationError as e:
        from_file = e.log
        with pytest.raises(tessivar.EstimationError) as again:
            fn(y, n_points=256, log=True, **kw)
        from_array = again.value.log
    assert "Using following Estimator Parameters:" in from_array
    assert undated(from_array) == undated(
        after_the_answer_file(from_file, tmp_path / "data.rda", path))


def test_a_failure_brings_the_log_with_its_parameters_when_none_was_asked_for():
    with pytest.raises(tessivar.EstimationError) as e:
        tessivar.covariance(two_tones(128), n_poles=100, eps=0.5)
    assert "npoles =    100" in e.value.log
    assert "method_name = COVARIANCE" in e.value.log


def test_akaike_recovers_an_arma_model_and_equals_the_file_driven_run(tmp_path):
    x = arma21(1024)
    kw = dict(n_poles=2, n_zeros=1, eps=EPS, m_eqs=1000, nit=20, per=0.01)
    r = tessivar.akaike(x, **kw)
    np.testing.assert_allclose(r.ar.real, [-1.2, 0.6], atol=0.05)
    np.testing.assert_allclose(r.ma.real, [0.5], atol=0.05)
    assert r.sig2 == pytest.approx(1.0, abs=0.1)
    path = write_answer(tmp_path, "Akaike", x, npoints=1024, npoles=2, nzeros=1, eps=EPS,
                        meqs=1000, nit=20, per=0.01)
    f = tessivar.run_answer_file(path)
    for a, b in ((r.freq, f.freq), (r.psd, f.psd), (r.db, f.db), (r.ar, f.ar), (r.ma, f.ma),
                 (r.peaks, f.peaks)):
        np.testing.assert_array_equal(a, b)
    assert r.sig2 == f.sig2
