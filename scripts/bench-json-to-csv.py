#!/usr/bin/env python3
"""Turns a Google Benchmark JSON report into the CSV form run-bench.sh reads.

The benchmark library's own CSV reporter aborts when a benchmark reports a
counter that the first one did not (its header is written once); the JSON
report has no such limit, so run-bench.sh asks for JSON and this script
writes one header with every counter any benchmark reported.

    scripts/bench-json-to-csv.py REPORT.json > REPORT.csv
"""
import json
import sys

COLUMNS = ["name", "iterations", "real_time", "cpu_time", "time_unit", "bytes_per_second", "items_per_second",
           "label", "error_occurred", "error_message"]
# Keys of a run that are neither columns above nor counters.
BOOKKEEPING = {"family_index", "per_family_instance_index", "run_name", "run_type", "repetitions",
               "repetition_index", "threads", "aggregate_name", "aggregate_unit", "big_o", "rms", "complexity"}


def main():
    with open(sys.argv[1], encoding="utf-8") as report:
        runs = json.load(report).get("benchmarks", [])
    counters = []
    for run in runs:
        for key in run:
            if key not in COLUMNS and key not in BOOKKEEPING and key not in counters:
                counters.append(key)
    # As the library's CSV reporter writes it: the header plain, the name
    # and the label of each run in quotes (run-bench.sh matches names so).
    print(",".join(COLUMNS + counters))
    for run in runs:
        fields = []
        for key in COLUMNS + counters:
            value = run.get(key, "")
            if isinstance(value, bool):
                value = "true" if value else "false"
            elif key in ("name", "label", "error_message") and value != "":
                value = '"' + str(value).replace('"', '""') + '"'
            fields.append(str(value))
        print(",".join(fields))

if __name__ == "__main__":
    main()
