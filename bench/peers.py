"""Whole runs of the engine against the fastest Python peer's whole job, in one process.

For every method a Python peer has (NumPy, SciPy, statsmodels), on the same data file of 1,024
and of 16,384 real samples, this times

* the peer's whole job: read the text file (NumPy's C text parser on the data records), estimate,
  convert to dB relative to the maximum;
* the engine's whole run: the module's ``run_answer_file`` on an answer file naming the same file
  and parameters (read, estimate, dB, peak table, the run log written beside it);

and prints the best of several repetitions of each and their ratio (peer time / engine time:
above 1 means the engine is faster).

Run it after building the Python module, e.g.::

    PYTHONPATH=build-bench/python /usr/bin/python3 bench/peers.py
"""
import os
import sys
import tempfile
import time

import numpy as np
import scipy.linalg
import scipy.signal
from statsmodels.regression.linear_model import burg, yule_walker

from tessivar import _tessivar

REPEATS = 7


def arma_signal(n, seed=13):
    """An ARMA(2,2) sequence with a resonance near 0.1 of the sampling rate, plus a tone."""
    rng = np.random.default_rng(seed)
    e = rng.standard_normal(n + 200)
    y = scipy.signal.lfilter([1.0, 0.6, 0.5], [1.0, -1.5, 0.85], e)[200:]
    return y + 2.0 * np.sin(2 * np.pi * 0.31 * np.arange(n))


def write_data(path, y, dt=0.001):
    with open(path, "w", newline="") as f:
        f.write("peer benchmark data\r\nx y\r\n")
        f.write("".join(f"{i * dt:.6f} {v:.9g}\r\n" for i, v in enumerate(y)))


def write_answer(path, data, method, npoints, **kw):
    a = {"npoles": -999, "nzeros": -999, "eps": "1.e-15", "mode": -999, "meqs": -999,
         "lpts": -999, "mlag": -999, "nit": -999, "per": -999, "window": -999}
    a.update(kw)
    lines = ["peer.1", data, "2", "0", "Real", "-999", method, "No", str(npoints)]
    lines += [str(a[k]) for k in ("npoles", "nzeros", "eps", "mode", "meqs", "lpts", "mlag",
                                  "nit", "per", "window")]
    lines += ["peer comparison", "same file, same parameters"]
    with open(path, "w", newline="") as f:
        f.write("".join(line + "  \t\t! \r\n" for line in lines))


# ---- the peers' whole jobs -------------------------------------------------------------------

def read_samples(path):
    """The y column after the two header records, by NumPy's C text parser."""
    with open(path, "rb") as f:
        f.readline()
        f.readline()
        values = np.fromstring(f.read().decode("ascii"), sep=" ")  # noqa: NPY (fastest parser)
    return values[1::2]


def db(p):
    return 10.0 * np.log10(p / p.max())


def ar_db(a, sig2, nfft):
    """AR spectrum 10 log10(sig2 / |A(f)|^2) in dB, A = 1 + a(1) z^-1 + ..."""
    return db(sig2 / np.abs(np.fft.rfft(np.r_[1.0, a], nfft)) ** 2)


def peer_periodogram(path, n):
    y = read_samples(path)
    _, p = scipy.signal.periodogram(y, window="hann", nfft=n, detrend=False)
    return db(p[1:] + 1e-300)


def peer_blackman_tukey(path, n, mlag):
    y = read_samples(path)
    m = len(y)
    f = np.fft.rfft(y, 2 * m)
    r = np.fft.irfft(f * f.conj())[: mlag + 1] / m  # biased lags by FFT
    w = np.hanning(2 * mlag + 3)[mlag + 1:-1]  # lag window, w[0] = 1
    lags = np.zeros(n)
    lags[: mlag + 1] = r * w
    lags[-mlag:] = (r[1:] * w[1:])[::-1]
    return db(np.abs(np.fft.rfft(lags)))


def peer_yule_walker(path, n, p):
    y = read_samples(path)
    rho, sigma = yule_walker(y, order=p, method="mle")
    return ar_db(-rho, sigma ** 2, n)


def peer_burg(path, n, p):
    y = read_samples(path)
    rho, sig2 = burg(y, order=p)
    return ar_db(-rho, sig2, n)


def peer_covariance(path, n, p, modified):
    y = read_samples(path)
    m = len(y)
    rows = np.lib.stride_tricks.sliding_window_view(y, p + 1)  # y(t-p) .. y(t)
    X, b = rows[:, :p][:, ::-1], rows[:, p]
    if modified:  # backward equations too
        X = np.vstack([X, rows[:, 1:]])
        b = np.r_[b, rows[:, 0]]
    coef, res, *_ = np.linalg.lstsq(X, b, rcond=None)
    sig2 = float(res[0]) / len(b) if res.size else 1.0
    return ar_db(-coef, sig2, n)


def peer_mvse(path, n, p, L):
    y = read_samples(path)
    m = len(y)
    rows = np.lib.stride_tricks.sliding_window_view(y, p)
    R = (rows.T @ rows) / (m - p + 1)
    Ri = scipy.linalg.inv(R, overwrite_a=True, check_finite=False)
    c = np.zeros(L)
    for d in range(-(p - 1), p):  # sums along the diagonals, then one transform
        c[d % L] += np.trace(Ri, offset=d)
    s = np.fft.fft(c).real
    return 20.0 * np.log10((1.0 / s) / (1.0 / s).max())


# ---- timing -----------------------------------------------------------------------------------

def best(call):
    times = []
    for _ in range(REPEATS):
        t0 = time.perf_counter()
        call()
        times.append(time.perf_counter() - t0)
    return min(times)


def main():
    folder = tempfile.mkdtemp(prefix="peers-")
    os.chdir(folder)
    print(f"{'method':<24}{'n':>7}{'peer ms':>10}{'engine ms':>11}{'ratio':>8}")
    for n in (1024, 16384):
        data = os.path.join(folder, f"arma{n}.rda")
        write_data(data, arma_signal(n))
        p = 20
        mlag = n // 8
        cases = [
            ("Periodogram", dict(window="Hanning"), lambda: peer_periodogram(data, n)),
            ("Blackman-Tukey", dict(mode=1, mlag=mlag, window="Hanning"),
             lambda: peer_blackman_tukey(data, n, mlag)),
            ("Auto-Correlation", dict(npoles=p), lambda: peer_yule_walker(data, n, p)),
            ("Burg", dict(npoles=p), lambda: peer_burg(data, n, p)),
            ("Covariance", dict(npoles=p), lambda: peer_covariance(data, n, p, False)),
            ("Modified Covariance", dict(npoles=p),
             lambda: peer_covariance(data, n, p, True)),
            ("MVSE", dict(npoles=p, mode=0, lpts=n), lambda: peer_mvse(data, n, p, n)),
        ]
        for method, kw, peer in cases:
            answer = os.path.join(folder, "peer.1")
            write_answer(answer, data, method, n, **kw)
            log = os.path.join(folder, "~Tirelle.out")
            # The run as voxtrel-run makes it: the log written beside the answer file.
            engine = best(lambda: _tessivar.run_answer_file(answer, log))
            result = _tessivar.run_answer_file(answer, log)
            assert os.path.getsize(log) > 0 and len(result["db"]) > 0, method
            other = best(peer)
            print(f"{method:<24}{n:>7}{other * 1e3:>10.2f}{engine * 1e3:>11.2f}"
                  f"{other / engine:>8.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
