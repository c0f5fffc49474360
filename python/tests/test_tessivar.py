"""The tessivar module against the file-driven run, its parameters, errors and threads."""

import threading

import numpy as np
import pytest

import tessivar
from conftest import complex_tone, two_tones, write_answer

EPS = 2.0 ** -20  # exact in single precision and in the answer file's text

# (function, answer-file method name, keyword parameters, the same as answer-file lines)
METHODS = [
    (tessivar.yule_walker, "Auto-correlation", dict(n_poles=8), dict(npoles=8)),
    (tessivar.burg, "Burg", dict(n_poles=8), dict(npoles=8)),
    (tessivar.rmle, "RMLE", dict(n_poles=6), dict(npoles=6)),
    (tessivar.covariance, "Covariance", dict(n_poles=8, eps=EPS), dict(npoles=8, eps=EPS)),
    (tessivar.modified_covariance, "Modified Covariance", dict(n_poles=8, eps=EPS),
     dict(npoles=8, eps=EPS)),
    (tessivar.mywe, "MYWE", dict(n_poles=4, n_zeros=2, eps=EPS),
     dict(npoles=4, nzeros=2, eps=EPS)),
    (tessivar.lsmywe, "LSMYWE", dict(n_poles=4, n_zeros=2, eps=EPS, m_eqs=100),
     dict(npoles=4, nzeros=2, eps=EPS, meqs=100)),
    (tessivar.akaike, "Akaike", dict(n_poles=4, n_zeros=1, eps=EPS, m_eqs=100, nit=5, per=0.5),
     dict(npoles=4, nzeros=1, eps=EPS, meqs=100, nit=5, per=0.5)),
    (tessivar.mayne_firoozan, "MayneFir", dict(n_poles=4, n_zeros=2, eps=EPS, l_pts=20),
     dict(npoles=4, nzeros=2, eps=EPS, lpts=20)),
    (tessivar.durbin, "Durbin", dict(n_zeros=3, l_pts=25), dict(nzeros=3, lpts=25)),
    (tessivar.periodogram, "Periodogram", dict(window="Hanning"), dict(window="Hanning")),
    (tessivar.blackman_tukey, "Blackman-Tukey", dict(m_lag=20, mode=0), dict(mlag=20, mode=0)),
    (tessivar.minimum_variance, "MVSE", dict(n_poles=8, l_pts=64, eps=EPS, mode=0),
     dict(npoles=8, lpts=64, eps=EPS, mode=0)),
    (tessivar.lockheed, "Lockheed (Auto./Burg)", dict(n_poles=6, n_zeros=2),
     dict(npoles=6, nzeros=2)),
]


def outcome(call):
    """The result, or the exception class the call raised."""
    try:
        return call()
    except (ValueError, tessivar.EstimationError) as e:
        return type(e)


@pytest.mark.parametrize("fn, name, kw, answers", METHODS, ids=[m[1] for m in METHODS])
def test_each_method_equals_the_file_driven_run(tmp_path, tones, fn, name, kw, answers):
    path = write_answer(tmp_path, name, tones, **answers)
    from_file = outcome(lambda: tessivar.run_answer_file(path))
    from_array = outcome(lambda: fn(tones, n_points=256, **kw))
    if isinstance(from_file, type):
        assert from_array is from_file
        return
    np.testing.assert_array_equal(from_array.freq, from_file.freq)
    np.testing.assert_array_equal(from_array.db, from_file.db)
    np.testing.assert_array_equal(from_array.psd, from_file.psd)
    np.testing.assert_array_equal(from_array.ar, from_file.ar)
    np.testing.assert_array_equal(from_array.ma, from_file.ma)
    np.testing.assert_array_equal(from_array.peaks, from_file.peaks)
    assert from_array.sig2 == from_file.sig2
    assert "Finished PSD Calculations" in from_file.log


@pytest.mark.parametrize("fn, name, kw, answers",
                         [m for m in METHODS if m[1] not in ("RMLE", "Akaike")],
                         ids=[m[1] for m in METHODS if m[1] not in ("RMLE", "Akaike")])
def test_complex_samples_equal_the_file_driven_run(tmp_path, fn, name, kw, answers):
    z = complex_tone(100)
    if "m_eqs" in kw:
        kw, answers = dict(kw, m_eqs=90), dict(answers, meqs=90)
    path = write_answer(tmp_path, name, z, **answers)
    from_file = outcome(lambda: tessivar.run_answer_file(path))
    from_array = outcome(lambda: fn(z, n_points=256, **kw))
    if isinstance(from_file, type):
        assert from_array is from_file
        return
    np.testing.assert_array_equal(from_array.db, from_file.db)
    np.testing.assert_array_equal(from_array.freq, from_file.freq)


def test_float64_and_float32_give_the_same_floats(tones):
    a = tessivar.burg(tones.astype(np.float64), n_poles=8)
    b = tessivar.burg(tones, n_poles=8)
    np.testing.assert_array_equal(a.db, b.db)
    c = tessivar.burg(complex_tone(64).astype(np.complex128), n_poles=4)
    d = tessivar.burg(complex_tone(64), n_poles=4)
    np.testing.assert_array_equal(c.db, d.db)
    # A list is taken as well.
    np.testing.assert_array_equal(tessivar.burg(list(tones), n_poles=8).db, b.db)


def test_known_ar2_model_is_recovered():
    rng = np.random.default_rng(11)
    e = rng.uniform(-0.5, 0.5, 4096)
    x = np.zeros_like(e)
    for n in range(2, x.size):
        x[n] = 1.5 * x[n - 1] - 0.9 * x[n - 2] + e[n]
    r = tessivar.burg(x, n_poles=2, sample_interval=0.5)
    np.testing.assert_allclose(r.ar.real, [-1.5, 0.9], atol=0.03)
    assert r.sig2 == pytest.approx(1 / 12, abs=0.01)
    # One peak, at the resonance cos(w) = 1.5 * 1.9 / 3.6, in cycles per unit time (dt = 0.5).
    assert r.peaks.shape == (1, 2)
    assert r.peaks[0, 0] == pytest.approx(np.arccos(1.5 * 1.9 / 3.6) / (2 * np.pi) / 0.5,
                                          abs=3e-3)
    assert r.peaks[0, 1] == 0.0
    assert r.freq[-1] < 1.0  # one-sided, up to the Nyquist frequency 1 / (2 dt)
    assert r.log == ""


@pytest.mark.parametrize("call, name", [
    (lambda x: tessivar.burg(x, n_poles=211), "nPoles = 211"),
    (lambda x: tessivar.burg(x, n_poles=-1), "nPoles = -1"),
    (lambda x: tessivar.burg(x, n_points=1 << 25), "nPoints"),
    (lambda x: tessivar.burg(x, sample_interval=0.0), "sample interval"),
    (lambda x: tessivar.lsmywe(x, n_poles=4, n_zeros=2, m_eqs=500), "M_Eqs = 500"),
    (lambda x: tessivar.blackman_tukey(x, m_lag=64), "M lag = 64"),
    (lambda x: tessivar.minimum_variance(x, l_pts=1), "L = 1"),
    (lambda x: tessivar.durbin(x, n_zeros=5, l_pts=4), "L = 4"),
    (lambda x: tessivar.periodogram(x, window="Kaiser"), "window"),
    (lambda x: tessivar.mywe(x, n_zeros=201), "nZeros = 201"),
    (lambda x: tessivar.rmle(x.astype(np.complex64)), "REAL data"),
    (lambda x: tessivar.burg(x[:1]), "samples"),
    (lambda x: tessivar.burg(x.reshape(2, -1)), "one-dimensional"),
])
def test_out_of_range_parameters_raise_with_their_name(tones, call, name):
    with pytest.raises(ValueError, match=name):
        call(tones)


def test_estimator_failure_raises_with_its_reason():
    with pytest.raises(tessivar.EstimationError, match="zero at every frequency") as e:
        tessivar.periodogram(np.zeros(64))
    assert "No Plot" in e.value.log


def test_run_answer_file_that_does_not_exist_raises(tmp_path):
    with pytest.raises(ValueError, match="cannot be opened"):
        tessivar.run_answer_file(tmp_path / "missing.1")


def test_two_threads_estimating_at_once_get_the_right_answers():
    y = two_tones(4096)
    z = complex_tone(4096)
    want_y = tessivar.burg(y, n_poles=20).db
    want_z = tessivar.covariance(z, n_poles=10, eps=EPS).db
    ok = []

    def work(fn, want):
        ok.append(all(np.array_equal(fn(), want) for _ in range(10)))

    threads = [threading.Thread(target=work, args=(lambda: tessivar.burg(y, n_poles=20).db,
                                                   want_y)),
               threading.Thread(target=work, args=(
                   lambda: tessivar.covariance(z, n_poles=10, eps=EPS).db, want_z))]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert ok == [True, True]


def test_help_names_the_method_and_its_limits():
    doc = tessivar.burg.__doc__
    assert "Burg" in doc and "0 <= p <= 210" in doc and "Returns" in doc
    assert "2 <= L <= n_points" in tessivar.minimum_variance.__doc__
