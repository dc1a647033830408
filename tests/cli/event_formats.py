#!/usr/bin/env python3
"""The three forms of the events and next commands say the same thing, and scripts can read them.

Runs the real program: JSON must load with Python's json module and carry exactly the members
its kind has, with the day count written to at least nine decimals; CSV must load with the csv
module and match the JSON row for row; the text table must list the same events, one a line.

  event_formats.py CLI
"""
import csv, io, json, re, subprocess, sys

CLI = sys.argv[1]
BASE = {"kind", "t", "label", "local", "bodies"}
EXTRA = {"solar-eclipse": {"class", "visible"}, "lunar-eclipse": {"class", "visible"},
         "ingress": {"sign"}, "conjunction": {"pair"}}
CASES = [
    # Four years around a lunar eclipse: every kind and every member.
    ["events", "--t", "257000", "--days", "1440", "--lat", "65N", "--lon", "120E"],
    ["next", "lunar-eclipse", "--count", "3", "--previous"],
    ["next", "sunrise", "--count", "3", "--lat", "90S"],
]
failures = []


def run(args):
    done = subprocess.run([CLI] + args, capture_output=True, check=False)
    if done.returncode != 0:
        failures.append(f"{args}: status {done.returncode}: {done.stderr!r}")
    return done.stdout.decode("utf-8")


def check(case):
    raw = run(case + ["--json"])
    events = json.loads(raw)
    for number in re.findall(r'"t": (-?[0-9.]+)', raw):
        if len(number.split(".")[1]) < 9:
            failures.append(f"{case}: t written as {number}")
    for e in events:
        if set(e) != BASE | EXTRA.get(e["kind"], set()):
            failures.append(f"{case}: members {sorted(e)} for {e['kind']}")
    if [e["t"] for e in events] != sorted(e["t"] for e in events) and case[0] == "events":
        failures.append(f"{case}: not in order")

    rows = list(csv.reader(io.StringIO(run(case + ["--csv"]), newline="")))
    header = ["kind", "t", "label", "local", "bodies", "class", "visible", "sign", "pair"]
    if rows[0] != header:
        failures.append(f"{case}: CSV header {rows[0]}")
    if len(rows) - 1 != len(events):
        failures.append(f"{case}: {len(rows) - 1} CSV rows, {len(events)} JSON objects")
    for row, e in zip(rows[1:], events):
        visible = {True: "true", False: "false", None: ""}[e.get("visible")]
        expected = [e["kind"], e["t"], e["label"], e["local"], ", ".join(e["bodies"]),
                    e.get("class", ""), visible, e.get("sign", ""), e.get("pair", "")]
        if [row[0], float(row[1])] + row[2:] != expected:
            failures.append(f"{case}: CSV {row} against JSON {e}")

    lines = run(case).splitlines()
    if len(lines) - 1 != len(events):
        failures.append(f"{case}: {len(lines) - 1} table rows, {len(events)} JSON objects")
    for line, e in zip(lines[1:], events):
        if not line.startswith(f"{e['label']}  {e['local']}  {e['kind']} ") or line.endswith(" "):
            failures.append(f"{case}: table line {line!r} against {e}")
    return {e["kind"] for e in events}


kinds = set()
for case in CASES:
    kinds |= check(case)
missing = {"solar-eclipse", "lunar-eclipse", "ingress", "conjunction", "opposition",
           "equinox", "solstice", "noon", "moonrise"} - kinds
if missing:
    failures.append(f"the cases list no {sorted(missing)}: pick others")
print("\n".join(failures) if failures else f"{len(kinds)} kinds checked")
sys.exit(1 if failures else 0)
