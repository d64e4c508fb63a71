#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A data-analysis style program: loads a large data set in stages, then works on it.

Load phase (--load-seconds): in --stages stages, generates a CSV chunk and a JSON chunk
as text, parses them into lists of dicts (csv.DictReader, json.loads), converts fields
and indexes the rows by id; the text of each chunk is temporary. The data set reaches a
few hundred MB. Work phase (--work-seconds): with the data held, runs aggregations,
index lookups, sorts of subsets and JSON exports of samples, whose temporary results
come and go, then exits.

Standard library only.
"""

import argparse
import csv
import io
import json
import random
import statistics
import sys
import time

CITIES = ["Lyon", "Porto", "Gdansk", "Turku", "Bergen", "Graz", "Ghent", "Brno", "Cork",
          "Malmo", "Bilbao", "Trieste", "Aarhus", "Tartu", "Kaunas", "Split"]
PRODUCTS = ["widget", "gadget", "sprocket", "flange", "gizmo", "bracket", "gear", "valve"]


def csv_chunk(rng, first_id, rows):
    out = io.StringIO()
    writer = csv.writer(out)
    writer.writerow(["id", "city", "product", "quantity", "price", "customer", "note", "day"])
    for i in range(first_id, first_id + rows):
        writer.writerow([i, rng.choice(CITIES), rng.choice(PRODUCTS), rng.randint(1, 50),
                         "%.2f" % rng.uniform(1, 500), "cust-%06d" % rng.randint(0, 200000),
                         "note %x %s" % (rng.getrandbits(48), rng.choice(PRODUCTS) * 2),
                         "2024-%02d-%02d" % (rng.randint(1, 12), rng.randint(1, 28))])
    return out.getvalue()


def json_chunk(rng, first_id, rows):
    events = [{"event": i, "order": rng.randint(0, first_id + rows),
               "kind": rng.choice(["view", "cart", "buy", "return"]),
               "tags": ["t%d" % rng.randint(0, 99) for _ in range(rng.randint(1, 4))],
               "score": rng.random()} for i in range(first_id, first_id + rows)]
    return json.dumps(events)


def load(args, rng):
    orders, by_id, events = [], {}, []
    stage_seconds = args.load_seconds / args.stages
    start = time.monotonic()
    for stage in range(args.stages):
        text = csv_chunk(rng, len(orders), args.rows_per_stage)
        for row in csv.DictReader(io.StringIO(text)):
            row["id"] = int(row["id"])
            row["quantity"] = int(row["quantity"])
            row["price"] = float(row["price"])
            orders.append(row)
            by_id[row["id"]] = row
        del text
        text = json_chunk(rng, len(events), args.rows_per_stage // 2)
        events.extend(json.loads(text))
        del text
        print("load_and_query: stage %d: %d orders, %d events at %.0f s"
              % (stage + 1, len(orders), len(events), time.monotonic() - start),
              file=sys.stderr)
        # Data arrives in stages: wait for the next one.
        wait = start + (stage + 1) * stage_seconds - time.monotonic()
        if wait > 0:
            time.sleep(wait)
    return orders, by_id, events


def work(args, rng, orders, by_id, events):
    start = time.monotonic()
    rounds = 0
    while time.monotonic() - start < args.work_seconds:
        rounds += 1
        op = rng.randrange(5)
        if op == 0:  # revenue per city and product
            totals = {}
            for row in orders:
                key = (row["city"], row["product"])
                totals[key] = totals.get(key, 0.0) + row["quantity"] * row["price"]
            best = max(totals.items(), key=lambda kv: kv[1])
        elif op == 1:  # random lookups joined with events
            hits = 0
            for ev in rng.sample(events, 20000):
                row = by_id.get(ev["order"])
                if row is not None and ev["kind"] == "buy":
                    hits += row["quantity"]
        elif op == 2:  # top customers of a sample, sorted
            sample = rng.sample(orders, 100000)
            sample.sort(key=lambda r: (r["customer"], -r["price"]))
            groups = {}
            for row in sample:
                groups.setdefault(row["customer"], []).append(row["price"])
            best = sorted(groups.items(), key=lambda kv: -sum(kv[1]))[:50]
        elif op == 3:  # export a sample as JSON (a big temporary string)
            text = json.dumps(rng.sample(orders, 50000))
            del text
        else:  # statistics of prices per month
            months = {}
            for row in orders[rng.randrange(len(orders) // 2):][:200000]:
                months.setdefault(row["day"][:7], []).append(row["price"])
            stats = {m: (statistics.fmean(v), max(v)) for m, v in months.items()}
        time.sleep(rng.uniform(2, 6))
    print("load_and_query: %d work rounds" % rounds, file=sys.stderr)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--load-seconds", type=float, default=120)
    parser.add_argument("--work-seconds", type=float, default=600)
    parser.add_argument("--stages", type=int, default=10)
    parser.add_argument("--rows-per-stage", type=int, default=50000)
    parser.add_argument("--seed", type=int, default=3)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    orders, by_id, events = load(args, rng)
    work(args, rng, orders, by_id, events)


if __name__ == "__main__":
    main()
