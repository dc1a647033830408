#!/usr/bin/env python3
"""The three forms of the light command say the same thing, scripts can read them, and its
summary names the moments the events command finds; subpoints' JSON reads back exactly.

Runs the real program: JSON must load with Python's json module and carry exactly the members
described, rows at the start plus k steps; each row's level must follow from its stage and
Yael's state under the thresholds given; CSV must match the JSON row for row; the text table and
summary must show the same values.

  light_formats.py CLI
"""
import csv, io, json, re, subprocess, sys

CLI = sys.argv[1]
ROW = ["t", "label", "local", "sunAltitude", "moonAltitude", "stage", "illumination", "level"]
LISTS = {"astronomicalDawns": ("astronomical-dawn", "Astronomical dawn"),
         "nauticalDawns": ("nautical-dawn", "Nautical dawn"),
         "civilDawns": ("civil-dawn", "Civil dawn"), "sunrises": ("sunrise", "Sunrise"),
         "noons": ("noon", "Noon"), "sunsets": ("sunset", "Sunset"),
         "civilDusks": ("civil-dusk", "Civil dusk"),
         "nauticalDusks": ("nautical-dusk", "Nautical dusk"),
         "astronomicalDusks": ("astronomical-dusk", "Astronomical dusk"),
         "moonrises": ("moonrise", "Moonrise"), "moonsets": ("moonset", "Moonset")}
SUMMARY = set(LISTS) | {"course", "noonAltitude", "dayLength", "darkestStage", "lightestStage",
                        "illuminationStart", "illuminationEnd", "waxing", "darkest", "eclipses",
                        "moonAltitudeThreshold", "moonLitThreshold"}
STAGES = ["day", "civil", "nautical", "astronomical", "night"]
SOLSTICE = ["--date", "720-04-02"]
CASES = [  # (place, moment and options, step in days)
    ([], ["--step", "10m"], 10 / 1440),
    (["--lat", "80S"], SOLSTICE + ["--step", "1h"], 1 / 24),  # polar night
    (["--lat", "80N"], SOLSTICE + ["--step", "1h"], 1 / 24),  # polar day
    (["--lat", "60N"], SOLSTICE + ["--step", "0.05"], 0.05),
    (["--lon", "100E"], ["--t", "259723.5", "--step", "1m"], 1 / 1440),  # a lunar eclipse
    ([], ["--t", "258847", "--step", "7m", "--moon-lit", "0.6", "--moon-altitude", "20"], 7 / 1440),
]
failures = []


def run(args):
    done = subprocess.run([CLI] + args, capture_output=True, check=False)
    if done.returncode != 0:
        failures.append(f"{args}: status {done.returncode}: {done.stderr!r}")
    return done.stdout.decode("utf-8")


def dm(degrees):
    """Degrees and minutes as the table writes them."""
    minutes = round(abs(degrees) * 60)
    return ("-" if degrees < 0 and minutes else "") + f"{minutes // 60}:{minutes % 60:02d}"


def check(place, options, step):
    case = place + options
    raw = run(["light", "--json"] + case)
    data = json.loads(raw)
    rows, summary = data["rows"], data["summary"]
    if list(data) != ["rows", "summary"] or set(summary) != SUMMARY:
        failures.append(f"{case}: members {list(data)} / {sorted(summary)}")
    for number in re.findall(r'"t": (-?[0-9.]+)', raw):
        if len(number.split(".")[1]) < 9:
            failures.append(f"{case}: t written as {number}")
    start = rows[0]["t"]
    if [r["t"] for r in rows] != [start + k * step for k in range(len(rows))] or \
            not start + (len(rows) - 1) * step < start + 1 <= start + len(rows) * step:
        failures.append(f"{case}: rows not at the start plus k steps through the day")
    low, lit = summary["moonAltitudeThreshold"], summary["moonLitThreshold"]
    lunar = [e["t"] for e in summary["eclipses"] if e["kind"] == "lunar-eclipse"]
    for r in rows:
        # Near a lunar eclipse Yael may be in the shadow, which the rows do not show.
        shadowed = any(abs(r["t"] - t) < 0.5 for t in lunar) and r["level"] == "dark"
        moonlit = r["moonAltitude"] > low and r["illumination"] >= lit and not shadowed
        level = {"day": "bright", "civil": "dim"}.get(r["stage"], "dim" if moonlit else "dark")
        if list(r) != ROW or r["level"] != level or not 0 <= r["illumination"] <= 1 or \
                STAGES[[0, -6, -12, -18, -90.1].index(max(
                    b for b in [0, -6, -12, -18, -90.1] if r["sunAltitude"] >= b))] != r["stage"]:
            failures.append(f"{case}: row {r}")

    table = list(csv.reader(io.StringIO(run(["light", "--csv"] + case), newline="")))
    if table[0] != ROW or len(table) - 1 != len(rows):
        failures.append(f"{case}: CSV header {table[0]}, {len(table) - 1} rows for {len(rows)}")
    for line, r in zip(table[1:], rows):
        numbers = [float(line[i]) for i in (0, 3, 4, 6)]
        if numbers != [r[k] for k in ("t", "sunAltitude", "moonAltitude", "illumination")] or \
                [line[i] for i in (1, 2, 5, 7)] != [r[k] for k in ("label", "local", "stage", "level")]:
            failures.append(f"{case}: CSV {line} against JSON {r}")

    text = run(["light"] + case)
    lines = text.split("\n")
    for line, r in zip(lines[1:], rows):
        expected = r["label"].split() + [r["local"], dm(r["sunAltitude"]),
                    r["stage"], dm(r["moonAltitude"]), f"{r['illumination']:.3f}", r["level"]]
        if line.split() != expected:
            failures.append(f"{case}: table line {line!r} against {expected}")
    facts = dict(line.split(":", 1) for line in lines[len(rows) + 2:] if line)

    # The summary's moments are the events of the day, and the text shows each one.
    events = json.loads(run(["events", "--json", "--days", "1", "--t", repr(start)] + place))
    for key, (kind, label) in LISTS.items():
        found = [e["t"] for e in events if e["kind"] == kind]
        if [m["t"] for m in summary[key]] != found:
            failures.append(f"{case}: {key} {summary[key]} against events {found}")
        for m in summary[key]:
            if f"{m['local']} ({m['label']})" not in facts.get(label, ""):
                failures.append(f"{case}: {label} fact {facts.get(label)!r} lacks {m}")
    eclipses = [e for e in events if e["kind"].endswith("eclipse")]
    if summary["eclipses"] != eclipses:
        failures.append(f"{case}: eclipses {summary['eclipses']} against {eclipses}")
    hours = summary["dayLength"]
    if facts.get("Day length", "").split() != [str(round(hours * 60) // 60), "h",
                                               str(round(hours * 60) % 60), "min"]:
        failures.append(f"{case}: day length {hours} h against {facts.get('Day length')!r}")
    course = {"polar-day": (24, 24), "polar-night": (0, 0), "rises-and-sets": (0, 24)}
    low_h, high_h = course[summary["course"]]
    if not low_h - 1e-9 <= hours <= high_h + 1e-9:
        failures.append(f"{case}: {summary['course']} with {hours} h of day")
    return summary["course"]


courses = {check(*case) for case in CASES}
if courses != {"polar-day", "polar-night", "rises-and-sets"}:
    failures.append(f"the cases reach only {sorted(courses)}: pick others")

for t in ["258840", "-5000.25", "987654321"]:
    raw = run(["subpoints", "--json", "--t", t])
    points = json.loads(raw)
    if list(points) != ["nolomar", "yael"] or any(list(p) != ["latitude", "longitude"]
                                                  for p in points.values()):
        failures.append(f"subpoints {t}: members {raw}")
    for text in re.findall(r"-?[0-9][0-9.e+-]*", raw):
        shortest = repr(float(text)).removesuffix(".0")
        if shortest != text:
            failures.append(f"subpoints {t}: {text} is not the shortest text of its double")
    for p in points.values():
        if not (-90 <= p["latitude"] <= 90 and -180 < p["longitude"] <= 180):
            failures.append(f"subpoints {t}: {p} off the globe")

print("\n".join(failures) if failures else f"{len(CASES)} light cases and 3 subpoints checked")
sys.exit(1 if failures else 0)
