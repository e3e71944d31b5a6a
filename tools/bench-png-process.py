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


def same_pixels(quillconv, first, second, scratch):
    """Whether two PNG files hold the same pixels: both are turned into BMP
    files by quillconv (whose PNG reader is libpng) and compared."""
    outputs = []
    for index, path in enumerate((first, second)):
        bmp = os.path.join(scratch, f"check{index}.bmp")
        run([quillconv, path, bmp])
        outputs.append(open(bmp, "rb").read())
    return outputs[0] == outputs[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--width", type=int, default=3840)
    parser.add_argument("--height", type=int, default=2160)
    parser.add_argument("--no-build", action="store_true")
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
        if not same_pixels(quillconv, ours_png, reference_png, scratch):
            sys.exit("bench-png-process: the two files hold different pixels")


if __name__ == "__main__":
    main()
