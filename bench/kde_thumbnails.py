#!/usr/bin/env python3
"""Speed of KDE 5's thumbnails over the sample folder at 128 and 256 pixels, in one run.

  KDE: KIO::PreviewJob with the plugin, one job for the folder, nothing cached: the whole job
       (a session bus, the worker's start), and from its first preview to its last (the worker
       running, as Dolphin keeps it)     against  GNOME's factory: the thumbnailer in bubblewrap
       per file (bench/thumbnails.py)    target: at least 4x the rate

Then, per document, the plugin's ways of drawing: in the worker's process, in a child forked per
document (what it does), and the thumbnailer as a program. Runs where the build is installed in
/usr (bench/kde-thumbnails.sh sets that up). Medians of ROUNDS rounds, in elapsed time: other
work on the machine shows in every figure.
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import thumbnails  # noqa: E402  GNOME's way, as the speed benchmark runs it

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "5"))


def kde_time(previews, size, files):
    """(seconds for one PreviewJob over every file, seconds from its first preview to its last,
    previews), in a private session bus and a fresh home."""
    home = tempfile.mkdtemp(prefix="foliotta-kde-bench-")
    try:
        environment = dict(os.environ, HOME=home, QT_QPA_PLATFORM="offscreen", KDE_FORK_SLAVES="1")
        start = time.perf_counter()
        answer = subprocess.run(["dbus-run-session", "--", previews, str(size)] + files, env=environment,
                                capture_output=True, text=True, check=False)
        elapsed = time.perf_counter() - start
        words = answer.stdout.split()
        if not words or int(words[0]) != len(files):
            sys.exit(f"KIO::PreviewJob made {words[0] if words else 'no'} previews of {len(files)}: {answer.stdout}")
        first, last = (int(word) for word in re.findall(r"after (\d+) ms", answer.stdout))
        return elapsed, (last - first) / 1000, int(words[0])
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    corpus, build = sys.argv[1], sys.argv[2]
    files = thumbnails.documents(corpus)
    previews = os.path.join(build, "bench", "kio-previews-bench")
    routes = os.path.join(build, "bench", "thumbnail-routes-bench")
    print(f"{len(files)} documents, median of {ROUNDS} rounds (elapsed; the machine is shared, so noisy)")
    for size in (128, 256):
        thumbnails.SIZE = size
        whole, steady, gnome = [], [], []
        for _ in range(ROUNDS):
            elapsed, first_to_last, _previews = kde_time(previews, size, files)
            whole.append(elapsed)
            steady.append(first_to_last)
            gnome.append(thumbnails.folder_time(thumbnails.sandboxed, files)[0])
        gnome_rate = len(files) / statistics.median(gnome)
        whole_rate = len(files) / statistics.median(whole)
        steady_rate = (len(files) - 1) / statistics.median(steady)
        print(f"  {size} px: GNOME (bubblewrap per file) {gnome_rate:6.1f}/s")
        print(f"          KDE (PreviewJob, plugin), the whole job with its start {whole_rate:6.1f}/s  "
              f"{whole_rate / gnome_rate:5.2f}x   (target at least 4x)")
        print(f"          KDE, from the first preview to the last (the worker running) {steady_rate:6.1f}/s  "
              f"{steady_rate / gnome_rate:5.2f}x")
    for size in (128, 256):
        subprocess.run([routes, str(ROUNDS), str(size), thumbnails.THUMBNAILER, "/usr/share/foliotta/fonts.conf"] + files,
                       check=False)


if __name__ == "__main__":
    main()
