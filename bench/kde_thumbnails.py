#!/usr/bin/env python3
"""Speed of KDE 5's thumbnails over the sample folder at 128 and 256 pixels, in one run.

  KDE: KIO::PreviewJob with the plugin, one job for the folder, nothing cached, timed by the
       program that asks, as Dolphin asks: from the job's creation (the worker's start included)
       to its result; and from its first preview to its last (the worker running)
  against  GNOME: the same documents through GNOME's own thumbnail factory, which runs the
       thumbnailer in bubblewrap per file, as Files does (bench/gnome_thumbnails.py)
  target: the KDE job at least 4x GNOME's rate

The two sides alternate round by round, and the ratio is the median of each round's ratio, so
that other work on the machine weighs on both alike. Then, per document, the plugin's ways of
drawing: in the worker's process, in a child forked per document (what it does), and the
thumbnailer as a program. Runs where the build is installed in /usr (bench/kde-thumbnails.sh sets
that up), with Debian's python3 (the factory's bindings are Debian's).
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gnome_thumbnails  # noqa: E402  GNOME's factory, as the speed benchmark runs it
import thumbnails  # noqa: E402

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "5"))


def kde_time(previews, size, files):
    """(seconds of one PreviewJob over every file, seconds from its first preview to its last), as
    the asking program clocks them, in a private session bus and a fresh home."""
    home = tempfile.mkdtemp(prefix="foliotta-kde-bench-")
    try:
        environment = dict(os.environ, HOME=home, QT_QPA_PLATFORM="offscreen", KDE_FORK_SLAVES="1")
        answer = subprocess.run(["dbus-run-session", "--", previews, str(size)] + files, env=environment,
                                capture_output=True, text=True, check=False)
        words = answer.stdout.split()
        if not words or int(words[0]) != len(files):
            sys.exit(f"KIO::PreviewJob made {words[0] if words else 'no'} previews of {len(files)}: {answer.stdout}")
        job, first, last = (int(word) for word in re.findall(r"(?:in|after) (\d+) ms", answer.stdout))
        return job / 1000, (last - first) / 1000
    finally:
        shutil.rmtree(home, ignore_errors=True)


def gnome_factory(files, scratch):
    """A worker process with GNOME's factory that sees only the installed .thumbnailer."""
    data_dir = os.path.join(scratch, "ours")
    os.makedirs(os.path.join(data_dir, "thumbnailers"))
    shutil.copy("/usr/share/thumbnailers/foliotta.thumbnailer", os.path.join(data_dir, "thumbnailers"))
    return gnome_thumbnails.start_worker("ours", data_dir, files, scratch)


def main():
    corpus, build = sys.argv[1], sys.argv[2]
    files = thumbnails.documents(corpus)
    previews = os.path.join(build, "bench", "kio-previews-bench")
    routes = os.path.join(build, "bench", "thumbnail-routes-bench")
    print(f"{len(files)} documents, median of {ROUNDS} rounds (elapsed; the machine is shared, so noisy)")
    scratch = tempfile.mkdtemp(prefix="foliotta-kde-bench-")
    try:
        factory = gnome_factory(files, scratch)
        for size in (128, 256):
            job, steady, gnome = [], [], []
            for _ in range(ROUNDS):
                whole, first_to_last = kde_time(previews, size, files)
                job.append(len(files) / whole)
                steady.append((len(files) - 1) / first_to_last)
                answer = gnome_thumbnails.ask(factory, size)
                if answer["missing"]:
                    sys.exit(f"GNOME's factory did not draw {answer['missing']}")
                gnome.append(len(files) / answer["elapsed"])
            print(f"  {size} px: GNOME's factory (bubblewrap per file) {statistics.median(gnome):6.1f}/s")
            print(f"          KDE (PreviewJob, plugin), the job with the worker's start {statistics.median(job):6.1f}/s  "
                  f"{statistics.median(k / g for k, g in zip(job, gnome)):5.2f}x   (target at least 4x)")
            print(f"          KDE, from the first preview to the last (the worker running) {statistics.median(steady):6.1f}/s  "
                  f"{statistics.median(k / g for k, g in zip(steady, gnome)):5.2f}x")
        factory.stdin.close()
        factory.wait()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    for size in (128, 256):
        subprocess.run([routes, str(ROUNDS), str(size), thumbnails.THUMBNAILER, "/usr/share/foliotta/fonts.conf"] + files,
                       check=False)


if __name__ == "__main__":
    main()
