#!/usr/bin/env python3
"""The almanac's three forms hold the same events, scripts can read them, and their ids hold.

Runs the real program: the almanac's JSON must load with Python's json module and be the events
command's objects for the same days with an "id" put first; its CSV must load with the csv
module and match the JSON row for row; its text must list the same events and count them per
kind and per year. Ids must be ASCII, unique, and the same where two spans overlap. The
calendar's JSON must load too, its marks being the almanac's objects for the month.

  almanac_formats.py CLI
"""
import csv, io, json, re, subprocess, sys

CLI = sys.argv[1]
ID = re.compile(r"^[a-z-]+:[a-z]+(\+[a-z]+)?:[0-9]+-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}$")
HEADER = ["id", "kind", "t", "label", "local", "bodies", "class", "visible", "sign", "pair"]
DEFAULT = ["new-moon", "first-quarter", "full-moon", "last-quarter", "solar-eclipse",
           "lunar-eclipse", "conjunction", "opposition", "ingress", "equinox", "solstice"]
CASES = [  # first day, last day, number of days, kinds (None: the default), place
    ("720-1-1", "721-12-30", 720, None, []),
    ("719-12-25", "720-1-4", 10, "sunrise,sunset,moonrise,moonset,noon", ["--lat", "69S"]),
    ("4000-6-1", "4002-5-30", 720, "solar-eclipse,lunar-eclipse,conjunction,opposition",
     ["--lat", "12.5", "--lon", "-160"]),
]
failures = []


def run(args):
    done = subprocess.run([CLI] + args, capture_output=True, check=False)
    if done.returncode != 0:
        failures.append(f"{args}: status {done.returncode}: {done.stderr!r}")
    return done.stdout.decode("utf-8")


def almanac(first, last, kinds, place, form):
    return run(["almanac", "--from", first, "--to", last] + place +
               (["--kinds", kinds] if kinds else []) + (["--" + form] if form else []))


def check(first, last, days, kinds, place):
    case = f"{first} to {last} {kinds or 'default'} {place}"
    objects = json.loads(almanac(first, last, kinds, place, "json"))
    events = json.loads(run(["events", "--date", first, "--time", "00:00", "--days", str(days),
                             "--kinds", kinds or ",".join(DEFAULT), "--json"] + place))
    if not objects:
        failures.append(f"{case}: no events")
    if [{k: v for k, v in o.items() if k != "id"} for o in objects] != events:
        failures.append(f"{case}: the JSON is not the events command's list for the same days")
    for o in objects:
        if list(o)[0] != "id" or not ID.match(o["id"]) or not o["id"].isascii():
            failures.append(f"{case}: id of {o}")
    ids = [o["id"] for o in objects]
    if len(set(ids)) != len(ids):
        failures.append(f"{case}: {len(ids) - len(set(ids))} ids given twice")

    rows = list(csv.reader(io.StringIO(almanac(first, last, kinds, place, "csv"), newline="")))
    if rows[0] != HEADER or len(rows) - 1 != len(objects):
        failures.append(f"{case}: CSV header {rows[0]}, {len(rows) - 1} rows for {len(objects)}")
    for row, o in zip(rows[1:], objects):
        visible = {True: "true", False: "false", None: ""}[o.get("visible")]
        expected = [o["id"], o["kind"], o["t"], o["label"], o["local"], ", ".join(o["bodies"]),
                    o.get("class", ""), visible, o.get("sign", ""), o.get("pair", "")]
        if row[:2] + [float(row[2])] + row[3:] != expected:
            failures.append(f"{case}: CSV {row} against JSON {o}")

    text = almanac(first, last, kinds, place, None)
    head, table, counts = text.split("\n\n", 2)
    shown = (kinds or ",".join(DEFAULT)).split(",")
    if head.split("\n")[1:] != [
            f"Span: {first[:first.index('-')].zfill(3)}{format_day(first)} to "
            f"{last[:last.index('-')].zfill(3)}{format_day(last)}, {days} days, "
            "00:00 OST to 24:00 OST", "Kinds: " + ", ".join(shown)]:
        failures.append(f"{case}: heading {head!r}")
    lines = table.split("\n")[1:]
    if len(lines) != len(objects):
        failures.append(f"{case}: {len(lines)} table rows, {len(objects)} JSON objects")
    for line, o in zip(lines, objects):
        if not line.startswith(f"{o['label']}  {o['local']}  {o['kind']} "):
            failures.append(f"{case}: table line {line!r} against {o}")
    by_kind = dict(line.rsplit(None, 1) for line in counts.split("\n\n")[0].split("\n")[1:])
    for kind in shown:
        if int(by_kind.get(kind, -1)) != sum(o["kind"] == kind for o in objects):
            failures.append(f"{case}: count of {kind} {by_kind.get(kind)}")
    if int(by_kind.get("all", -1)) != len(objects):
        failures.append(f"{case}: count of all {by_kind.get('all')}")
    years = [line.split() for line in counts.split("\n\n")[1].strip().split("\n")[2:]]
    for year in years:
        found = [o for o in objects if o["label"].startswith(f"{int(year[0]):03d}-")]
        expected = [str(sum(o["kind"] == kind for o in found)) for kind in shown]
        if year[1:] != expected + [str(len(found))]:
            failures.append(f"{case}: year row {year} against {expected}")
    if sum(int(year[-1]) for year in years) != len(objects):
        failures.append(f"{case}: the years count {sum(int(y[-1]) for y in years)}")
    return {o["t"]: o["id"] for o in objects}


def format_day(date):
    _, month, day = date.split("-")
    return f"-{int(month):02d}-{int(day):02d}"


for case in CASES:
    check(*case)

# Two spans that share four months give their shared events the same ids.
first = check("720-1-1", "720-8-30", 240, "new-moon,sunrise,ingress,conjunction", [])
second = check("720-5-1", "720-12-30", 240, "new-moon,sunrise,ingress,conjunction", [])
shared = sorted(set(first) & set(second))
if len(shared) < 150 or any(first[t] != second[t] for t in shared):
    failures.append(f"overlap: {len(shared)} shared events, ids differ or too few")
start, end = 258839.5 + 120, 258839.5 + 240
if [t for t in first if start <= t < end] != [t for t in second if start <= t < end]:
    failures.append("overlap: the two spans found different events in the days they share")

# The calendar's JSON loads; its marks are the almanac's objects of the month's days, of the
# ingresses only Nolomar's.
month = json.loads(run(["calendar", "--json", "--date", "720-7-15", "--lat", "66N"]))
marks = [m for day in month["days"] for m in day["marks"]]
listed = json.loads(run(["almanac", "--from", "720-7-1", "--to", "720-7-30", "--lat", "66N",
                         "--json", "--kinds", "new-moon,full-moon,solar-eclipse,lunar-eclipse,"
                                              "conjunction,ingress,equinox,solstice"]))
listed = [e for e in listed if e["kind"] != "ingress" or e["bodies"] == ["Nolomar"]]
if marks != listed or [d["date"] for d in month["days"]] != [
        f"720-07-{d:02d}" for d in range(1, 31)]:
    failures.append(f"calendar month: {len(marks)} marks, almanac {len(listed)}")
for day in month["days"]:
    for key in ("sunrises", "sunsets"):
        for m in day[key]:
            if set(m) != {"t", "label", "local"} or not day["start"] <= m["t"] < day["end"]:
                failures.append(f"calendar {day['date']}: {key} {m}")
year = json.loads(run(["calendar", "--year", "--json"]))
if [len(m["days"]) for m in year["months"]] != [30] * 12 or \
        any("sunrises" in d for m in year["months"] for d in m["days"]):
    failures.append("calendar year: not twelve months of thirty days without rises")

print("\n".join(failures) if failures else f"{len(CASES) + 2} almanacs and 2 calendars checked")
sys.exit(1 if failures else 0)
