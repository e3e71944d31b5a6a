#!/usr/bin/env python3
"""Whole-process PNG save benchmark.

Times `quillconv DESKTOP.bmp OUT.png` against `libpng_convert DESKTOP.bmp
REF.png` (the straightforward libpng program at compression level 6, built
from bench/process/) as processes, interleaved in one run, and prints the
median wall-clock and CPU (user + system) time of each, their ratio and the
file sizes. The input is the benchmarks' 3840 x 2160 desktop picture as a
32-bit BMP (bench/support/DesktopPicture.h). Both programs come from the
optimised `bench` preset, which this script configures and builds.

    tools/bench-png-process.py [--runs N] [--width W] [--height H]

Exits 1 when a program fails or the outputs differ in their pixels.
"""
import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time
import zlib

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(TOP, "build", "bench")


def build():
    subprocess.run(["cmake", "--preset", "bench"], cwd=TOP, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "bench", "--target", "quillconv", "libpng_convert",
                    "make_desktop_bmp"], cwd=TOP, check=True, stdout=subprocess.DEVNULL)


def run(command):
    """Runs command; returns (wall seconds, CPU seconds of the child)."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit(f"bench-png-process: {' '.join(command)} failed: {process.stderr.read().decode()}")
    return wall, usage.ru_utime + usage.ru_stime


def png_pixels(path):
    """The decompressed, unfiltered rows of an 8-bit RGB/RGBA PNG (enough to
    compare two files of this benchmark)."""
    data = open(path, "rb").read()
    position, idat, header = 8, b"", None
    while position < len(data):
        length = int.from_bytes(data[position:position + 4], "big")
        kind = data[position + 4:position + 8]
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            idat += body
        position += 12 + length
    width, height = int.from_bytes(header[0:4], "big"), int.from_bytes(header[4:8], "big")
    channels = {2: 3, 6: 4}[header[9]]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, channels, b"".join(rows)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--width", type=int, default=3840)
    parser.add_argument("--height", type=int, default=2160)
    parser.add_argument("--no-build", action="store_true")
    parser.add_argument("--no-verify", action="store_true", help="skip the pixel comparison (slow in Python)")
    options = parser.parse_args()
    if not options.no_build:
        build()
    quillconv = os.path.join(BUILD, "tools", "quillconv", "quillconv")
    reference = os.path.join(BUILD, "bench", "libpng_convert")
    with tempfile.TemporaryDirectory(prefix="qs-bench-png-process-") as scratch:
        bmp = os.path.join(scratch, "desktop.bmp")
        ours_png, reference_png = os.path.join(scratch, "ours.png"), os.path.join(scratch, "reference.png")
        subprocess.run([os.path.join(BUILD, "bench", "make_desktop_bmp"), str(options.width), str(options.height), bmp],
                       check=True)
        # One untimed run of each warms the page cache and the binaries.
        run([quillconv, bmp, ours_png])
        run([reference, bmp, reference_png])
        times = {"quillconv": [], "libpng level 6": []}
        for _ in range(options.runs):
            times["quillconv"].append(run([quillconv, bmp, ours_png]))
            times["libpng level 6"].append(run([reference, bmp, reference_png]))
        sizes = {"quillconv": os.path.getsize(ours_png), "libpng level 6": os.path.getsize(reference_png)}
        print(f"{options.width} x {options.height} desktop BMP to PNG, {options.runs} interleaved runs, medians:")
        medians = {}
        for name, samples in times.items():
            wall = statistics.median(s[0] for s in samples)
            cpu = statistics.median(s[1] for s in samples)
            medians[name] = (wall, cpu)
            print(f"  {name:15s} wall {wall * 1000:7.1f} ms   cpu {cpu * 1000:7.1f} ms   {sizes[name]:9d} bytes")
        ours, ref = medians["quillconv"], medians["libpng level 6"]
        print(f"  ratio           wall {ours[0] / ref[0]:.2f}x      cpu {ours[1] / ref[1]:.2f}x      "
              f"size {sizes['quillconv'] / sizes['libpng level 6']:.3f}x")
        if not options.no_verify and png_pixels(ours_png)[3] != png_pixels(reference_png)[3]:
            sys.exit("bench-png-process: the two files hold different pixels")


if __name__ == "__main__":
    main()
