#!/usr/bin/env python3
"""Speed of the quick preview and the search extractor, measured in one run on the sample documents.

  foliotta-preview FILE --png OUT   against qxpextract -p alone: what the window adds   target: well under 1 s
  foliotta-search (KDE's request)   against qxpextract -s alone: what the JSON adds

Every command runs ROUNDS times per document, alternating with its peer; the median of each is
taken per document, and the printed ratio is the median over documents, with the slowest preview.
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "5"))


def timed(command, env, stdin=b""):
    start = time.perf_counter()
    subprocess.run(command, env=env, input=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


def median_pair(ours, peer):
    ours_times, peer_times = [], []
    for _ in range(ROUNDS):
        ours_times.append(ours())
        peer_times.append(peer())
    return statistics.median(ours_times), statistics.median(peer_times)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    corpus = sys.argv[2] if len(sys.argv) > 2 else os.path.join("..", "shared", "qxp-corpus")
    extractor = os.path.join(build, "Mac/QuickLook/qxpextract/qxpextract")
    preview = os.path.join(build, "External/Foliotta.qlgenerator/Preview/foliotta-preview")
    search = os.path.join(build, "External/Foliotta.qlgenerator/Search/externalextractors/foliotta-quarkxpress/foliotta-search")
    files = []
    for folder in ("4.0_win", "3.3_mac"):
        path = os.path.join(corpus, folder)
        if os.path.isdir(path):
            files += [os.path.join(path, name) for name in sorted(os.listdir(path))]
    if not files:
        sys.exit(f"no documents under {corpus}")
    runtime = tempfile.mkdtemp(prefix="foliotta-bench-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="offscreen")
    png = os.path.join(runtime, "preview.png")

    print(f"{len(files)} documents, {ROUNDS} rounds each")
    previews, ratios = [], []
    for f in files:
        ours, peer = median_pair(lambda: timed([preview, f, "--png", png], env), lambda: timed([extractor, "-p", f, "bench"], env))
        previews.append(ours)
        ratios.append(ours / peer)
    print(f"{'preview --png / qxpextract -p':36s} median ratio {statistics.median(ratios):5.2f}x"
          f"   (preview median {statistics.median(previews) * 1000:6.1f} ms, slowest {max(previews) * 1000:6.1f} ms)")

    searches, ratios = [], []
    for f in files:
        request = json.dumps({"path": f, "mimetype": "application/vnd.quark.quarkxpress"}).encode()
        ours, peer = median_pair(lambda: timed([search], env, request), lambda: timed([extractor, "-s", f, "bench"], env))
        searches.append(ours)
        ratios.append(ours / peer)
    print(f"{'foliotta-search / qxpextract -s':36s} median ratio {statistics.median(ratios):5.2f}x"
          f"   (search median {statistics.median(searches) * 1000:6.1f} ms, slowest {max(searches) * 1000:6.1f} ms)")


if __name__ == "__main__":
    main()
