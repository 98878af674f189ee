#!/usr/bin/env python3
"""Writes docs/sample-route.gpx: about half an hour of a truck's driving
through a town, over two hills and back into town, one fix every 2 s with
the noise of a phone's GPS. Deterministic: the same file every run.

    scripts/make-sample-route.py [OUT.gpx]
"""
import math
import random
import sys
from datetime import datetime, timedelta, timezone

MPH = 0.44704  # m/s
EARTH_R = 6371008.8

# (length m, target mph, gradient, turn degrees per km, rolling amplitude);
# a leg of length 0 is a stop of `target` seconds.
LEGS = [
    (800, 25, 0.0, 30, 0.0),
    (0, 40, 0, 0, 0),  # traffic lights
    (1200, 30, 0.02, -20, 0.0),
    (4000, 50, 0.01, 5, 0.015),
    (2500, 40, 0.05, 12, 0.0),  # the first hill
    (3000, 55, 0.0, -8, 0.02),
    (2500, 50, -0.06, 15, 0.0),  # and down the other side
    (9000, 60, 0.0, -4, 0.015),
    (1500, 45, 0.04, 10, 0.0),  # the second, shorter hill
    (2000, 55, -0.04, -10, 0.0),
    (3000, 50, -0.01, 6, 0.01),
    (1500, 30, 0.0, 40, 0.0),
    (0, 30, 0, 0, 0),  # a junction
    (600, 20, 0.0, -60, 0.0),
]

ACCEL = 0.8  # m/s² towards the target speed
BRAKE = 1.5
STEP_S = 1.0
RECORD_EVERY_S = 2


def simulate():
    """Yields (t s, distance m, elevation m, heading deg) once a second."""
    t, dist, ele, heading, v = 0.0, 0.0, 212.0, 40.0, 0.0
    for length, target, grade, turn, rolling in LEGS:
        if length == 0:
            # brake to a stop, then stand
            while v > 0:
                v = max(0.0, v - BRAKE * STEP_S)
                dist += v * STEP_S
                t += STEP_S
                yield t, dist, ele, heading
            for _ in range(int(target)):
                t += STEP_S
                yield t, dist, ele, heading
            continue
        start = dist
        while dist - start < length:
            s = dist - start
            g = grade + rolling * math.sin(2 * math.pi * s / 900)
            # a loaded truck sheds speed on a climb
            want = target * MPH * (1 - 4 * max(g, 0.0))
            v = min(v + ACCEL * STEP_S, want) if v < want else max(v - BRAKE * STEP_S, want)
            step = v * STEP_S
            dist += step
            ele += g * step
            heading += turn * step / 1000
            t += STEP_S
            yield t, dist, ele, heading


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "docs/sample-route.gpx"
    rng = random.Random(20240501)
    lat, lon = math.radians(55.61), math.radians(-2.81)
    last_dist = 0.0
    start = datetime(2024, 5, 1, 7, 42, 0, tzinfo=timezone.utc)
    points = []
    for t, dist, ele, heading in simulate():
        # move along the heading on a sphere; the reader measures on the ellipsoid
        d = (dist - last_dist) / EARTH_R
        last_dist = dist
        h = math.radians(heading)
        lat2 = math.asin(math.sin(lat) * math.cos(d) + math.cos(lat) * math.sin(d) * math.cos(h))
        lon += math.atan2(math.sin(h) * math.sin(d) * math.cos(lat),
                          math.cos(d) - math.sin(lat) * math.sin(lat2))
        lat = lat2
        if int(t) % RECORD_EVERY_S:
            continue
        noise_n, noise_e = rng.gauss(0, 1.2), rng.gauss(0, 1.2)
        plat = math.degrees(lat + noise_n / EARTH_R)
        plon = math.degrees(lon + noise_e / (EARTH_R * math.cos(lat)))
        pele = ele + rng.gauss(0, 1.8)
        when = (start + timedelta(seconds=t)).strftime("%Y-%m-%dT%H:%M:%SZ")
        points.append(f'<trkpt lat="{plat:.7f}" lon="{plon:.7f}"><ele>{pele:.1f}</ele>'
                      f"<time>{when}</time></trkpt>")
    with open(out, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<gpx version="1.1" creator="velmora make-sample-route.py" '
                'xmlns="http://www.topografix.com/GPX/1/1">\n'
                "<trk><name>Sample drive: town, two hills, town</name><trkseg>\n")
        f.write("\n".join(points))
        f.write("\n</trkseg></trk>\n</gpx>\n")
    print(f"{out}: {len(points)} points, {last_dist / 1000:.1f} km, "
          f"{t / 60:.1f} min", file=sys.stderr)


if __name__ == "__main__":
    main()
