#!/usr/bin/env python3
"""Times `pictavo-cli check --recursive` on a synthetic site: ALBUMS album
folders with PICTURES tiny pictures between them, made with `batch` (slide
shows on, table of contents over them). The site is made once per run in a
temporary folder; only the check is timed.

Usage: bench/check_bench.py [--cli PATH] [--albums N] [--pictures N] [--repeat N]

This is a benchmark, not a test: nothing in CI runs it. The target is under
2 seconds for 300 albums and 20,000 pictures.
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def tiny_jpeg(folder):
    """An 8 x 6 picture through cjpeg (libjpeg-turbo-progs)."""
    ppm = os.path.join(folder, "tiny.ppm")
    with open(ppm, "wb") as f:
        f.write(b"P6 8 6 255\n" + bytes(v for y in range(6) for x in range(8) for v in (x * 30, y * 40, 128)))
    out = subprocess.run(["cjpeg", "-quality", "80", ppm], check=True, stdout=subprocess.PIPE).stdout
    os.unlink(ppm)
    return out


def measured(argv, env):
    """(status, wall s, CPU s, peak RSS MB, stdout) of argv. The peak RSS is
    the check's own, from /usr/bin/time (package time): ru_maxrss of a child
    forked from Python counts Python's pages from before exec as well."""
    with tempfile.NamedTemporaryFile(prefix="pictavo-rss-") as rss:
        start = time.perf_counter()
        proc = subprocess.Popen(["/usr/bin/time", "-q", "-f", "%M", "-o", rss.name] + argv, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        out = proc.stdout.read().decode(errors="replace")
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
        proc.stdout.close()
        proc.stderr.close()
        peak_kb = int(open(rss.name).read().split()[-1])
    return os.waitstatus_to_exitcode(status), wall, usage.ru_utime + usage.ru_stime, peak_kb / 1024.0, out


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", default=os.path.join(ROOT, "build", "src", "cli", "pictavo-cli"))
    ap.add_argument("--albums", type=int, default=300)
    ap.add_argument("--pictures", type=int, default=20000)
    ap.add_argument("--repeat", type=int, default=5)
    ap.add_argument("--keep", metavar="DIR", help="Make the site in DIR (must not exist) and leave it there")
    args = ap.parse_args()

    if args.keep:
        os.makedirs(args.keep)
        run(args, args.keep)
    else:
        with tempfile.TemporaryDirectory(prefix="pictavo-check-bench-") as tmp:
            run(args, tmp)


def run(args, tmp):
    if True:
        env = dict(os.environ, PICTAVO_HOME=os.path.join(tmp, "home"))
        site = os.path.join(tmp, "site")
        os.makedirs(site)
        jpeg = tiny_jpeg(tmp)
        start = time.perf_counter()
        for a in range(args.albums):
            folder = os.path.join(site, f"album-{a:03d}")
            os.makedirs(folder)
            count = args.pictures // args.albums + (1 if a < args.pictures % args.albums else 0)
            for p in range(count):
                with open(os.path.join(folder, f"p{p:04d}.jpg"), "wb") as f:
                    f.write(jpeg)
        subprocess.run([args.cli, "batch", site, "--quiet", "--set", "makeSlideShow=on"], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        print(f"site of {args.albums} albums, {args.pictures} pictures made in {time.perf_counter() - start:.1f} s")

        runs = []
        for _ in range(args.repeat):
            code, wall, cpu, rss, out = measured([args.cli, "check", site, "--recursive"], env)
            if code != 0:
                sys.exit(f"check reported findings on an untouched site (status {code}):\n{out[:2000]}")
            runs.append((wall, cpu, rss))
        wall = statistics.median(r[0] for r in runs)
        cpu = statistics.median(r[1] for r in runs)
        rss = max(r[2] for r in runs)
        print(f"check --recursive: wall {wall:.3f} s, CPU {cpu:.3f} s, peak RSS {rss:.1f} MB "
              f"(median of {args.repeat}; all runs: {', '.join(f'{r[0]:.3f}' for r in runs)})")


if __name__ == "__main__":
    main()
