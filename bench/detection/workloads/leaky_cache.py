#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A request handler with a response cache that is never evicted: a real, slow leak.

It loads a base catalogue (about 100 MB with the interpreter), then serves simulated
requests for --seconds. Each request looks items up in the catalogue, builds a response
and stores it in a cache keyed by a request id that never repeats, so nothing is ever
hit or evicted. The request rate wanders (busy and quiet spells), and the handler makes
temporary allocations that come and go (per-request scratch lists, a periodic report).
With the defaults the cache grows by about 5 MB a minute.

Standard library only.
"""

import argparse
import hashlib
import random
import sys
import time


def make_catalogue(target_mib, rng):
    """A list of item records, about target_mib of memory in all."""
    items = []
    size = 0
    i = 0
    while size < target_mib * 1024 * 1024:
        blob = bytes(rng.getrandbits(8) for _ in range(16)) * rng.randint(100, 140)
        items.append({
            "id": i,
            "name": "item-%07d" % i,
            "tags": ["t%d" % rng.randint(0, 500) for _ in range(4)],
            "price": rng.random() * 100.0,
            "blob": blob,
        })
        size += len(blob) + 700
        i += 1
    return items


def handle(request_id, catalogue, rng):
    """Builds the response to one request; its scratch space is dropped on return."""
    picks = [catalogue[rng.randrange(len(catalogue))] for _ in range(rng.randint(3, 12))]
    scratch = [p["name"] + ":" + ",".join(p["tags"]) for p in picks]
    digest = hashlib.sha256("|".join(scratch).encode()).hexdigest()
    body = b"".join(p["blob"][: rng.randint(100, 400)] for p in picks)
    return {
        "request": request_id,
        "digest": digest,
        "total": sum(p["price"] for p in picks),
        "items": [p["id"] for p in picks],
        "body": body,
    }


def report(cache, rng):
    """A periodic summary: a burst of temporary objects, dropped afterwards."""
    rows = ["%s;%s;%.2f" % (k, v["digest"][:8], v["total"]) for k, v in cache.items()]
    rows.sort(key=lambda r: r.split(";")[1])
    extra = [bytearray(rng.randint(64, 256) * 1024) for _ in range(rng.randint(10, 60))]
    return len(rows) + len(extra)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, default=900)
    parser.add_argument("--base-mib", type=float, default=90)
    parser.add_argument("--requests-per-second", type=float, default=8.5,
                        help="mean rate; each cached response is about 10 KiB")
    parser.add_argument("--seed", type=int, default=7)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    catalogue = make_catalogue(args.base_mib, rng)
    cache = {}  # the leak: filled by every request, never evicted

    start = time.monotonic()
    next_report = start + rng.uniform(30, 90)
    mood = 1.0  # busy or quiet spells
    next_mood = start + rng.uniform(20, 60)
    request_id = 0
    tick = 0.25
    while time.monotonic() - start < args.seconds:
        now = time.monotonic()
        if now >= next_mood:
            mood = rng.choice([0.2, 0.6, 1.0, 1.0, 1.3, 1.8])
            next_mood = now + rng.uniform(20, 90)
        count = rng.expovariate(1.0 / (args.requests_per_second * tick * mood)) if mood else 0
        for _ in range(int(round(count))):
            request_id += 1
            response = handle(request_id, catalogue, rng)
            # Padding that the real handler keeps for rendering: rendered fragments.
            response["rendered"] = [response["digest"] * rng.randint(20, 40)
                                    for _ in range(4)]
            cache["req-%09d" % request_id] = response
        if now >= next_report:
            report(cache, rng)
            next_report = now + rng.uniform(30, 90)
        time.sleep(tick)
    print("leaky_cache: %d requests cached" % request_id, file=sys.stderr)


if __name__ == "__main__":
    main()
