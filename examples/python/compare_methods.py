"""Estimate one data set with four methods and plot the spectra in dB.

Two sinusoids close in frequency (100 and 112 Hz) in white noise: the printed
peaks and the plot show how each method resolves them at these orders (at this
noise level the order-16 models merge them; raise n_poles or lower the noise to
see the AR methods split them). Run from the repository after building:

    PYTHONPATH=build/python python3 examples/python/compare_methods.py

The plot needs matplotlib; without it the peaks are printed only.
"""

import numpy as np

import tessivar


def main():
    rng = np.random.default_rng(1)
    dt = 1e-3  # 1 kHz sampling
    t = np.arange(256) * dt
    x = (np.cos(2 * np.pi * 100 * t) + np.cos(2 * np.pi * 112 * t)
         + 0.3 * rng.standard_normal(t.size))

    results = {
        "Periodogram (Hanning)": tessivar.periodogram(x, window="Hanning", sample_interval=dt,
                                                      n_points=1024),
        "Burg, p = 16": tessivar.burg(x, n_poles=16, sample_interval=dt, n_points=1024),
        "Modified covariance, p = 16": tessivar.modified_covariance(
            x, n_poles=16, eps=1e-6, sample_interval=dt, n_points=1024),
        "Minimum variance, p = 16": tessivar.minimum_variance(
            x, n_poles=16, l_pts=512, eps=1e-6, sample_interval=dt, n_points=1024),
    }
    for name, r in results.items():
        top = r.peaks[np.argsort(r.peaks[:, 1])[::-1][:2]]
        print(f"{name:30s} highest peaks at {', '.join(f'{f:.1f} Hz' for f in top[:, 0])}")

    try:
        import matplotlib.pyplot as plt
    except ImportError:
        print("matplotlib is not installed: no plot")
        return
    fig, ax = plt.subplots(figsize=(8, 5))
    for name, r in results.items():
        ax.plot(r.freq, r.db, label=name)
    ax.set_xlabel("Frequency (Hz)")
    ax.set_ylabel("PSD (dB)")
    ax.set_xlim(0, 250)
    ax.legend()
    ax.grid(True)
    plt.show()


if __name__ == "__main__":
    main()
