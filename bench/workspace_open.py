#!/usr/bin/env python3
"""How long NSWorkspace's openFile keeps its caller when it starts an application bundle whose
program runs on for two seconds: the caller should not wait for it.

  bench/workspace_open.py [BUILD]   (BENCH_ROUNDS, 20 unless given)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "20"))


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    probe = os.path.join(build, "Platform/AppKit/tests/open-file-probe")
    with tempfile.TemporaryDirectory() as scratch:
        bundle = os.path.join(scratch, "Lasting Tool.app")
        os.makedirs(os.path.join(bundle, "Contents/MacOS"))
        with open(os.path.join(bundle, "Contents/Info.plist"), "w") as plist:
            plist.write('<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0"><dict>'
                        "<key>CFBundleExecutable</key><string>tool</string></dict></plist>\n")
        program = os.path.join(bundle, "Contents/MacOS/tool")
        with open(program, "w") as script:
            script.write("#!/bin/sh\nsleep 2\n")
        os.chmod(program, 0o755)
        times = []
        for _ in range(ROUNDS):
            start = time.perf_counter()
            subprocess.run([probe, bundle], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
            times.append(time.perf_counter() - start)
    print(f"openFile of an application bundle: median {statistics.median(times) * 1000:.0f} ms, "
          f"at most {max(times) * 1000:.0f} ms over {ROUNDS} runs (the application runs 2000 ms)")


if __name__ == "__main__":
    main()
