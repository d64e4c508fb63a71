#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A batch job that buffers a big temporary structure, flushes it and starts again.

Each cycle reads simulated records for --build-seconds into a list of large bytes
buffers (64 KiB to 1 MiB each) with a small metadata index beside them, until about
--peak-mib are held; it then "flushes" the batch (a checksum over it), holds it a few
seconds, drops everything, runs the garbage collector and idles before the next cycle.
The buffers are big enough to be served by mmap, so a dropped batch is returned to the
operating system: the footprint is a sawtooth around a flat baseline.

Standard library only.
"""

import argparse
import gc
import hashlib
import os
import random
import sys
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, default=900)
    parser.add_argument("--peak-mib", type=float, default=600)
    parser.add_argument("--build-seconds", type=float, default=150)
    parser.add_argument("--idle-seconds", type=float, default=30)
    parser.add_argument("--seed", type=int, default=11)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    seed_block = os.urandom(1 << 20)
    start = time.monotonic()
    cycle = 0
    while time.monotonic() - start < args.seconds:
        cycle += 1
        buffers = []
        index = {}
        held = 0
        target = args.peak_mib * (1 << 20) * rng.uniform(0.85, 1.0)
        build_start = time.monotonic()
        build_seconds = args.build_seconds * rng.uniform(0.8, 1.2)
        while held < target and time.monotonic() - start < args.seconds:
            # Keep pace with the build time: the held amount follows elapsed time.
            due = target * min((time.monotonic() - build_start) / build_seconds, 1.0)
            while held < due:
                size = rng.choice([64, 128, 256, 512, 1024]) * 1024
                offset = rng.randrange(0, len(seed_block) - 4096)
                piece = seed_block[offset:offset + 4096]
                buffers.append(piece * (size // 4096))  # a fresh, fully written buffer
                index["rec-%d-%d" % (cycle, len(buffers))] = (len(buffers) - 1, size,
                                                             rng.random())
                held += size
            time.sleep(0.2)
        # Flush: a pass over the whole batch, then hold it briefly.
        digest = hashlib.sha1()
        for i in range(0, len(buffers), 7):
            digest.update(buffers[i][:4096])
        time.sleep(rng.uniform(5, 15))
        del buffers, index
        gc.collect()
        print("batch_buffers: cycle %d flushed %d MiB (%s) at %.0f s"
              % (cycle, held >> 20, digest.hexdigest()[:8], time.monotonic() - start),
              file=sys.stderr)
        idle_end = time.monotonic() + args.idle_seconds * rng.uniform(0.7, 1.3)
        while time.monotonic() < idle_end and time.monotonic() - start < args.seconds:
            time.sleep(0.5)


if __name__ == "__main__":
    main()
