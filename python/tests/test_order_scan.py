"""tessivar.order_scan: the criteria against a double-precision computation, recovery of
known AR orders, and its errors."""

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


def levinson_rho(x, order):
    """Yule-Walker error powers rho(1..order) from the biased lags, in double precision."""
    n = x.size
    r = np.array([np.dot(x[: n - k], x[k:]) / n for k in range(order + 1)])
    a = np.zeros(0)
    rho, out = r[0], []
    for k in range(1, order + 1):
        refl = -(r[k] + np.dot(a, r[k - 1:0:-1])) / rho
        a = np.concatenate([a + refl * a[::-1], [refl]])
        rho *= 1 - refl * refl
        out.append(rho)
    return np.array(out)


def criteria(rho, n):
    """FPE, AIC, MDL and CAT of error powers rho(1..K) from n samples."""
    k = np.arange(1, rho.size + 1)
    fpe = rho * (n + k + 1) / (n - k - 1)
    aic = n * np.log(rho) + 2 * k
    mdl = n * np.log(rho) + k * np.log(n)
    inv_rhobar = (n - k) / (n * rho)
    cat = np.cumsum(inv_rhobar) / n - inv_rhobar
    return fpe, aic, mdl, cat


def test_criteria_equal_a_double_precision_computation():
    x = ar_series(AR4, 400, seed=8)
    scan = tessivar.order_scan(x, "yule_walker", 12)
    rho = levinson_rho(x.astype(np.float32).astype(np.float64), 12)
    np.testing.assert_array_equal(scan.orders, np.arange(1, 13))
    np.testing.assert_allclose(scan.rho, rho, rtol=1e-4)
    fpe, aic, mdl, cat = criteria(rho, x.size)
    np.testing.assert_allclose(scan.fpe, fpe, rtol=1e-4)
    np.testing.assert_allclose(scan.aic, aic, atol=1e-4 * x.size)
    np.testing.assert_allclose(scan.mdl, mdl, atol=1e-4 * x.size)
    np.testing.assert_allclose(scan.cat, cat, rtol=1e-3)
    assert scan.picks == {"fpe": int(np.argmin(fpe)) + 1, "aic": int(np.argmin(aic)) + 1,
                          "mdl": int(np.argmin(mdl)) + 1, "cat": int(np.argmin(cat)) + 1}
    assert scan.samples_used == 400


@pytest.mark.parametrize("a, order", [(AR4, 4), (AR6, 6)], ids=["AR(4)", "AR(6)"])
@pytest.mark.parametrize("method", ["burg", "yule_walker", "modified_covariance"])
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
