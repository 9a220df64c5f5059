#!/usr/bin/env python3
"""Speed of qxpextract against its peers, measured in one run on the sample documents.

  -s (search data)   against qxp2raw, which only parses the document       target: at most 1.45x
  -t (picture)       against qxp2svg FILE | rsvg-convert -w 512            target: at most 0.5x,
                     no document above 0.6x; memory peak under 22 MB
  -p (preview data)  against qxp2raw, for the record
  publishing a list of 5000 strings on a pasteboard                         target: under 100 ms

Every command runs ROUNDS times per document, alternating with its peer; the median of each
is taken per document and the printed ratio is the median over documents, with the worst one.
The documents are every file under CORPUS that qxp2raw reads; BENCH_MODES ("-t -s list") picks
the comparisons to run.
"""
import atexit
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "7"))


peak_kilobytes = {}  # largest resident set of any run, per command name


def timed(command, shell=False, env=None):
    start = time.perf_counter()
    child = subprocess.Popen(command, shell=shell, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, _, usage = os.wait4(child.pid, 0)
    elapsed = time.perf_counter() - start
    child.returncode = 0  # reaped above
    key = command if shell else " ".join(command[:2])
    peak_kilobytes[key] = max(peak_kilobytes.get(key, 0), usage.ru_maxrss)
    return elapsed


def median_pair(ours, peer):
    ours_times, peer_times = [], []
    for _ in range(ROUNDS):
        ours_times.append(ours())
        peer_times.append(peer())
    return statistics.median(ours_times), statistics.median(peer_times)


def documents(corpus):
    """Every file under corpus, at any depth, that the reader library's own tool reads."""
    found = []
    for folder, _, names in os.walk(corpus):
        for name in sorted(names):
            path = os.path.join(folder, name)
            readable = subprocess.run(["qxp2raw", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
            if os.path.isfile(path) and readable:
                found.append(path)
    return sorted(found)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    corpus = sys.argv[2] if len(sys.argv) > 2 else os.path.join("..", "shared", "qxp-corpus")
    # The extractor as installed (bench/run.sh installs the build to a scratch prefix): its run
    # paths and the font configuration beside it are what users run.
    extractor = os.environ.get("BENCH_EXTRACTOR", os.path.join(build, "Mac/QuickLook/qxpextract/qxpextract"))
    fake_extractor = os.path.join(build, "Mac/QuickLook/qxpextract/tests/qxpextract-with-fake-library")
    # The user's runtime folder is a tmpfs on a desktop; /dev/shm is one too.
    runtime = tempfile.mkdtemp(prefix="orvella-bench-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    atexit.register(shutil.rmtree, runtime, ignore_errors=True)
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    files = documents(corpus)
    if not files:
        sys.exit(f"no documents under {corpus}")

    comparisons = {
        "-s / qxp2raw": ("-s", lambda f: timed(["qxp2raw", f], env=env)),
        "-p / qxp2raw": ("-p", lambda f: timed(["qxp2raw", f], env=env)),
        "-t / qxp2svg|rsvg-convert -w 512": (
            "-t", lambda f: timed(f"qxp2svg '{f}' | rsvg-convert -w 512 > /dev/null", shell=True, env=env)),
    }
    modes = os.environ.get("BENCH_MODES", "-s -p -t list").split()
    print(f"{len(files)} documents under {corpus}, {ROUNDS} rounds each")
    for title, (mode, peer) in comparisons.items():
        if mode not in modes:
            continue
        ratios, ours_total, peer_total = [], [], []
        for f in files:
            ours, theirs = median_pair(lambda: timed([extractor, mode, f, "bench"], env=env), lambda: peer(f))
            ratios.append(ours / theirs)
            ours_total.append(ours)
            peer_total.append(theirs)
        worst = max(range(len(files)), key=lambda i: ratios[i])
        print(f"{title:36s} median ratio {statistics.median(ratios):5.2f}x"
              f"   (ours {statistics.median(ours_total) * 1000:6.1f} ms, peer {statistics.median(peer_total) * 1000:6.1f} ms)"
              f"   worst {ratios[worst]:4.2f}x {os.path.relpath(files[worst], corpus)}")
        print(f"{'':36s} memory peak {peak_kilobytes[extractor + ' ' + mode] / 1024:5.1f} MB")

    # The list: 5000 strings against a run of the same extractor with an empty list.
    if "list" not in modes:
        return
    with tempfile.TemporaryDirectory() as folder:
        full = os.path.join(folder, "list.fake")
        empty = os.path.join(folder, "empty.fake")
        with open(full, "w") as script:
            script.write("numbered\t32\t5000\t#a0b0c\n")
        with open(empty, "w") as script:
            script.write("list\t32\n")
        with_list, without = median_pair(lambda: timed([fake_extractor, "-s", full, "bench-list"], env=env),
                                         lambda: timed([fake_extractor, "-s", empty, "bench-list"], env=env))
        print(f"{'5000-string list published':36s} {(with_list - without) * 1000:6.1f} ms"
              f"   (whole run {with_list * 1000:.1f} ms, ratio to an empty list {with_list / without:.2f}x)")


if __name__ == "__main__":
    main()
