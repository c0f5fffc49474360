"""Spectral estimation with the voxtrel engine, for NumPy arrays.

Fourteen estimators of the power spectral density (PSD): the classical
periodogram and Blackman-Tukey estimates, autoregressive (AR) models
(Yule-Walker, Burg, covariance, modified covariance, recursive maximum
likelihood), moving-average (MA) and ARMA models (modified Yule-Walker, its
least-squares form, Mayne-Firoozan, Durbin, Akaike's maximum likelihood,
Lockheed), and the minimum-variance spectrum.

Each function takes the samples as a one-dimensional array, real or complex
(any float dtype: in double precision they are taken as float64 or complex128,
in single precision converted once to float32 or complex64), and keyword
parameters with the
answer file's names, defaults and limits. It returns a :class:`Result`.
``precision="double"`` carries the estimator's arithmetic in double precision,
which gives the right numbers on ill-conditioned data (a large DC offset,
high orders, closely spaced poles); ``precision="single"`` gives the classic
numbers.

:func:`order_scan` helps to choose the AR order: it fits the orders 1..K and
returns the final prediction error (FPE), Akaike's information criterion (AIC),
the minimum description length (MDL) and Parzen's CAT for each, with the order
each criterion picks.

Bad parameters raise :class:`ValueError` naming the parameter and its range;
a failure of the estimator on the data raises :class:`EstimationError`, whose
``log`` holds the engine's run log.
"""

from __future__ import annotations

import os
import tempfile

import numpy as np

from . import _tessivar

__all__ = [
    "Result", "EstimationError", "periodogram", "blackman_tukey", "yule_walker", "burg",
    "covariance", "modified_covariance", "lockheed", "minimum_variance", "mywe", "lsmywe",
    "mayne_firoozan", "durbin", "akaike", "rmle", "run_answer_file", "OrderScan", "order_scan",
]

# The engine's method numbers, in the order of the answer file's method table.
_METHODS = {
    "yule_walker": 1, "burg": 2, "rmle": 3, "covariance": 4, "modified_covariance": 5,
    "mywe": 6, "lsmywe": 7, "akaike": 8, "mayne_firoozan": 9, "durbin": 10,
    "periodogram": 11, "blackman_tukey": 12, "minimum_variance": 13, "lockheed": 14,
}

# The estimators' arithmetic when the caller does not choose one: double precision, the
# arithmetic NumPy users expect ("single" gives the classic numbers). The functions and their
# docstrings follow this one line.
_PRECISION = "double"
_PRECISIONS = ("single", "double")

# The answer file's defaults for the questions a method does not ask.
_DEFAULTS = dict(n_poles=10, n_zeros=0, eps=1e-15, mode=0, m_eqs=15, l_pts=18, m_lag=30,
                 nit=99, per=0.01, window="Rectangular")


class EstimationError(RuntimeError):
    """The estimator failed on the data (a singular system, a model that is not
    minimum-phase, a spectrum that cannot be shown in dB).

    Attributes
    ----------
    log : str
        The engine's run log, which says why.
    """

    def __init__(self, message, log=""):
        super().__init__(message)
        self.log = log


class Result:
    """The outcome of one estimation.

    The arrays are single precision in either arithmetic: with
    ``precision="double"`` the values are computed in double precision and
    rounded once, at the end.

    Attributes
    ----------
    freq : ndarray of float32
        The frequency axis, in cycles per unit of the sample interval.
    psd : ndarray of float32
        The power spectral density on ``freq``, linear.
    db : ndarray of float32
        The PSD in dB relative to its maximum, floored at -100 dB.
    ar, ma : ndarray of complex64
        The model's AR coefficients a(1..p) and MA coefficients b(1..q), for
        the methods that fit a model; empty otherwise.
    sig2 : float
        The model's driving-noise variance.
    peaks : ndarray of shape (k, 2)
        The local maxima of ``db``: rows of (frequency, dB).
    log : str
        The engine's run log (when asked for with ``log=True``).
    status : str
        ``"ok"``.
    samples_used : int
        How many samples the estimate used (at most ``n_points``).
    """

    def __init__(self, d):
        self.freq = d["freq"]
        self.psd = d["psd"]
        self.db = d["db"]
        self.ar = d["ar"]
        self.ma = d["ma"]
        self.sig2 = float(d["sig2"])
        self.peaks = np.column_stack([d["peaks"]["freq"], d["peaks"]["db"]]).astype(np.float32)
        self.log = d["log"]
        self.status = d["status"]
        self.samples_used = int(d["samples_used"])

    def __repr__(self):
        return (f"Result(status={self.status!r}, points={self.freq.size}, "
                f"samples_used={self.samples_used}, peaks={len(self.peaks)})")


def _outcome(d):
    if d["status"] == "ok":
        return Result(d)
    if d["status"] == "bad parameter":
        raise ValueError(d["message"])
    raise EstimationError(d["message"] + "\n" + d["log"].replace("\r\n", "\n"), d["log"])


def _is_double(precision):
    """True for "double", False for "single"; anything else is a ValueError naming the
    parameter."""
    if not isinstance(precision, str) or precision not in _PRECISIONS:
        raise ValueError(f'precision = {precision!r} must be "single" or "double"')
    return precision == "double"


def _typed(a, double):
    """The samples as the engine's entries take them (float32 or complex64, float64 or
    complex128 in double precision) and the entries' suffix for that type."""
    if np.iscomplexobj(a):
        return (np.ascontiguousarray(a, np.complex128 if double else np.complex64),
                "complex_wide" if double else "complex")
    return (np.ascontiguousarray(a, np.float64 if double else np.float32),
            "real_wide" if double else "real")


def _estimate(name, x, sample_interval, n_points, negative_frequencies, log, precision,
              **params):
    a = np.asarray(x)
    if a.ndim != 1:
        raise ValueError(f"x has {a.ndim} dimensions; give the samples as a one-dimensional array")
    kw = dict(_DEFAULTS)
    kw.update(params)
    kw.update(sample_interval=float(sample_interval), n_points=int(n_points or 0),
              negative_frequencies=bool(negative_frequencies), want_log=bool(log))
    kw["window"] = str(kw["window"])
    kw["double_precision"] = _is_double(precision)
    for key in ("n_poles", "n_zeros", "mode", "m_eqs", "l_pts", "m_lag", "nit"):
        if int(kw[key]) != kw[key]:
            raise ValueError(f"{key} = {kw[key]!r} must be a whole number")
        kw[key] = int(kw[key])
    samples, kind = _typed(a, kw["double_precision"])
    d = getattr(_tessivar, "estimate_" + kind)(_METHODS[name], samples, kw)
    return _outcome(d)


_COMMON = """
    x : array_like, 1-D
        The samples, real or complex, equally spaced in time.
    sample_interval : float, optional
        Time between samples (> 0); the frequency axis is in its reciprocal units.
        Default 1.
    n_points : int, optional
        Transform size, raised to a power of two (1 <= n_points <= 16777216);
        samples beyond it are not used. Default: the smallest power of two that
        holds all the samples.
    negative_frequencies : bool, optional
        Return the two-sided spectrum. Default False.
    log : bool, optional
        Keep the engine's run log in ``Result.log``: the method's notes, the
        parameters and what the estimator wrote, as the file-driven run writes
        them after reading its answer file. Without it no log is written at all
        (a failure still brings its log). Default False.
    precision : {"single", "double"}, optional
        The estimator's arithmetic. "single" gives the classic numbers: single
        precision, with double-precision sums where the method keeps them.
        "double" takes the samples as float64 or complex128, carries every step
        in double precision and rounds the results once, at the end, so the
        arrays keep their single-precision dtypes. Default "%s"."""

_RETURNS = """
    Returns
    -------
    Result
        ``freq``, ``psd``, ``db``, ``ar``, ``ma``, ``sig2``, ``peaks``, ``log``.

    Raises
    ------
    ValueError
        A parameter out of range, or a precision that is neither "single" nor
        "double"; the message names it.
    EstimationError
        The estimator failed on these data; the message and ``log`` say why.
"""

_NOTES = """
    Notes
    -----
    The default precision is "%s". Single precision reproduces the classic
    numbers (those of the program and its run logs); double precision gives
    the right numbers where single precision is off on ill-conditioned data.
"""


def _doc(summary, params=""):
    return f"""{summary}

    Parameters
    ----------{_COMMON % _PRECISION}{params}
{_RETURNS}{_NOTES % _PRECISION}"""


_P = """
    n_poles : int, optional
        AR model order p, 0 <= p <= 210 and at most n_points. Default 10."""
_Q = """
    n_zeros : int, optional
        MA model order q, 0 <= q <= 200. Default 0."""
_EPS = """
    eps : float, optional
        Threshold below which a pivot of the linear solver counts as zero
        (ill-conditioning). Default 1e-15."""
_MEQS = """
    m_eqs : int, optional
        Number of equations M, p + q <= M <= samples used (M = samples used is
        a good start). Default 15."""
_L = """
    l_pts : int, optional
        The large AR order L of the first stage (n_points / 5 usually works
        well). Default 18."""


def periodogram(x, *, window="Rectangular", sample_interval=1.0, n_points=None,
                negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("periodogram", x, sample_interval, n_points, negative_frequencies, log,
                     precision, window=window)


periodogram.__doc__ = _doc(
    "Periodogram: the squared magnitude of the windowed data's Fourier transform.",
    """
    window : str, optional
        Data window: "Rectangular" (or "None"), "Barlett", "Hanning", "Hamming"
        or "Blackman". Default "Rectangular".""")


def blackman_tukey(x, *, m_lag=30, mode=0, sample_interval=1.0, n_points=None,
                   negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("blackman_tukey", x, sample_interval, n_points, negative_frequencies, log,
                     precision, m_lag=m_lag, mode=mode)


blackman_tukey.__doc__ = _doc(
    "Blackman-Tukey: the Fourier transform of the autocorrelation estimate under a Bartlett "
    "lag window.",
    """
    m_lag : int, optional
        Largest lag M, 1 <= M and 2M + 2 <= samples used. Default 30.
    mode : int, optional
        Autocorrelation estimate: 0 unbiased (divided by n - k), 1 biased. Default 0.""")


def yule_walker(x, *, n_poles=10, sample_interval=1.0, n_points=None,
                negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("yule_walker", x, sample_interval, n_points, negative_frequencies, log,
                     precision, n_poles=n_poles)


yule_walker.__doc__ = _doc(
    "Yule-Walker (autocorrelation method): an AR model from the biased autocorrelation "
    "estimate, solved by the Levinson recursion.", _P)


def burg(x, *, n_poles=10, sample_interval=1.0, n_points=None, negative_frequencies=False,
         log=False, precision=_PRECISION):
    return _estimate("burg", x, sample_interval, n_points, negative_frequencies, log, precision,
                     n_poles=n_poles)


burg.__doc__ = _doc(
    "Burg: an AR model whose reflection coefficients minimise the sum of the forward and "
    "backward prediction-error powers, stage by stage.", _P)


def covariance(x, *, n_poles=10, eps=1e-15, sample_interval=1.0, n_points=None,
               negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("covariance", x, sample_interval, n_points, negative_frequencies, log,
                     precision, n_poles=n_poles, eps=eps)


covariance.__doc__ = _doc(
    "Covariance method: an AR model minimising the forward prediction error over the data "
    "alone (least squares, no windowing).", _P + _EPS)


def modified_covariance(x, *, n_poles=10, eps=1e-15, sample_interval=1.0, n_points=None,
                        negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("modified_covariance", x, sample_interval, n_points,
                     negative_frequencies, log, precision, n_poles=n_poles, eps=eps)


modified_covariance.__doc__ = _doc(
    "Modified covariance (forward-backward) method: an AR model minimising the forward and "
    "backward prediction errors together.", _P + _EPS)


def lockheed(x, *, n_poles=10, n_zeros=0, sample_interval=1.0, n_points=None,
             negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("lockheed", x, sample_interval, n_points, negative_frequencies, log, precision,
                     n_poles=n_poles, n_zeros=n_zeros)


lockheed.__doc__ = _doc(
    "Lockheed method: an ARMA-shaped spectrum from two AR fits of the same data, the "
    "autocorrelation-method model of order p over the Burg prediction-error filter of order q.", _P + _Q)


def minimum_variance(x, *, n_poles=10, l_pts=18, eps=1e-15, mode=0, sample_interval=1.0,
                     n_points=None, negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("minimum_variance", x, sample_interval, n_points, negative_frequencies,
                     log, precision, n_poles=n_poles, l_pts=l_pts, eps=eps, mode=mode)


minimum_variance.__doc__ = _doc(
    "Minimum-variance (Capon) spectrum: the power passed by the filter of least output "
    "variance that passes each frequency undistorted.", _P + """
    l_pts : int, optional
        Number of frequency points L, 2 <= L <= n_points. Default 18.""" + _EPS + """
    mode : int, optional
        Scaling: 0 gives 1 / (e^H R^-1 e), 1 gives n_poles / (e^H R^-1 e). Default 0.""")


def mywe(x, *, n_poles=10, n_zeros=0, eps=1e-15, sample_interval=1.0, n_points=None,
         negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("mywe", x, sample_interval, n_points, negative_frequencies, log, precision,
                     n_poles=n_poles, n_zeros=n_zeros, eps=eps)


mywe.__doc__ = _doc(
    "Modified Yule-Walker equations: an ARMA model whose AR part solves the autocorrelation "
    "equations beyond lag q.", _P + _Q + _EPS)


def lsmywe(x, *, n_poles=10, n_zeros=0, eps=1e-15, m_eqs=15, sample_interval=1.0,
           n_points=None, negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("lsmywe", x, sample_interval, n_points, negative_frequencies, log, precision,
                     n_poles=n_poles, n_zeros=n_zeros, eps=eps, m_eqs=m_eqs)


lsmywe.__doc__ = _doc(
    "Least-squares modified Yule-Walker equations: the ARMA model's AR part fitted to M "
    "equations in the least-squares sense.", _P + _Q + _EPS + _MEQS)


def mayne_firoozan(x, *, n_poles=10, n_zeros=0, eps=1e-15, l_pts=18, sample_interval=1.0,
                   n_points=None, negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("mayne_firoozan", x, sample_interval, n_points, negative_frequencies,
                     log, precision, n_poles=n_poles, n_zeros=n_zeros, eps=eps, l_pts=l_pts)


mayne_firoozan.__doc__ = _doc(
    "Mayne-Firoozan: an ARMA model by least squares on the innovations of a large AR model.",
    _P + _Q + _EPS + _L)


def durbin(x, *, n_zeros=0, l_pts=18, sample_interval=1.0, n_points=None,
           negative_frequencies=False, log=False, precision=_PRECISION):
    return _estimate("durbin", x, sample_interval, n_points, negative_frequencies, log, precision,
                     n_zeros=n_zeros, l_pts=l_pts)


durbin.__doc__ = _doc(
    "Durbin: an MA model fitted to the coefficients of a large AR model.", _Q + """
    l_pts : int, optional
        The large AR order L, n_zeros <= L <= min(n_points, 411). Default 18.""")


def akaike(x, *, n_poles=10, n_zeros=0, eps=1e-15, m_eqs=15, nit=99, per=0.01,
           sample_interval=1.0, n_points=None, negative_frequencies=False, log=False,
           precision=_PRECISION):
    return _estimate("akaike", x, sample_interval, n_points, negative_frequencies, log, precision,
                     n_poles=n_poles, n_zeros=n_zeros, eps=eps, m_eqs=m_eqs, nit=nit, per=per)


akaike.__doc__ = _doc(
    "Akaike's maximum-likelihood ARMA estimate (real data only), by Newton-Raphson steps from "
    "the least-squares modified Yule-Walker model.", _P + _Q + _EPS + _MEQS + """
    nit : int, optional
        Most iterations allowed. Default 99.
    per : float, optional
        Stop when the change from the previous iteration is below this percentage.
        Default 0.01.""")


def rmle(x, *, n_poles=10, sample_interval=1.0, n_points=None, negative_frequencies=False,
         log=False, precision=_PRECISION):
    return _estimate("rmle", x, sample_interval, n_points, negative_frequencies, log, precision,
                     n_poles=n_poles)


rmle.__doc__ = _doc(
    "Recursive maximum-likelihood estimate of an AR model (real data only).", _P)


def run_answer_file(path, *, precision=_PRECISION):
    """Run an answer file as the program does.

    Parameters
    ----------
    path : str or os.PathLike
        The answer file; its data file is found as the program finds it.
    precision : {"single", "double"}, optional
        The estimator's arithmetic, as ``voxtrel-run --precision``: "single"
        gives the classic numbers and run log; "double" computes in double
        precision and says so in the run log. Default "%s".

    Returns
    -------
    Result
        The same result as the estimating functions, with the run log in ``log``.

    Raises
    ------
    ValueError
        The answer file or its data file cannot be opened, or ``precision`` is
        neither "single" nor "double".
    EstimationError
        The estimator failed, or the run was stopped (a parameter out of range);
        the message and ``log`` say why.
    """
    double = _is_double(precision)
    with tempfile.TemporaryDirectory() as folder:
        d = _tessivar.run_answer_file(os.fspath(path), os.path.join(folder, "~Tirelle.out"),
                                      double)
    return _outcome(d)


if run_answer_file.__doc__:  # None under python -OO
    run_answer_file.__doc__ %= _PRECISION


# The methods whose prediction-error power the order scan takes, with their engine numbers.
_SCAN_METHODS = {"yule_walker": 1, "autocorrelation": 1, "burg": 2, "covariance": 4,
                 "modified_covariance": 5, "lockheed": 14}


class OrderScan:
    """The outcome of an order scan.

    Attributes
    ----------
    orders : ndarray of int32
        The orders scanned, 1..max_order.
    rho : ndarray of float64
        The prediction-error power of each order's fit (computed in single
        precision).
    fpe, aic, mdl, cat : ndarray of float64
        The four criteria for each order (NaN where the power is not above zero).
    picks : dict
        The order where each criterion is smallest: keys ``"fpe"``, ``"aic"``,
        ``"mdl"``, ``"cat"``.
    method : str
        The method scanned.
    samples_used : int
        The number of samples N.
    """

    def __init__(self, d, method):
        self.orders = d["orders"]
        self.rho = d["rho"]
        self.fpe = d["fpe"]
        self.aic = d["aic"]
        self.mdl = d["mdl"]
        self.cat = d["cat"]
        self.picks = {k: int(v) for k, v in d["picks"].items()}
        self.method = method
        self.samples_used = int(d["samples_used"])

    def __repr__(self):
        return (f"OrderScan(method={self.method!r}, orders=1..{self.orders.size}, "
                f"picks={self.picks})")


def order_scan(x, method="burg", max_order=None, *, eps=1e-15, precision=_PRECISION):
    """Choose the AR order: fit orders 1..max_order and judge each by four criteria.

    The prediction-error power rho(k) of each order k comes from one Levinson
    (Yule-Walker, Lockheed's AR part) or Burg recursion, or from one least-squares
    solve per order (covariance, modified covariance). With N the effective number
    of prediction errors (the samples, or N - k for the covariance methods, whose
    order-k filter fits over N - k samples) and rhobar(j) = N rho(j) / (N - j)::

        FPE(k) = rho(k) (N + k + 1) / (N - k - 1)
        AIC(k) = N ln rho(k) + 2 k
        MDL(k) = N ln rho(k) + k ln N
        CAT(k) = (1/N) sum_{j=1..k} 1 / rhobar(j) - 1 / rhobar(k)

    Each criterion picks the order where it is smallest.

    Parameters
    ----------
    x : array_like, 1-D
        The samples, real or complex, equally spaced in time. Samples beyond
        1e10 in magnitude, or not a number, count as zero.
    method : str, optional
        ``"burg"`` (default), ``"yule_walker"`` (or ``"autocorrelation"``),
        ``"covariance"``, ``"modified_covariance"`` or ``"lockheed"`` (its AR
        part, the autocorrelation method).
    max_order : int, optional
        The highest order, 1 <= max_order <= min(210, N - 2), or
        min(210, (N - 2) // 2) for the covariance methods. Default
        min(N // 2, 50), lowered to that limit.
    eps : float, optional
        The covariance methods' threshold below which a pivot counts as zero.
        Default 1e-15.
    precision : {"single", "double"}, optional
        The fits' arithmetic, as for the estimators: "double" takes the samples
        as float64 or complex128, "single" as float32 or complex64. Default
        "double".

    Returns
    -------
    OrderScan
        ``orders``, ``rho``, ``fpe``, ``aic``, ``mdl``, ``cat`` and ``picks``.

    Raises
    ------
    ValueError
        An unknown method or a parameter out of range; the message names it and
        its range.
    EstimationError
        The fit failed at some order (all-zero data, a singular system); the
        message says why.

    Examples
    --------
    >>> import numpy as np, tessivar
    >>> rng = np.random.default_rng(1)
    >>> e = rng.standard_normal(1000)
    >>> x = np.zeros(1000)
    >>> for t in range(2, 1000):
    ...     x[t] = 1.5 * x[t - 1] - 0.9 * x[t - 2] + e[t]
    >>> tessivar.order_scan(x, "burg", 10).picks["mdl"]
    2
    """
    if method not in _SCAN_METHODS:
        raise ValueError(f"method = {method!r} is not one of " + ", ".join(_SCAN_METHODS))
    a = np.asarray(x)
    if a.ndim != 1:
        raise ValueError(f"x has {a.ndim} dimensions; give the samples as a one-dimensional array")
    if max_order is None:
        max_order = 0  # the engine's default
    if int(max_order) != max_order:
        raise ValueError(f"max_order = {max_order!r} must be a whole number")
    number = _SCAN_METHODS[method]
    max_order = max(-2**31, min(int(max_order), 2**31 - 1))  # the engine's int; it checks range
    double = _is_double(precision)
    samples, kind = _typed(a, double)
    d = getattr(_tessivar, "order_scan_" + kind)(number, samples, max_order, float(eps), double)
    if d["status"] == "ok":
        return OrderScan(d, method)
    if d["status"] == "bad parameter":
        raise ValueError(d["message"])
    raise EstimationError(d["message"] + "\n" + d["log"].replace("\r\n", "\n"), d["log"])
