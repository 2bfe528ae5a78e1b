#!/usr/bin/env python3
"""Writes vazoz's shipped keys and their descriptions into csere/kulcsp (deterministic).

Each key is a base key over the numbers 1..n: full combinations, or rows drawn with a fixed seed
under a limit on the numbers any two rows share, every number used about equally. The
descriptions go to vevud.inf: columns 1-12 the file name (its first character the game type,
the next two the count of numbers), then the text; cp1250, CR LF.
"""
import itertools
import os
import random
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "csere", "kulcsp")


def row(nums):
    return "".join("%02d " % n for n in sorted(nums))


def drawn(t, n, rows, overlap, seed):
    rng = random.Random(seed)
    key = []
    use = [0] * (n + 1)
    tries = 0
    while len(key) < rows and tries < 200000:
        tries += 1
        # The least used numbers first, ties broken at random.
        pool = sorted(range(1, n + 1), key=lambda x: (use[x], rng.random()))
        cand = set(pool[: t + rng.randrange(0, n - t + 1)])
        cand = set(rng.sample(sorted(cand), t))
        if any(len(cand & set(r)) > overlap for r in key):
            continue
        key.append(sorted(cand))
        for x in cand:
            use[x] += 1
    if len(key) < rows:
        sys.exit("could not draw %d rows for type %d of %d" % (rows, t, n))
    return sorted(key)


KEYS = [
    ("507teljs.txt", [list(c) for c in itertools.combinations(range(1, 8), 5)],
     "teljes kombináció, 21 sor"),
    ("510vel01.txt", drawn(5, 10, 12, 3, 510), "12 sor, két sor közt max. 3 közös szám"),
    ("612vel01.txt", drawn(6, 12, 10, 3, 612), "10 sor, két sor közt max. 3 közös szám"),
    ("620vel01.txt", drawn(6, 20, 12, 2, 620), "12 sor, két sor közt max. 2 közös szám"),
    ("715vel01.txt", drawn(7, 15, 10, 4, 715), "10 sor, két sor közt max. 4 közös szám"),
    ("810teljs.txt", [list(c) for c in itertools.combinations(range(1, 11), 8)],
     "teljes kombináció, 45 sor"),
    ("816vel01.txt", drawn(8, 16, 8, 5, 816), "8 sor, két sor közt max. 5 közös szám"),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    lines = []
    for name, rows, text in KEYS:
        assert len(name) == 12
        t, n = int(name[0]), int(name[1:3])
        assert all(len(r) == t and max(r) <= n for r in rows)
        with open(os.path.join(OUT, name), "wb") as f:
            f.write("".join(row(r) + "\r\n" for r in rows).encode("cp1250"))
        kind = {5: "5-ös", 6: "6-os", 7: "7-es", 8: "8-as"}[t]
        lines.append("%s %s kulcs %d számra (1-%d), %s" % (name, kind, n, n, text))
    with open(os.path.join(OUT, "vevud.inf"), "wb") as f:
        f.write("".join(l + "\r\n" for l in sorted(lines)).encode("cp1250"))


if __name__ == "__main__":
    main()
