"""Per-call time of tessivar.burg at 1,024 real points (p = 20), the same call as the C++ row
BM_EstimateBurg1024 of voxtrel-bench; the difference is what a call from Python adds
(target: under 20 microseconds).

    PYTHONPATH=build-bench/python /usr/bin/python3 bench/python_overhead.py
"""

import timeit

import numpy as np

import tessivar


def main():
    i = np.arange(1024, dtype=np.float64)
    y = (np.cos(0.6 * i) + 0.1 * np.sin(7.3 * i * i)).astype(np.float32)
    n, total = timeit.Timer(lambda: tessivar.burg(y, n_poles=20)).autorange()
    best = min(timeit.repeat(lambda: tessivar.burg(y, n_poles=20), number=n, repeat=5)) / n
    print(f"Python/burg-1024: {best * 1e6:.1f} us per call "
          f"(compare BM_EstimateBurg1024 of voxtrel-bench)")


if __name__ == "__main__":
    main()
