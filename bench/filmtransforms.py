#!/usr/bin/python3
"""Times what a general-purpose library needs for the films of the film-worker benchmarks.

On the pillar volume of bench/pillarvolume.h (200 x 200 x 100 cells), the isotropic deposition
of 10 is the empty space within a Euclidean distance of 10 of the filled cells, and the Moore
deposition of 10 steps the empty space within a chessboard distance of 10. scipy computes both
as a distance transform of the empty cells plus a threshold. Compare the figures with
bench_filmworkers' BM_PillarsIsotropicDeposition10 and BM_PillarsMooreDeposition10 (one
thread: scipy's transforms use one core).

Run with Debian's python3-scipy: /usr/bin/python3 bench/filmtransforms.py [repeats]
"""

import sys
import time

import numpy as np
from scipy import ndimage

CELLS = (200, 200, 100)


def pillar_volume():
    """Filled cells of the pillar volume, indexed [x, y, z] as the cell volume is."""
    x, y, z = np.indices(CELLS, dtype=np.int32)
    trench = x % 40 >= 20
    filled = (z < 20) | ((z < 40) & ~trench)
    filled |= (z >= 40) & (z < 60) & ~trench & (y % 40 < 20)
    return filled


def best_of(repeats, work):
    best = float("inf")
    result = None
    for _ in range(repeats):
        start = time.perf_counter()
        result = work()
        best = min(best, time.perf_counter() - start)
    return best, result


def main():
    repeats = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    filled = pillar_volume()
    empty = ~filled

    def euclidean_film():
        return empty & (ndimage.distance_transform_edt(empty) <= 10.0)

    def chessboard_film():
        return empty & (ndimage.distance_transform_cdt(empty, metric="chessboard") <= 10)

    for name, work in (
        ("distance_transform_edt + threshold (isotropic 10)", euclidean_film),
        ("chessboard distance_transform_cdt + threshold (Moore 10)", chessboard_film),
    ):
        seconds, film = best_of(repeats, work)
        print(f"{name}: {seconds * 1000.0:.1f} ms (best of {repeats}), film {int(film.sum())} cells")


if __name__ == "__main__":
    main()
