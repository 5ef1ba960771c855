#!/usr/bin/env python3
"""Runs two builds of kelmar-cli on the same random argument sets and reports every difference in
stdout, stderr, exit status or picture file: a refactoring must leave the tool's output byte for
byte as it was.

usage: compare_cli.py OLD_CLI NEW_CLI [COUNT] [SEED]
"""
import os
import random
import subprocess
import sys
import tempfile


def num(r, lo, hi, digits=2):
    v = r.uniform(lo, hi)
    return f"{v:.{r.randint(0, digits)}f}"


def place(r):
    # Mostly real places, now and then the edges: poles, equator, antimeridian, bad texts.
    lat = r.choice([num(r, -90, 90, 3)] * 6 + ["0", "90", "-90", "66.56", "0.004", "89.9", "abc", "1,5", ""])
    lon = r.choice([num(r, -180, 180, 3)] * 6 + ["0", "180", "-180", "-100", "359.5", "east"])
    return ["--lat", lat, "--lon", lon]


def zone(r):
    return r.choice([[], ["--gmt", num(r, -12, 12, 1)], ["--msk", num(r, -8, 8, 1)], ["--gmt", "x"]])


def fmt(r, kinds=("text", "csv", "json")):
    f = r.choice((None,) + tuple(kinds))
    return [] if f is None else ["--format", f]


def date(r):
    return ["--date", f"{r.randint(2024, 2031)}-{r.randint(1, 12):02d}-{r.randint(1, 28):02d}"]


def sun(r):
    a = ["sun"] + place(r) + zone(r) + ["--year", str(r.randint(1900, 2100)), "--month", str(r.randint(1, 12))]
    a += r.choice([[], ["--angle", num(r, 0, 18, 1)], ["--height", num(r, 0, 500, 3)], ["--height", "-1"]])
    if r.random() < 0.4:
        a.append("--seconds")
    return a + fmt(r)


def sat(r):
    a = ["sat"] + place(r)
    if r.random() < 0.4:
        a.append("--magnetic")
        if r.random() < 0.7:
            a += date(r)
    return a + fmt(r)


def outage(r):
    slot = r.choice(["all", "all", f"{r.randint(0, 180)} {r.choice('EW')}", "0", "19.2E", "abc"])
    a = ["outage"] + place(r) + ["--slot", slot, "--year", str(r.randint(1990, 2060))]
    if r.random() < 0.3:
        a += ["--dish", num(r, 0.05, 3, 2)]
    if r.random() < 0.3:
        a += ["--freq", num(r, 1, 40, 1)]
    return a + zone(r) + fmt(r)


def locator(r):
    if r.random() < 0.5:
        return ["locator"] + place(r)
    return ["locator", r.choice(["KO85ts", " KO85TS", "jj00aa", "RR99xx", "ZZ00"])]


def declination(r):
    return ["declination"] + place(r) + (date(r) if r.random() < 0.7 else []) + fmt(r, ("text", "json"))


def picture(r):
    kind = r.choice(["sky", "year"])
    a = [kind] + place(r) + zone(r)
    if kind == "sky":
        a += date(r) + r.choice([[], ["--horizon", "90:5 150:25 210:25 270:3"], ["--horizon", "300:15 330:30 30:30 60:10"]])
    else:
        a += ["--year", str(r.randint(1950, 2080))] + r.choice([[], ["--angle", num(r, 0, 18, 1)], ["--height", num(r, 0, 50, 1)]])
    return a + [r.choice(["--png", "--svg"]), "{out}", "--size", f"{r.randint(200, 1400)}x{r.randint(200, 900)}"]


def run(cli, args, out):
    done = subprocess.run([cli] + [out if a == "{out}" else a for a in args], capture_output=True,
                          env={"TZ": "UTC", "LC_ALL": "C", "PATH": os.environ.get("PATH", "")})
    picture = b""
    if os.path.exists(out):
        with open(out, "rb") as f:
            picture = f.read()
        os.remove(out)
    return done.returncode, done.stdout, done.stderr, picture


def main():
    old, new = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    r = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 18)
    makers = [sun, sun, sun, sat, sat, outage, locator, declination, picture]
    differ = 0
    tmp = tempfile.mkdtemp(prefix="compare_cli")
    for i in range(count):
        args = r.choice(makers)(r)
        ext = ".png" if "--png" in args else ".svg"
        runs = [run(cli, args, os.path.join(tmp, f"{n}{ext}")) for n, cli in (("old", old), ("new", new))]
        if runs[0] != runs[1]:
            differ += 1
            print("DIFFERS:", " ".join(repr(a) for a in args))
    os.rmdir(tmp)
    print(f"{count} argument sets, {differ} differ")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
