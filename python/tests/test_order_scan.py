"""tessivar.order_scan: the error powers against the estimating functions, the criteria
computed from them, recovery of known AR orders, and the errors."""

import numpy as np
import pytest

import tessivar


def ar_series(a, n, seed):
    """n samples of x(t) = -sum_k a(k) x(t-k) + e(t), unit white noise, after a burn-in."""
    rng = np.random.default_rng(seed)
    e = rng.standard_normal(n + 500)
    x = np.zeros(n + 500)
    for t in range(n + 500):
        x[t] = e[t] - sum(a[k] * x[t - k - 1] for k in range(min(len(a), t)))
    return x[500:]


def resonance_product(*poles):
    """AR coefficients a(1..2m) with pole pairs at (radius, frequency)."""
    p = np.array([1.0])
    for rad, f in poles:
        p = np.convolve(p, [1.0, -2 * rad * np.cos(2 * np.pi * f), rad * rad])
    return p[1:]


AR4 = resonance_product((0.95, 0.1), (0.9, 0.3))
AR6 = resonance_product((0.95, 0.08), (0.9, 0.22), (0.85, 0.38))


def criteria(rho, n):
    """FPE, AIC, MDL and CAT of error powers rho(1..K), n the effective number of errors."""
    k = np.arange(1, rho.size + 1)
    fpe = rho * (n + k + 1) / (n - k - 1)
    aic = n * np.log(rho) + 2 * k
    mdl = n * np.log(rho) + k * np.log(n)
    inv_rhobar = (n - k) / (n * rho)
    cat = np.cumsum(inv_rhobar) / n - inv_rhobar
    return fpe, aic, mdl, cat


@pytest.mark.parametrize("method, fit", [("yule_walker", tessivar.yule_walker),
                                         ("burg", tessivar.burg),
                                         ("modified_covariance", tessivar.modified_covariance)])
@pytest.mark.parametrize("precision", ["single", "double"])
def test_rho_is_each_orders_noise_variance_and_the_criteria_follow(method, fit, precision):
    x = ar_series(AR4, 300, seed=8)
    scan = tessivar.order_scan(x, method, 8, precision=precision)
    np.testing.assert_array_equal(scan.orders, np.arange(1, 9))
    for k in (1, 4, 8):
        # The fit's sig2 is handed back in single precision.
        assert np.float32(scan.rho[k - 1]) == fit(x, n_poles=k, precision=precision).sig2
    n = x.size - (scan.orders if method == "modified_covariance" else 0)
    want = criteria(scan.rho, n)
    for got, ref in zip((scan.fpe, scan.aic, scan.mdl, scan.cat), want):
        np.testing.assert_allclose(got, ref, rtol=1e-12)
    assert scan.picks == {name: int(np.argmin(ref)) + 1
                          for name, ref in zip(("fpe", "aic", "mdl", "cat"), want)}


@pytest.mark.parametrize("a, order", [(AR4, 4), (AR6, 6)], ids=["AR(4)", "AR(6)"])
@pytest.mark.parametrize("method", ["burg", "covariance"])
def test_aic_and_mdl_find_the_true_order_in_most_seeds(a, order, method):
    picks = [tessivar.order_scan(ar_series(a, 1000, seed), method, 20).picks
             for seed in range(10)]
    assert sum(p["aic"] == order for p in picks) >= 6
    assert sum(p["mdl"] == order for p in picks) >= 8


def test_complex_samples_and_the_default_maximum():
    rng = np.random.default_rng(2)
    z = rng.standard_normal(60) + 1j * rng.standard_normal(60)
    scan = tessivar.order_scan(z, "covariance")
    assert scan.orders[-1] == 29  # min(60 // 2, 50), lowered to (60 - 2) // 2
    assert np.all(np.isfinite(scan.cat))


@pytest.mark.parametrize("call, message", [
    (lambda x: tessivar.order_scan(x, "periodogram"), "method = 'periodogram' is not one of"),
    (lambda x: tessivar.order_scan(x, "burg", 99),
     "maxOrder = 99 is out of range: 1 <= maxOrder <= 98 for 100 samples"),
    (lambda x: tessivar.order_scan(x, "covariance", -3), "maxOrder = -3 is out of range"),
    (lambda x: tessivar.order_scan(x, "burg", 2.5), "max_order = 2.5 must be a whole number"),
    (lambda x: tessivar.order_scan(x.reshape(10, 10)), "x has 2 dimensions"),
])
def test_bad_parameters_raise_value_error_naming_them(call, message):
    with pytest.raises(ValueError, match=message.replace("(", r"\(").replace(")", r"\)")):
        call(ar_series(AR4, 100, seed=1))


def test_all_zero_data_raise_estimation_error():
    with pytest.raises(tessivar.EstimationError, match="the lag-0 power is zero"):
        tessivar.order_scan(np.zeros(64), "lockheed", 4)
