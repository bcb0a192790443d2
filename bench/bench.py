#!/usr/bin/env python3
"""Times the album run's thumbnail making against the full-decode floor and
other thumbnailers, one process per picture, and whole-album runs.

Usage: bench/bench.py [--corpus DIR] [--cli PATH] [--repeat N] [--no-peers]
                      [--no-install] [--only-album] [--box WxH]

Without --corpus the corpus is built once (downloads Debian wallpaper
packages) into bench/.corpus. This is a benchmark, not a test: nothing in CI
runs it. Figures are medians of --repeat runs; the machine may be shared, so
run it in short bursts and compare figures from the same run only.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CORPUS_SCRIPT = os.path.join(ROOT, "..", "shared", "bench-corpus", "make-corpus.sh")
TIME = "/usr/bin/time"  # GNU time: the measured process's own peak RSS
PEER_PACKAGES = {"imagemagick": "convert-im6.q16", "graphicsmagick": "gm", "libvips-tools": "vipsthumbnail"}


def run_measured(argv, cwd=None, env=None):
    """Runs argv; returns (wall s, cpu s, peak RSS MB) of the child.

    The peak RSS comes from /usr/bin/time (package time): ru_maxrss of a
    child forked from Python counts Python's own pages from before exec,
    twice the true figure for a small program. CPU time from wait4 adds
    only what /usr/bin/time itself takes (about a millisecond).
    """
    with tempfile.NamedTemporaryFile(prefix="pictavo-rss-") as rss:
        start = time.perf_counter()
        proc = subprocess.Popen([TIME, "-q", "-f", "%M", "-o", rss.name] + argv, cwd=cwd, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
        err = proc.stderr.read().decode(errors="replace")
        proc.stderr.close()
        code = os.waitstatus_to_exitcode(status)
        if code != 0:
            raise RuntimeError(f"{' '.join(argv)} failed ({code}): {err.strip()}")
        peak_kb = int(open(rss.name).read().split()[-1])
    return wall, usage.ru_utime + usage.ru_stime, peak_kb / 1024.0


def median_of(repeat, make_argv, **kw):
    runs = [run_measured(make_argv(), **kw) for _ in range(repeat)]
    return tuple(statistics.median(r[i] for r in runs) for i in range(3))


def tool_path(name):
    # Debian's own programs only: a stand-in earlier on PATH would be timed otherwise.
    for d in ("/usr/bin", "/bin"):
        p = os.path.join(d, name)
        if os.access(p, os.X_OK):
            return p
    return None


def ensure_peers(install):
    missing = [pkg for pkg, exe in PEER_PACKAGES.items() if not tool_path(exe)]
    if missing and install:
        sudo = [] if os.geteuid() == 0 else ["sudo"]
        env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        print(f"installing {' '.join(missing)} ...", file=sys.stderr)
        subprocess.run(sudo + ["apt-get", "install", "-y", "-qq"] + missing, env=env,
                       stdout=subprocess.DEVNULL, check=False)
    return {pkg: tool_path(exe) for pkg, exe in PEER_PACKAGES.items()}


def ensure_corpus(path):
    if path:
        return path
    corpus = os.path.join(HERE, ".corpus")
    if not (os.path.isdir(corpus) and any(n.endswith(".jpg") for n in os.listdir(corpus))):
        subprocess.run(["bash", CORPUS_SCRIPT, corpus], check=True, stdout=subprocess.DEVNULL)
    return corpus


def find_cli(given):
    for p in ([given] if given else []) + [os.path.join(ROOT, "build", "src", "cli", "pictavo-cli")]:
        if p and os.access(p, os.X_OK):
            return os.path.abspath(p)
    sys.exit("pictavo-cli not found; build first or pass --cli")


def row(name, fig, floor):
    wall, cpu, rss = fig
    print(f"{name:<34} {wall:8.3f} {cpu:8.3f} {rss:8.1f} {wall / floor[0]:7.2f} {cpu / floor[1]:7.2f}")


def header(title):
    # On a shared machine wall time includes waiting for a core; CPU time
    # (user + system) is the steadier measure of work done.
    print(f"\n{title}")
    print(f"{'method':<34} {'wall s':>8} {'cpu s':>8} {'RSS MB':>8} {'wall/fl':>7} {'cpu/fl':>7}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--corpus")
    ap.add_argument("--cli")
    ap.add_argument("--repeat", type=int, default=5)
    ap.add_argument("--no-peers", action="store_true")
    ap.add_argument("--no-install", action="store_true")
    ap.add_argument("--only-album", action="store_true", help="whole-album runs only")
    ap.add_argument("--box", default="110x150")
    args = ap.parse_args()

    if not os.access(TIME, os.X_OK):
        sys.exit(f"{TIME} not found (Debian package time)")
    cli = find_cli(args.cli)
    corpus = ensure_corpus(args.corpus)
    files = sorted(n for n in os.listdir(corpus) if n.lower().endswith(".jpg"))
    tw, th = args.box.split("x")
    peers = {} if args.no_peers else ensure_peers(not args.no_install)
    djpeg = tool_path("djpeg")
    work = tempfile.mkdtemp(prefix="pictavo-bench-")
    env = dict(os.environ, PICTAVO_HOME=os.path.join(work, "home"))
    album = os.path.join(work, "album")
    os.makedirs(album)
    for n in files:
        os.symlink(os.path.join(os.path.abspath(corpus), n), os.path.join(album, n))
    box = ["--set", f"thumbnailWidth={tw}", "--set", f"thumbnailHeight={th}"]
    out = os.path.join(work, "out.jpg")

    methods = [("djpeg full decode (floor)", lambda f: [djpeg, "-outfile", "/dev/null", f])]
    methods.append(("pictavo normal", lambda f: [cli, "album", album, "--quiet", "--pictures", os.path.basename(f)] + box))
    methods.append(("pictavo filter", lambda f: [cli, "album", album, "--quiet", "--pictures", os.path.basename(f),
                                                 "--set", "thumbnailFilter=on"] + box))
    if peers.get("imagemagick"):
        methods.append(("imagemagick convert -thumbnail", lambda f: [peers["imagemagick"], f, "-thumbnail", args.box, out]))
    if peers.get("graphicsmagick"):
        methods.append(("gm convert -thumbnail", lambda f: [peers["graphicsmagick"], "convert", f, "-thumbnail", args.box, out]))
    if peers.get("libvips-tools"):
        methods.append(("vipsthumbnail", lambda f: [peers["libvips-tools"], f, "--size", args.box, "-o", out]))

    try:
        if not args.only_album:
            totals = {name: [0.0, 0.0, 0.0] for name, _ in methods}
            print(f"per picture ({len(files)} files, median of {args.repeat}, box {args.box}): CPU time and ratio to the floor")
            print(f"{'file':<40} " + " ".join(f"{name[:15]:>15}" for name, _ in methods))
            for n in files:
                f = os.path.join(album, n)
                figs = []
                for name, make in methods:
                    fig = median_of(args.repeat, lambda m=make: m(f), env=env)
                    t = totals[name]
                    t[0] += fig[0]
                    t[1] += fig[1]
                    t[2] = max(t[2], fig[2])
                    figs.append(fig)
                floor = figs[0][1]
                print(f"{n[:40]:<40} " + " ".join(f"{fig[1] * 1000:7.1f}ms {fig[1] / floor:5.2f}" for fig in figs))
            header("per picture, summed over the corpus (RSS: the largest)")
            floor = totals[methods[0][0]]
            for name, _ in methods:
                row(name, totals[name], floor)

        # Whole album: both cores, then one core (taskset), filter off and on.
        header(f"whole album of {len(files)} pictures (median of {max(1, args.repeat // 2)})")
        floor_all = [0.0, 0.0, 0.0]
        for n in files:
            fig = run_measured([djpeg, "-outfile", "/dev/null", os.path.join(album, n)])
            floor_all = [floor_all[0] + fig[0], floor_all[1] + fig[1], max(floor_all[2], fig[2])]
        row("djpeg full decode, each file", floor_all, floor_all)
        for label, extra in (("normal", []), ("filter", ["--set", "thumbnailFilter=on"])):
            base = [cli, "album", album, "--quiet"] + box + extra
            one = median_of(max(1, args.repeat // 2), lambda: ["taskset", "-c", "0"] + base, env=env)
            two = median_of(max(1, args.repeat // 2), lambda: base, env=env)
            row(f"pictavo {label}, one core", one, floor_all)
            row(f"pictavo {label}, two cores", two, floor_all)
            print(f"{'':<34} two cores / one core, wall: {two[0] / one[0]:.2f}")
        # A second run over the same folder keeping the thumbnails it made.
        base = [cli, "album", album, "--quiet", "--set", "skipExistingThumbnails=on"] + box
        run_measured(base, env=env)
        row("pictavo, all thumbnails kept", median_of(max(1, args.repeat // 2), lambda: base, env=env), floor_all)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
