#!/usr/bin/env python3
"""Speed of the desktop thumbnails over the sample folder at 256 pixels, in one run.

  ours (/usr/bin/foliotta-thumbnailer)  against  qxp2svg FILE | rsvg-convert  target: at most 0.5x
  ours inside GNOME's bubblewrap sandbox  against  ours outside it             target: at most 1.5x
  (and, for the record, that sandbox running /usr/bin/true: bubblewrap's own cost)

Runs where the build is installed in /usr (bench/thumbnails.sh sets that up). Each round makes
the thumbnails of the whole folder with each command in turn; the medians of ROUNDS rounds are
compared in elapsed time, and ours against the peer also in processor time (user + system of
every process involved; steadier on a busy machine). Processor time inside the sandbox is not
counted back to bubblewrap, so that comparison is elapsed time only.
"""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "5"))
SIZE = 256
THUMBNAILER = "/usr/bin/foliotta-thumbnailer"


def documents(corpus):
    found = []
    for folder in ("4.0_win", "3.3_mac"):
        path = os.path.join(corpus, folder)
        found += [os.path.join(path, name) for name in sorted(os.listdir(path))]
    return found


def ours(document, output):
    return [THUMBNAILER, "-s", str(SIZE), document, output]


def sandboxed(document, output):
    """The command as GNOME runs it: only /usr, the output folder as /tmp, the input renamed."""
    folder = os.path.dirname(output)
    command = ["bwrap", "--ro-bind", "/usr", "/usr", "--ro-bind-try", "/etc/ld.so.cache", "/etc/ld.so.cache"]
    for link in ("bin", "lib", "lib64", "sbin"):
        command += ["--symlink", "usr/" + link, "/" + link]
    command += ["--proc", "/proc", "--dev", "/dev", "--chdir", "/", "--unshare-all", "--die-with-parent",
                "--clearenv", "--setenv", "GIO_USE_VFS", "local", "--bind", folder, "/tmp",
                "--ro-bind", document, "/tmp/gnome-desktop-file-to-thumbnail.qxd"]
    return command + [THUMBNAILER, "-s", str(SIZE), "file:///tmp/gnome-desktop-file-to-thumbnail.qxd",
                      "/tmp/gnome-desktop-thumbnailer.png"]


def sandbox_alone(document, output):
    """The same sandbox running a program that does nothing: what bubblewrap itself costs."""
    return sandboxed(document, output)[:-5] + ["/usr/bin/true"]


def peer(document, output):
    return f"qxp2svg '{document}' | rsvg-convert -a -w {SIZE} -h {SIZE} -o '{output}'"


def processor_time():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def folder_time(make_command, files, shell=False):
    """(elapsed, processor) seconds for the thumbnails of every file."""
    scratch = tempfile.mkdtemp(prefix="foliotta-bench-")
    try:
        start, start_processor = time.perf_counter(), processor_time()
        for index, document in enumerate(files):
            output = os.path.join(scratch, f"{index}.png" if make_command not in (sandboxed, sandbox_alone)
                                  else "gnome-desktop-thumbnailer.png")
            subprocess.run(make_command(document, output), shell=shell, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=False)
        return time.perf_counter() - start, processor_time() - start_processor
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else os.path.join("..", "shared", "qxp-corpus")
    files = documents(corpus)
    if not os.access(THUMBNAILER, os.X_OK):
        sys.exit(f"{THUMBNAILER} is not installed; run bench/thumbnails.sh")
    times = {"ours": [], "peer": [], "sandboxed": [], "sandbox": []}
    for _ in range(ROUNDS):
        times["ours"].append(folder_time(ours, files))
        times["peer"].append(folder_time(peer, files, shell=True))
        times["sandboxed"].append(folder_time(sandboxed, files))
        times["sandbox"].append(folder_time(sandbox_alone, files))
    print(f"{len(files)} documents at {SIZE} px, median of {ROUNDS} rounds: elapsed, processor")
    median = {}
    for name, label in (("ours", "ours"), ("peer", "qxp2svg | rsvg-convert"), ("sandboxed", "ours in bubblewrap"),
                        ("sandbox", "bubblewrap alone (true)")):
        median[name] = [statistics.median(measure[i] for measure in times[name]) for i in (0, 1)]
        processor = f"{median[name][1] * 1000:8.0f} ms" if not name.startswith("sandbox") else "       -"
        print(f"  {label:26} {median[name][0] * 1000:8.0f} ms {processor}")
    mine, theirs, boxed = median["ours"], median["peer"], median["sandboxed"]
    print(f"{'ours / qxp2svg|rsvg-convert':28} {mine[0] / theirs[0]:6.2f}x    {mine[1] / theirs[1]:6.2f}x    (target at most 0.5x)")
    print(f"{'in bubblewrap / outside':28} {boxed[0] / mine[0]:6.2f}x          -    (target at most 1.5x)")
    alone = median["sandbox"][0]
    print(f"{'  less bubblewrap alone':28} {(boxed[0] - alone) / mine[0]:6.2f}x          -    (what the sandbox costs the thumbnailer)")

if __name__ == "__main__":
    main()
