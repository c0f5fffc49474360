"""Per-call time of tessivar.burg at 1,024 real points (p = 20), the same call as the C++ row
BM_EstimateBurg1024 of voxtrel-bench; the difference is what a call from Python adds
(target: under 20 microseconds).

    PYTHONPATH=build-bench/python /usr/bin/python3 bench/python_overhead.py

Both the wall-clock time and the process's CPU time are given, each the best of several
repetitions: on a machine shared with other work compare the CPU time with the C++ row's CPU
column. The row with the log asked for adds the formatting of the run log.
"""

import time
import timeit

import numpy as np

import tessivar


def best(call, clock):
    n, _ = timeit.Timer(call, timer=clock).autorange()
    return min(timeit.repeat(call, number=n, repeat=7, timer=clock)) / n


def main():
    i = np.arange(1024, dtype=np.float64)
    y = (np.cos(0.6 * i) + 0.1 * np.sin(7.3 * i * i)).astype(np.float32)
    rows = [("Python/burg-1024", lambda: tessivar.burg(y, n_poles=20)),
            ("Python/burg-1024/log", lambda: tessivar.burg(y, n_poles=20, log=True))]
    for name, call in rows:
        wall, cpu = best(call, time.perf_counter), best(call, time.process_time)
        print(f"{name:<24}{wall * 1e6:8.1f} us wall {cpu * 1e6:8.1f} us CPU")
    print("(compare BM_EstimateBurg1024 of voxtrel-bench)")


if __name__ == "__main__":
    main()
