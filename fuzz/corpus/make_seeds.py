#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target (fuzz/corpus/<target>/).

The layouts follow the input description at the top of each target; rerun
after changing one: python3 fuzz/corpus/make_seeds.py
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent


def f64(v):
    return struct.pack("<d", v)


def write(target, seeds):
    d = HERE / target
    d.mkdir(exist_ok=True)
    for old in d.iterdir():
        old.unlink()
    for i, data in enumerate(seeds):
        (d / f"seed{i:02d}").write_bytes(data)


texts = ["0.17", "0.813", "2081", "2,081", "22.5", "1,234,567.891", "-12.5e3", "1e4000",
         "  7.  ", "50%", "+", "-", "1.2.3", "0x1F", "inf", "nan", "", "12 345,67",
         "999999999999999999.95", "0.000000000000000000001", "1,,,,234", "1e-4950"]
# selector 0 ("." and ","), 1 ("," and "."), 7 with a custom pair "·" and "'".
float_seeds = []
for i, t in enumerate(texts):
    sel = bytes([[0, 1, 2][i % 3]])
    opt = bytes([(i % 5) | (0x40 if i % 2 else 0) | (0x80 if i % 4 == 0 else 0)])
    float_seeds.append(sel + opt + t.encode())
float_seeds.append(bytes([7]) + "·'".encode("utf-16-le") + bytes([0x82]) + "1'234·5".encode())
write("fuzz_float_text", float_seeds)

ints = ["45", "0", "-0", "+17", "9223372036854775807", "-9223372036854775808",
        "9223372036854775808", "1,000,000", " 12 ", "1.5", "--1", "", "4294967296"]
write("fuzz_int_text", [bytes([i % 3, 0x81 if i % 2 else 0x00]) + t.encode()
                        for i, t in enumerate(ints)])

groups = ["1234", "1234567.891", "-1234567", "12a3456", "1,2,3,4", ",,,", "1234.5678",
          "+1234", "", "12345678901234567890"]
write("fuzz_grouping", [bytes([i % 3, i * 3, 0x80 if i % 2 else 0]) + t.encode()
                        for i, t in enumerate(groups)])

numlab = []
values = [61.34, 1234.7, 0.0, -0.004, 255.0, 4294967296.0, 42.0, 3e9, 5.0, -1.0,
          45291.75, 1e308, 5e-324, float("nan"), float("inf")]
for i, v in enumerate(values):
    for t in range(10):
        if (i + t) % 3:
            continue
        numlab.append(bytes([t, (i + t) % 16, (i % 4) | (0x80 if t % 2 else 0)]) + f64(v) +
                      b"mmm-dd, yyyy hh:nn am/pm")
write("fuzz_numlab_format", numlab)

ranges = [(0, 100), (0, 5000), (-1, 1), (0, 1e-300), (1e20, 1e20 + 1e5), (-5e307, 5e307),
          (0.001, 0.0011), (100, 0), (3, 3), (0, float("inf")), (float("nan"), 1)]
meter = []
for i, (lo, hi) in enumerate(ranges):
    meter.append(bytes([3, 1 + i % 20, i % 5, 0x80 if i % 2 == 0 else 0]) +
                 f64(lo) + f64(hi) + f64((lo + hi) / 2 if hi == hi else 0) + f64(hi))
write("fuzz_meter_scale", meter)

# Truck files: the plain text of a file, good and bad.
head = '{"format": "velmora-truck", "version": 1'
trucks = [
    head + "}",
    head + ', "engine": 2, "final_drive": 5, "tyre": 16, "body": 3, "gear": 4, '
    '"overdrive_ratio": 0.813, "transmission_loss": 0.17, "rolling_resistance": 45.0, '
    '"frontal_area": 22.5, "drag_coef": 0.65, "load": 3000, "gradient": 100, '
    '"load_rating": 2081, "pitch_radius": 1.11, "pressure_angle": 20, "helix_angle": 15, '
    '"overhang": 1.15, "load_factor": 1.2, "units": {"speed": "km/h", "life": "km"}}',
    head + ', "duty": [{"share_pct": 60, "speed_mph": 62, "gear": 5}, '
    '{"share_pct": 25, "speed_mph": 45, "gear": 5, "gradient": -0.03}, '
    '{"share_pct": 15, "speed_mph": 30, "gear": 4, "gradient": 0.03, "load": 2500}]}',
    head + ', "engine": 1, "engine_name": "whatever", "load": 1e400}',
    head + ', "lo\\nad": 5, "units": {"speed": "k\\u0007m"}}',
    head + ', "duty": [{"share_pct": 50, "speed_mph": 50, "gear": 5}, 1e400]}',
    '{"format": "velmora-truck", "version": 0}',
    head + ', "load": 50, "load": 60}',
    "[" * 64 + "]" * 64,
]
write("fuzz_truck_file", [t.encode() for t in trucks])
