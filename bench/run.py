#!/usr/bin/env python3
"""Speed of qxpextract against its peers, measured in one run on the sample documents.

  -s (search data)   against qxp2raw, which only parses the document       target: at most 2x
  -t (picture)       against qxp2svg FILE | rsvg-convert -w 512            target: at most 0.5x
  -p (preview data)  against qxp2raw, for the record
  publishing a list of 5000 strings on a pasteboard                         target: under 100 ms

Every command runs ROUNDS times per document, alternating with its peer; the median of each
is taken per document and the printed ratio is the median over documents.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "7"))


def timed(command, shell=False, env=None):
    start = time.perf_counter()
    subprocess.run(command, shell=shell, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


def median_pair(ours, peer):
    ours_times, peer_times = [], []
    for _ in range(ROUNDS):
        ours_times.append(ours())
        peer_times.append(peer())
    return statistics.median(ours_times), statistics.median(peer_times)


def documents(corpus):
    found = []
    for folder in ("4.0_win", "3.3_mac"):
        path = os.path.join(corpus, folder)
        if os.path.isdir(path):
            found += [os.path.join(path, name) for name in sorted(os.listdir(path))]
    return found


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    corpus = sys.argv[2] if len(sys.argv) > 2 else os.path.join("..", "shared", "qxp-corpus")
    extractor = os.path.join(build, "Mac/QuickLook/qxpextract/qxpextract")
    fake_extractor = os.path.join(build, "Mac/QuickLook/qxpextract/tests/qxpextract-with-fake-library")
    # The user's runtime folder is a tmpfs on a desktop; /dev/shm is one too.
    runtime = tempfile.mkdtemp(prefix="orvella-bench-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
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
    print(f"{len(files)} documents, {ROUNDS} rounds each")
    for title, (mode, peer) in comparisons.items():
        ratios, ours_total, peer_total = [], [], []
        for f in files:
            ours, theirs = median_pair(lambda: timed([extractor, mode, f, "bench"], env=env), lambda: peer(f))
            ratios.append(ours / theirs)
            ours_total.append(ours)
            peer_total.append(theirs)
        print(f"{title:36s} median ratio {statistics.median(ratios):5.2f}x"
              f"   (ours {statistics.median(ours_total) * 1000:6.1f} ms, peer {statistics.median(peer_total) * 1000:6.1f} ms)")

    # The list: 5000 strings against a run of the same extractor with an empty list.
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
