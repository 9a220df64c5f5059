#!/usr/bin/python3
"""Thumbnails of the sample folder through GNOME's own thumbnail factory, as Files makes them.

  ours (foliotta.thumbnailer)  against  qxp2svg %i | rsvg-convert -a -w %s -h %s > %o
  at 128 px (normal) and 256 px (large)                          target: at least 2x the peer's rate
  (and, for the record, a thumbnailer that only writes a ready PNG: what the factory and its
  sandbox cost on their own)

GnomeDesktop.DesktopThumbnailFactory runs each .thumbnailer's Exec line in bubblewrap, as Files
does; the peer is registered the same way, by a .thumbnailer of its own. A factory reads the
thumbnailers once, so each side runs in a worker process of its own that sees only its
.thumbnailer; the rounds alternate between them (and which goes first). Every readable sample
(qxp2raw reads it) must come back as a picture whose longer side is the size asked for.

Runs where the build is installed in /usr (bench/thumbnails.sh sets that up), with Debian's
python3 (the factory's bindings are Debian's). BENCH_ROUNDS sets the rounds (9). The ratio is the median of
each round's ratio, ours to the peer measured back to back, so that a busy machine's load, which
comes and goes, weighs on both sides of each ratio alike.
"""
import base64
import json
import os
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import zlib

ROUNDS = int(os.environ.get("BENCH_ROUNDS", "9"))
SIZES = (128, 256)
MIME_TYPE = "application/vnd.quark.quarkxpress"
PEER_THUMBNAILER = """[Thumbnailer Entry]
TryExec=/usr/bin/qxp2svg
Exec=/usr/bin/sh -c '/usr/bin/qxp2svg "$0" | /usr/bin/rsvg-convert -a -w "$1" -h "$1" > "$2"' %i %s %o
MimeType={mime};
"""


def flat_png(size):
    """A white opaque PNG, size pixels square."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + b"\xff" * (3 * size) for _ in range(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def copying_thumbnailer():
    """A thumbnailer that draws nothing: it writes a ready PNG of the asked size. What GNOME's
    factory and bubblewrap cost on their own, the floor under every thumbnailer's time."""
    pictures = {size: base64.b64encode(flat_png(size)).decode() for size in SIZES}
    script = (f'if [ "$1" = 128 ]; then echo {pictures[128]}; else echo {pictures[256]}; fi'
              ' | /usr/bin/base64 -d > "$2"')
    return f"[Thumbnailer Entry]\nTryExec=/usr/bin/base64\nExec=/usr/bin/sh -c '{script}' %u %s %o\nMimeType={MIME_TYPE};\n"


def readable_documents(corpus):
    """Every file under corpus that the reader library's own tool reads."""
    found = []
    for folder, _, names in os.walk(corpus):
        for name in names:
            path = os.path.join(folder, name)
            if subprocess.run(["qxp2raw", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0:
                found.append(path)
    return sorted(found)


def worker(files):
    """Reads a size per line; thumbnails every file at it; answers the time and what was not drawn."""
    import gi
    gi.require_version("GnomeDesktop", "3.0")
    from gi.repository import GnomeDesktop

    factories = {128: GnomeDesktop.DesktopThumbnailFactory.new(GnomeDesktop.DesktopThumbnailSize.NORMAL),
                 256: GnomeDesktop.DesktopThumbnailFactory.new(GnomeDesktop.DesktopThumbnailSize.LARGE)}
    uris = [("file://" + path, path) for path in files]
    for line in sys.stdin:
        size = int(line)
        missing = []
        start = time.perf_counter()
        for uri, path in uris:
            try:
                picture = factories[size].generate_thumbnail(uri, MIME_TYPE, None)
            except Exception:  # the factory reports a failed thumbnailer as an error
                picture = None
            if picture is None or max(picture.get_width(), picture.get_height()) != size:
                missing.append(path)
        elapsed = time.perf_counter() - start
        print(json.dumps({"elapsed": elapsed, "missing": missing}), flush=True)


def start_worker(name, data_dir, files, scratch):
    """A worker whose factory sees only the .thumbnailer files of data_dir."""
    home = os.path.join(scratch, name + "-home")
    os.makedirs(home)
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, ".local/share"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_DIRS=data_dir, GSETTINGS_SCHEMA_DIR="/usr/share/glib-2.0/schemas",
               GSETTINGS_BACKEND="memory")
    return subprocess.Popen([sys.executable, os.path.abspath(__file__), "--worker", *files], env=env, text=True,
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE)


def ask(process, size):
    process.stdin.write(f"{size}\n")
    process.stdin.flush()
    return json.loads(process.stdout.readline())


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else os.path.join("..", "shared", "qxp-corpus")
    if not os.path.isfile("/usr/share/thumbnailers/foliotta.thumbnailer"):
        sys.exit("foliotta.thumbnailer is not installed in /usr; run bench/thumbnails.sh")
    files = readable_documents(corpus)
    if not files:
        sys.exit(f"no readable documents under {corpus}")
    scratch = tempfile.mkdtemp(prefix="foliotta-gnome-bench-")
    try:
        entries = {"ours": open("/usr/share/thumbnailers/foliotta.thumbnailer").read(),
                   "peer": PEER_THUMBNAILER.format(mime=MIME_TYPE), "copy": copying_thumbnailer()}
        workers = {}
        for name, entry in entries.items():
            data_dir = os.path.join(scratch, name)
            os.makedirs(os.path.join(data_dir, "thumbnailers"))
            with open(os.path.join(data_dir, "thumbnailers", name + ".thumbnailer"), "w") as file:
                file.write(entry)
            workers[name] = start_worker(name, data_dir, files, scratch)
        rates = {(name, size): [] for name in workers for size in SIZES}
        missing = {}
        for round_number in range(ROUNDS):
            order = ("ours", "peer", "copy") if round_number % 2 == 0 else ("copy", "peer", "ours")
            for size in SIZES:
                for name in order:
                    answer = ask(workers[name], size)
                    rates[name, size].append(len(files) / answer["elapsed"])
                    for path in answer["missing"]:
                        missing.setdefault((name, size), set()).add(os.path.relpath(path, corpus))
        for process in workers.values():
            process.stdin.close()
            process.wait()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    print(f"GNOME's thumbnail factory (bubblewrap), {len(files)} readable documents, median of {ROUNDS} rounds")
    failed = False
    for size in SIZES:
        ours = statistics.median(rates["ours", size])
        peer = statistics.median(rates["peer", size])
        ratio = statistics.median(mine / theirs for mine, theirs in zip(rates["ours", size], rates["peer", size]))
        print(f"  {size:3d} px   ours {ours:6.1f} documents/s   qxp2svg | rsvg-convert {peer:6.1f} documents/s"
              f"   ratio {ratio:4.2f}x   (target at least 2x)")
    print("  the factory and bubblewrap alone, around a thumbnailer that only writes a ready PNG: "
          + ", ".join(f"{statistics.median(rates['copy', size]):.1f} documents/s at {size} px" for size in SIZES))
    # The most any thumbnailer could reach against the peer, its own work aside.
    print("  so a thumbnailer that took no time of its own would reach at most: "
          + ", ".join(f"{statistics.median(c / p for c, p in zip(rates['copy', size], rates['peer', size])):.2f}x the peer at {size} px"
                      for size in SIZES))
    for (name, size), paths in sorted(missing.items()):
        failed = failed or name == "ours"
        print(f"  not drawn by {name} at {size} px: {', '.join(sorted(paths))}")
    if not missing:
        print(f"  every readable document drawn by both, at both sizes")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "--worker":
        worker(sys.argv[2:])
    else:
        main()
