#!/usr/bin/env python3
"""Speed of the pasteboard store, measured in one run against the sqlite3 command-line shell
doing the same inserts and the same read into a database set up the same way (WAL, no fsync).

  5000-string list published by a run         target: under 50 ms
  100,000 items published by a run            target: under 0.5 s
  100,000 items listed by `pbutil list`       target: under 0.5 s
  a run on a pasteboard holding 100,000 items: what the earlier items cost before publishing

A run's cost is the extractor with the list minus the same extractor with an empty list, so
starting the process and reading the document are left out. Each figure is the median of ROUNDS,
in wall time and, in brackets, in processor time (user + system) of the measured process, which a
busy shared machine disturbs less. The store lives on a tmpfs, as the user's runtime folder does
on a desktop.

  bench/pasteboard.py [BUILD]
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
SCHEMA = ("PRAGMA journal_mode=WAL; PRAGMA synchronous=OFF;\n"
          "CREATE TABLE pasteboards(name TEXT PRIMARY KEY, owner TEXT NOT NULL);\n"
          "CREATE TABLE pasteboard_items(pasteboard TEXT NOT NULL, item INTEGER NOT NULL, flavor TEXT NOT NULL, "
          "position INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(pasteboard, item, flavor)) WITHOUT ROWID;\n")


class Cost:
    """Wall and processor seconds of a measured command."""

    def __init__(self, wall, cpu):
        self.wall, self.cpu = wall, cpu

    def __sub__(self, other):
        return Cost(self.wall - other.wall, self.cpu - other.cpu)

    def __str__(self):
        return f"{self.wall * 1000:7.1f} ms ({self.cpu * 1000:6.1f})"


def processor_seconds():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(command, env=None, stdin=None):
    start, start_cpu = time.perf_counter(), processor_seconds()
    subprocess.run(command, env=env, input=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    return Cost(time.perf_counter() - start, processor_seconds() - start_cpu)


def median(measure):
    costs = [measure() for _ in range(ROUNDS)]
    return Cost(statistics.median(c.wall for c in costs), statistics.median(c.cpu for c in costs))


def peer_inserts(folder, count, base, prefix):
    """The sqlite3 shell putting the same items, one statement each, in one transaction."""
    lines = [f"INSERT INTO pasteboard_items VALUES('bench',{base + i},'public.utf8-plain-text',{i},"
             f"CAST('{prefix}{i}' AS BLOB));" for i in range(count)]
    script = "BEGIN;\nINSERT OR REPLACE INTO pasteboards VALUES('bench','owner');\n" + "\n".join(lines) + "\nCOMMIT;\n"
    database = os.path.join(folder, "peer.sqlite")

    def run():
        for suffix in ("", "-wal", "-shm"):
            if os.path.exists(database + suffix):
                os.remove(database + suffix)
        subprocess.run(["sqlite3", database], input=SCHEMA, text=True, stdout=subprocess.DEVNULL, check=True)
        return timed(["sqlite3", database], stdin=script.encode())

    empty = "BEGIN;\nINSERT OR REPLACE INTO pasteboards VALUES('bench','owner');\nCOMMIT;\n"

    def run_empty():
        return timed(["sqlite3", database], stdin=empty.encode())

    return median(run) - median(run_empty), database


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    extractor = os.path.join(build, "Mac/QuickLook/qxpextract/tests/qxpextract-with-fake-library")
    pbutil = os.path.join(build, "Platform/HIServices/pbutil")
    shm = "/dev/shm" if os.path.isdir("/dev/shm") else None
    runtime = tempfile.mkdtemp(prefix="orvella-bench-pasteboard-", dir=shm)
    scratch = tempfile.mkdtemp(prefix="orvella-bench-peer-", dir=shm)
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    try:
        scripts = {}
        for name, text in {"empty": "list\t16\n", "colours": "numbered\t32\t5000\t#a0b0c\n",
                           "paragraphs": "numbered\t16\t100000\tparagraph number \n", "one": "string\t1\tone\n"}.items():
            scripts[name] = os.path.join(scratch, name + ".fake")
            with open(scripts[name], "w") as script:
                script.write(text)

        def run(script, pasteboard, mode="-p"):
            return lambda: timed([extractor, mode, scripts[script], pasteboard], env=env)

        print(f"pasteboard store, {ROUNDS} rounds each, runtime folder on {shm or 'the default temporary folder'}; "
              f"wall ms (processor ms)")
        empty_run = median(run("empty", "bench-empty"))

        colours = median(run("colours", "bench-colours", "-s")) - empty_run
        peer, _ = peer_inserts(scratch, 5000, 5001, "#a0b0c")
        print(f"{'5000-string list published':40s} {colours}   sqlite3 shell {peer}"
              f"   ratio {colours.wall / peer.wall:5.2f}x   (target under 50 ms)")

        paragraphs = median(run("paragraphs", "bench-paragraphs")) - empty_run
        peer, peer_database = peer_inserts(scratch, 100000, 1000001, "paragraph number ")
        print(f"{'100,000 items published':40s} {paragraphs}   sqlite3 shell {peer}"
              f"   ratio {paragraphs.wall / peer.wall:5.2f}x   (target under 500 ms)")

        listing = median(lambda: timed([pbutil, "list", "bench-paragraphs"], env=env))
        query = ("SELECT item, flavor, length(data) FROM pasteboard_items WHERE pasteboard = 'bench' "
                 "ORDER BY position;")
        peer_listing = median(lambda: timed(["sqlite3", "-separator", "\t", peer_database, query]))
        print(f"{'100,000 items listed by pbutil list':40s} {listing}   sqlite3 shell {peer_listing}"
              f"   ratio {listing.wall / peer_listing.wall:5.2f}x   (target under 500 ms)")

        # The same one-item run on a pasteboard that holds 100,000 items and on one that holds one.
        def refilled(pasteboard, script):
            def measure():
                subprocess.run([extractor, "-p", scripts[script], pasteboard], env=env, stdout=subprocess.DEVNULL,
                               check=False)
                return timed([extractor, "-p", scripts["one"], pasteboard], env=env)
            return measure

        crowded = median(refilled("bench-crowded", "paragraphs"))
        quiet = median(refilled("bench-quiet", "one"))
        print(f"{'one item over 100,000 earlier items':40s} {crowded}   over one earlier item {quiet}"
              f"   (the earlier items cost {crowded - quiet})")
    finally:
        shutil.rmtree(runtime, ignore_errors=True)
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
