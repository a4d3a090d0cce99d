#!/usr/bin/env python3
"""Measures the address parser on a hand-labelled corpus of real delivery
addresses: one character and its label a line ("浙 B-prov"), a blank line
between addresses, the labels prov, city, district, devzone, town, road,
poi, houseno, redundant and the like (the NAACL 2019 Chinese address
parsing data's format).

Usage: measure_corpus.py CORPUS [SLIPJET_CLI] [--show N]

The corpus is read from the path given and never copied. An address is
right when every level it writes (province, city, district) is the level
the parser gives, in full or short ("杭州" for 杭州市), and the detail is
what follows the last level written, the segments labelled redundant
left out on both sides (or left out by the parser alone). Levels the text
does not write are not scored; a level is right in full or by its stem,
under the label's level or the table's. A district written by a
former name (江干区, merged into 上城区 in 2021) is right when the parser
gives a district of the city that name belonged to (the former names come
from the parser's own table, recipient/division_data.cpp). A division is
scored at the table's level where the labels put it at another: a
county-level city labelled as a city (义乌市) is the parser's district.
"""
import json
import pathlib
import re
import subprocess
import sys

LEVELS = ("prov", "city", "district")


def addresses(path):
    segments = []
    with open(path, encoding="utf-8") as corpus:
        for line in corpus:
            line = line.rstrip("\n")
            if not line.strip():
                if segments:
                    yield segments
                segments = []
                continue
            char, _, tag = line.rpartition(" ")
            prefix, _, label = tag.partition("-")
            if prefix == "B" or not segments or segments[-1][0] != label:
                segments.append([label, char])
            else:
                segments[-1][1] += char
    if segments:
        yield segments


def expected(segments):
    written = {}
    last = -1
    for i, (label, text) in enumerate(segments):
        if label in LEVELS and label not in written:
            written[label] = text
            last = i
    detail = "".join(t for label, t in segments[last + 1:] if label != "redundant")
    redundant = [t for label, t in segments[last + 1:] if label == "redundant"]
    return written, detail, redundant


def former_names():
    """Former county-level name -> the current name of the city it lay in."""
    table = (pathlib.Path(__file__).resolve().parents[2] / "recipient/division_data.cpp").read_text()
    provinces, current, former, in_former = {}, {}, {}, False
    for code, name in re.findall(r'"(#former|\d+) ?([^"\\]*)\\n"', table):
        if code == "#former":
            in_former = True
        elif in_former:
            for written in (name.split()[0], stem_of(name.split()[0])):
                former.setdefault(written, code[:4])
        elif len(code) == 2:
            provinces[code] = name
        elif len(code) == 4:
            current[code] = name
    # A municipality's districts lie in "市辖区": the city is the municipality.
    cities = {name: provinces[code[:2]] if current.get(code) == "市辖区" else current.get(code)
              for name, code in former.items()}
    return {name: city for name, city in cities.items() if city}


def division_names():
    """The current prefecture-level and county-level names of the table,
    each with its stem, as two sets."""
    table = (pathlib.Path(__file__).resolve().parents[2] / "recipient/division_data.cpp").read_text()
    cities, counties = set(), set()
    for code, name in re.findall(r'"(#former|\d+) ?([^"\\]*)\\n"', table):
        if code == "#former":
            break
        kept = cities if len(code) == 4 else counties if len(code) == 6 else None
        if kept is not None:
            kept.update({name, stem_of(name)})
    return cities, counties


def scored_level(label, text, cities, counties):
    """The level a labelled division is scored at: the table's, where the
    labels differ from it (a county-level city such as 义乌市 labelled as a
    city is the parser's district; a city labelled as a district, its city)."""
    if label == "city" and text not in cities and text in counties:
        return "district"
    if label == "district" and text not in counties and text in cities:
        return "city"
    return label


SUFFIXES = ("自治区", "自治州", "地区", "新区", "省", "市", "区", "县", "州", "旗")


def stem_of(name):
    for suffix in SUFFIXES:
        if name.endswith(suffix) and len(name) > len(suffix) + 1:
            return name[: -len(suffix)]
    return name


def same_division(written, full):
    if not full:
        return False
    return full.startswith(stem_of(written))


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    show = int(sys.argv[sys.argv.index("--show") + 1]) if "--show" in sys.argv else 0
    if "--show" in sys.argv:
        args.remove(str(show))
    if not args:
        sys.exit(__doc__)
    cli = args[1] if len(args) > 1 else "build/native/tools/slipjet-cli"
    corpus = list(addresses(args[0]))
    texts = "\n".join("".join(t for _, t in a) for a in corpus) + "\n"
    out = subprocess.run([cli, "parse-address", "--utf8", "--lines"], input=texts.encode(),
                         capture_output=True, check=True).stdout.decode().splitlines()
    keys = {"prov": "province", "city": "city", "district": "district"}
    formers = former_names()
    cities, counties = division_names()
    right = {"prov": [0, 0], "city": [0, 0], "district": [0, 0], "detail": [0, 0]}
    whole = 0
    shown = 0
    for segments, line in zip(corpus, out):
        got = json.loads(line)
        written, detail, redundant = expected(segments)
        ok = True
        for level, text in written.items():
            scored = scored_level(level, text, cities, counties)
            hit = same_division(text, got[keys[scored]]) or same_division(text, got[keys[level]])
            if not hit and scored != "city" and text in formers and got["district"]:
                hit = formers[text] == got["city"]
            # A county-level city governed by its province (天门市, 石河子市)
            # is the parser's city, with no district below it.
            if not hit and level == "district" and not got["district"]:
                hit = same_division(text, got["city"])
            right[level][0] += hit
            right[level][1] += 1
            ok = ok and hit
        # The parser may leave a redundant part out itself, or keep it.
        got_detail = got["detail"]
        for text in redundant:
            got_detail = got_detail.replace(text, "")
        hit = detail in (got["detail"], got_detail)
        right["detail"][0] += hit
        right["detail"][1] += 1
        ok = ok and hit
        whole += ok
        if not ok and shown < show:
            shown += 1
            print("".join(t for _, t in segments), "→", got["province"], got["city"],
                  got["district"], got["detail"], "| want", written, detail)
    print(f"{len(corpus)} addresses: whole {100 * whole / len(corpus):.1f} %", end="")
    for level, (hits, total) in right.items():
        if total:
            print(f", {level} {100 * hits / total:.1f} % (of {total})", end="")
    print()


if __name__ == "__main__":
    main()
