#!/usr/bin/env python3
"""Whether the own UTF-8 and Mac OS Roman decoder still pays: qxpextract -s of two builds that
differ only in it, on every sample document, run alternately (A B B A ...) so that both meet the
same load.

  bench/text_decoding.py OWN_BUILD OTHER_BUILD [CORPUS or one document]   (BENCH_ROUNDS, 40 unless given)

Prints, per build, the median CPU time (user + system) and wall time of a run over all documents,
the ratio own/other of the medians, and in how many rounds the own build used less CPU.
"""
import os
import statistics
import subprocess
import sys
import time

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "40"))


def run(tool, document):
    start = time.perf_counter()
    child = subprocess.Popen([tool, "-s", document, "text-decoding-bench"], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, _, usage = os.wait4(child.pid, 0)
    return usage.ru_utime + usage.ru_stime, time.perf_counter() - start


def documents(corpus):
    if os.path.isfile(corpus):
        return [corpus]
    found = []
    for folder, _, names in os.walk(corpus):
        found += [os.path.join(folder, name) for name in names if not name.endswith(".md")]
    return sorted(found)


def main():
    builds = sys.argv[1:3]
    corpus = sys.argv[3] if len(sys.argv) > 3 else os.path.join("..", "shared", "qxp-corpus")
    tools = [os.path.join(build, "Mac/QuickLook/qxpextract/qxpextract") for build in builds]
    docs = documents(corpus)
    cpu = [[], []]
    wall = [[], []]
    for round_number in range(ROUNDS):
        order = (0, 1) if round_number % 2 == 0 else (1, 0)
        for which in order:
            used, elapsed = 0.0, 0.0
            for document in docs:
                c, w = run(tools[which], document)
                used, elapsed = used + c, elapsed + w
            cpu[which].append(used)
            wall[which].append(elapsed)
    pbutil = os.path.join(builds[0], "Platform/HIServices/pbutil")
    if os.path.exists(pbutil):
        subprocess.run([pbutil, "clear", "text-decoding-bench"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print(f"{len(docs)} documents, {ROUNDS} rounds each, load average {os.getloadavg()[0]:.1f} at the end")
    for which, name in enumerate(("own decoder", "other")):
        print(f"{name:12} {builds[which]}: CPU {statistics.median(cpu[which]) * 1000:.0f} ms, "
              f"wall {statistics.median(wall[which]) * 1000:.0f} ms per pass (medians)")
    print(f"own/other: CPU {statistics.median(cpu[0]) / statistics.median(cpu[1]):.3f}, "
          f"wall {statistics.median(wall[0]) / statistics.median(wall[1]):.3f}; "
          f"own used less CPU in {sum(a < b for a, b in zip(cpu[0], cpu[1]))} of {ROUNDS} rounds")


if __name__ == "__main__":
    main()
