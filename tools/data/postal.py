#!/usr/bin/python3
"""Writes res/pst.bin, the place of each US ZIP code and Canadian forward
sortation area (format TQPOST 1, docs/data-format.md), from the shipped
places (res/cit.bin, res/arc.bin, res/knd.bin and place_table.tsv, which
generate.py writes) and the postal sources of sources/. Run it after
generate.py; it checks its result, prints the shares and the validation
figures, and writes nothing when a check fails.

A ZIP code with a tabulation area (ZCTA) answers the shipped place that
holds most of its land: an incorporated place; else the New England or
Mid-Atlantic town it lies in; else another census place; else its county
subdivision; else its post office's town; else the shipped place nearest
its point. A ZIP code without one (post office boxes, one building) answers
its post office's town when that is a shipped place of its state, else it
is listed as known without a place. An FSA answers the shipped place it is
named after ("Eastern Alberta (St. Paul)", "Richmond Hill Southwest"), else
the one whose point lies nearest, by distance and size."""

import hashlib
import math
import re
import sys
from collections import defaultdict
from pathlib import Path

from city_names import match_key
from data_format import decode_cities, decode_links
from gazetteer import distance_km
from npa_report import SOURCES, verified_text

HERE = Path(__file__).resolve().parent
RES = HERE.parent.parent / "res"
OUTPUT = RES / "pst.bin"
PLACE_TABLE = HERE / "place_table.tsv"

ZCTA_POINTS = SOURCES / "us_zcta_gazetteer_2025.csv"
ZCTA_PEOPLE = SOURCES / "us_zcta_acs_2023.csv"
ZCTA_PRIMARIES = SOURCES / "us_zcta_primaries_2020.csv"
ZCTA_OVERLAPS = SOURCES / "us_zcta_place_overlaps_2020.csv"
POST_OFFICES = SOURCES / "us_zip_post_offices_geonames_2017.tsv"
FSAS = SOURCES / "ca_fsa_geonames_2021.tsv"
PLACES_GAZETTEER = SOURCES / "us_places_gazetteer_2025.txt"
CO_CODES = SOURCES / "ca_co_codes_2024-10-10.csv"

PEOPLE = 1000  # every ZCTA of this many people must answer a place of its state
SHARED = 0.10  # another place holding this share of a ZCTA's land makes it shared
OFFICE_KM = 10  # a post office not named after a shipped place answers one this near
NAMED_KM = 150  # a place an FSA is named after lies at most this far from its point
SQUARE_METRES_PER_SQUARE_MILE = 2_589_988.110336
HOLD_OUT = 10  # one ZCTA in HOLD_OUT is held out to test the rule without the relationships
# Floors of the validation figures (percent); below them generation fails.
FLOORS = {"zcta same place": 60.0, "zcta sharing a code": 97.0, "fsa sharing a code": 95.0}
QUALIFIERS = {"downtown", "north", "south", "east", "west", "central", "outer", "inner",
              "northern", "southern", "eastern", "western", "northeast", "northwest",
              "southeast", "southwest", "upper", "lower", "greater", "rural", "metro"}


def rows(path, separator=","):
    """The rows of a verified source as dicts of its header's columns."""
    lines = verified_text(path).splitlines()
    header = lines[0].split(separator)
    found = []
    for number, line in enumerate(lines[1:], 2):
        values = line.split(separator)
        if len(values) != len(header):
            raise SystemExit(f"{path.name}, line {number}: {len(values)} fields, not {len(header)}")
        found.append(dict(zip(header, values)))
    return found


class Place:
    def __init__(self, record):
        self.id, self.name, self.state = record.city_id, record.name, record.state
        self.population = record.population
        self.codes, self.kind, self.plain, self.census, self.point = set(), None, None, "", None

    def __repr__(self):
        return f"{self.name}, {self.state}"


def read_places():
    records, problems = decode_cities((RES / "cit.bin").read_bytes())
    if problems:
        raise SystemExit(f"cit.bin: {problems[:3]}")
    places = {r.city_id: Place(r) for r in records}
    for city_id, code in decode_links((RES / "arc.bin").read_bytes()):
        places[city_id].codes.add(code)
    lines = (RES / "knd.bin").read_text(encoding="utf-8").splitlines()
    if lines[0] != "TQKIND 1":
        raise SystemExit("knd.bin: not TQKIND 1")
    for line in lines[2:]:
        city_id, kind, *plain = line.split("\t")
        places[int(city_id)].kind = kind
        places[int(city_id)].plain = plain[0] if plain else None
    for line in PLACE_TABLE.read_text(encoding="utf-8").splitlines():
        if line.startswith("#"):
            continue
        city_id, state, census, lat, lon = line.split("\t")
        place = places.get(int(city_id))
        if place is None or place.state != state:
            raise SystemExit(f"place_table.tsv: place {city_id} of {state} is not in cit.bin")
        place.census = census
        place.point = (float(lat), float(lon)) if lat else None
    return places


def state_of_fips():
    found = {}
    for row in rows(PLACES_GAZETTEER, "|"):
        found[row["GEOID"][:2]] = row["USPS"]
    return found


def held_out(code):
    return hashlib.sha256(code.encode()).digest()[0] % HOLD_OUT == 0


class Finder:
    """Shipped places by census code, by name and by point."""

    def __init__(self, places):
        self.by_census = {(p.state, p.census): p for p in places.values() if p.census}
        self.by_name = defaultdict(list)
        self.in_state = defaultdict(list)
        for place in places.values():
            self.by_name[(place.state, match_key(place.plain or place.name))].append(place)
            if place.point and place.kind not in (None, "community", "region"):
                self.in_state[place.state].append(place)

    def census(self, state, code):
        return self.by_census.get((state, code)) if code else None

    def named(self, state, name, point=None, near=True, communities=False):
        """The place people mean by `name` in `state` (its lowest rank, then
        the most people); with a point, only one lying near it (or, unless
        `near`, the one nearest it of namesakes). Communities (city
        neighbourhoods, hamlets) only when asked for."""
        found = [p for p in self.by_name.get((state, match_key(name)), [])
                 if p.kind != "region" and (communities or p.kind != "community")]
        if point and not near and found:
            found = [min(found, key=lambda p: (distance_km(point, p.point) if p.point else 1e9, p.id))]
        elif point:
            # A place without a point (a neighbourhood) cannot be far.
            found = [p for p in found if not p.point or distance_km(point, p.point) <= NAMED_KM]
        rank = {"city": 0, "town": 1, "township": 1, "cdp": 2, "centre": 2}
        found.sort(key=lambda p: (rank.get(p.kind, 3), -p.population, p.id))
        return found[0] if found else None

    def nearest(self, state, point, sized):
        """The place of the state whose point lies nearest; `sized` weighs
        the distance down by the place's size, so that a point inside a big
        city is not given to the small town beside its centre."""
        def score(place):
            km = distance_km(point, place.point)
            return km / math.sqrt(max(1.0, place.population / 1000)) if sized else km
        candidates = self.in_state.get(state, [])
        return min(candidates, key=lambda p: (score(p), p.id)) if candidates else None


def zcta_place(finder, state, primary, overlaps, land, post_office, point, use_relationships=True):
    """(place, how) of a ZCTA: how is "shared" when another place holds a
    tenth of its land or more, else "whole"."""
    if use_relationships:
        shipped = [(area, finder.census(state, geoid)) for geoid, area in overlaps]
        shipped = sorted(((a, p) for a, p in shipped if p), key=lambda ap: (-ap[0], ap[1].id))
        total = land or sum(area for _, area in overlaps) or 1.0
        place = finder.census(state, primary["place"])
        town = finder.census(state, primary["subdivision"])
        chosen = None
        if place and place.kind == "city":
            chosen = place
        elif town and town.kind == "town":
            chosen = town
        elif place:
            chosen = place
        elif shipped:
            chosen = shipped[0][1]
        elif town:
            chosen = town
        if chosen:
            others = [area for area, p in shipped if p is not chosen]
            return chosen, "shared" if others and max(others) / total >= SHARED else "whole"
    if post_office:
        found = finder.named(state, post_office, point)
        if found:
            return found, "whole"
    return finder.nearest(state, point, sized=False), "whole"


def fsa_place(finder, name, province, point):
    """The place an FSA is named after, else the one its point lies in. A
    town's FSA is its name, perhaps with neighbourhoods in parentheses
    ("Winnipeg (Minto / Wolseley)") or a part after it ("Richmond Hill
    Southwest"); a rural one names its region, then its town in parentheses
    ("Eastern Alberta (St. Paul)", "Burin Peninsula (Marystown)"): the whole
    name outside the parentheses first, then the town inside them, then the
    longest beginning of the name outside."""
    outside = re.sub(r"\([^)]*\)", "", name).split()
    while outside and outside[0].lower() in QUALIFIERS:
        outside = outside[1:]
    if outside:
        found = finder.named(province, " ".join(outside), point)
        if found:
            return found, "named"
    inside = re.findall(r"\(([^)]*)\)", name)
    for part in [part.strip() for text in inside for part in text.split("/")]:
        # The town a rural FSA is named after may lie far from its centre.
        found = finder.named(province, part, point, near=False)
        if found:
            return found, "named"
    for n in range(len(outside) - 1, 0, -1):
        found = finder.named(province, " ".join(outside[:n]), point)
        if found:
            return found, "named"
    return finder.nearest(province, point, sized=True), "point"


def percent(part, whole):
    return 100.0 * part / whole if whole else 100.0


def main():
    places = read_places()
    finder = Finder(places)
    fips = state_of_fips()
    people = {r["zcta"]: int(r["population"]) for r in rows(ZCTA_PEOPLE)}
    primaries = {r["zcta"]: r for r in rows(ZCTA_PRIMARIES)}
    overlaps = defaultdict(list)
    for row in rows(ZCTA_OVERLAPS):
        overlaps[row["zcta"]].append((row["place"], float(row["land"])))
    post_offices = {r["zip"]: r for r in rows(POST_OFFICES, "\t")}
    failures = 0

    zips, unmapped, counts, offices_unmapped = {}, [], defaultdict(int), []
    validation = defaultdict(int)
    for row in rows(ZCTA_POINTS):
        zcta, point = row["zcta"], (float(row["lat"]), float(row["lon"]))
        primary = primaries.get(zcta)
        if primary is None:
            raise SystemExit(f"{ZCTA_PRIMARIES.name}: no row for ZCTA {zcta}")
        state = fips.get(primary["county"][:2])
        office = post_offices.get(zcta)
        office_name = office["post office"] if office and office["state"] == state else None
        land = int(row["land"]) / SQUARE_METRES_PER_SQUARE_MILE
        place, how = zcta_place(finder, state, primary, overlaps[zcta], land, office_name, point)
        count = people.get(zcta, 0)
        if place is None or place.state != state:
            if count >= PEOPLE:
                unmapped.append(f"{zcta} {state} ({count:,} people)")
            zips[zcta] = (0, "unknown")
            continue
        zips[zcta] = (place.id, how)
        counts[how] += 1
        if count >= PEOPLE:
            counts["people"] += 1
        own = finder.census(state, primary["place"])
        if own is not None:
            counts["primary shipped"] += 1
            counts["primary same"] += own is place
        if held_out(zcta) and own is not None:
            validation["rule same place"] += place is own
            validation["rule sharing a code"] += bool(place.codes & own.codes)
            guess, _ = zcta_place(finder, state, primary, [], land, office_name, point, False)
            validation["zcta"] += 1
            validation["zcta same place"] += guess is own
            validation["zcta sharing a code"] += bool(guess.codes & own.codes)
    for code, office in sorted(post_offices.items()):
        if code in zips:
            continue
        point = (float(office["lat"]), float(office["lon"])) if office["lat"] else None
        # A post office may be named after a neighbourhood (Flushing, NY).
        found = finder.named(office["state"], office["post office"], point, communities=True)
        if not found and point:
            # A village of a town (North Amherst): the town it lies in.
            near = finder.nearest(office["state"], point, sized=True)
            found = near if near and distance_km(point, near.point) <= OFFICE_KM else None
        zips[code] = (found.id, "office") if found else (0, "unknown")
        counts["office" if found else "unknown"] += 1
        if not found:
            offices_unmapped.append(f"{code} {office['post office']} {office['state']}")

    fsas, fsa_counts, co_areas = {}, defaultdict(int), defaultdict(set)
    for row in rows(CO_CODES):
        co_areas[(row["Province"], match_key(row["Exchange Area"]))].add(int(row["NPA"]))
    for row in rows(FSAS, "\t"):
        fsa, province = row["fsa"], row["province"]
        if fsa in fsas:
            continue  # a second row of an FSA: the first one counts
        if not re.fullmatch(r"[ABCEGHJKLMNPRSTVXY][0-9][ABCEGHJKLMNPRSTVWXYZ]", fsa):
            raise SystemExit(f"{FSAS.name}: {fsa!r} is not a forward sortation area")
        point = (float(row["lat"]), float(row["lon"])) if row["lat"] else None
        place, how = fsa_place(finder, row["name"], province, point) if point else (None, "")
        if place is None or place.state != province:
            unmapped.append(f"{fsa} {province} {row['name']}")
            continue
        fsas[fsa] = (place.id, how)
        fsa_counts[how] += 1
        named = next((a for a in [match_key(t) for t in re.findall(r"\(([^)]*)\)", row["name"])]
                      + [match_key(row["name"].split(" ")[0])] if (province, a) in co_areas), None)
        if named is not None:
            validation["fsa"] += 1
            validation["fsa sharing a code"] += bool(place.codes & co_areas[(province, named)])

    zcta_total = len(primaries)
    big = sum(1 for z in primaries if people.get(z, 0) >= PEOPLE)
    print(f"ZCTAs: {zcta_total}; of {PEOPLE:,}+ people {big}, mapped to a place of their state "
          f"{counts['people']} ({percent(counts['people'], big):.2f}%)")
    print(f"ZCTAs whose primary place ships: {counts['primary shipped']}, answering it "
          f"{percent(counts['primary same'], counts['primary shipped']):.1f}% (the others answer "
          "the town they lie in)")
    print(f"ZIP codes: {len(zips)}; whole {counts['whole']}, shared {counts['shared']}, through "
          f"the post office's town {counts['office']}, place not known {counts['unknown']}")
    print(f"FSAs: {len(fsas)}; named after their place {fsa_counts['named']}, by their point "
          f"{fsa_counts['point']}")
    figures = {
        "zcta same place": percent(validation["zcta same place"], validation["zcta"]),
        "zcta sharing a code": percent(validation["zcta sharing a code"], validation["zcta"]),
        "fsa sharing a code": percent(validation["fsa sharing a code"], validation["fsa"]),
    }
    print(f"held out {validation['zcta']} ZCTAs with a shipped primary place: the place given is "
          f"it {percent(validation['rule same place'], validation['zcta']):.1f}%, shares a code "
          f"with it {percent(validation['rule sharing a code'], validation['zcta']):.1f}%")
    print(f"held out {validation['zcta']} ZCTAs, answered without the relationship table (post "
          f"office town, then nearest place): same place as their primary place "
          f"{figures['zcta same place']:.1f}%, sharing a code {figures['zcta sharing a code']:.1f}%")
    print(f"{validation['fsa']} FSAs named after an exchange area of the CO code list: their place "
          f"shares a code with it {figures['fsa sharing a code']:.1f}%")
    for what, floor in FLOORS.items():
        if figures[what] < floor:
            print(f"FAILED: {what} {figures[what]:.1f}% is below {floor}%")
            failures += 1
    print(f"post offices of ZIP codes without a tabulation area that are no shipped place: "
          f"{len(offices_unmapped)} (first 30: {offices_unmapped[:30]})")
    print(f"codes of 1,000 people or more, and FSAs, that map to no place of their state or "
          f"province: {len(unmapped)} {unmapped[:40]}")
    if unmapped:
        print("FAILED: every such code must map to a place of its state or province")
        failures += 1
    if failures:
        raise SystemExit(f"{failures} check(s) failed: nothing written")
    OUTPUT.write_bytes(encode(zips, fsas))
    print(f"written: {OUTPUT.name}")
    import manifest
    manifest.write_manifest(RES)


FLAGS = {"whole": "w", "shared": "s", "office": "o", "unknown": "u", "named": "n", "point": "p"}


def encode(zips, fsas):
    lines = ["TQPOST 1", "generated by tools/data/postal.py; do not edit", f"zips {len(zips)}"]
    lines += [f"{code} {place:06d} {FLAGS[how]}" for code, (place, how) in sorted(zips.items())]
    lines.append(f"fsas {len(fsas)}")
    lines += [f"{code} {place:06d} {FLAGS[how]}" for code, (place, how) in sorted(fsas.items())]
    return ("\n".join(lines) + "\n").encode("ascii")


if __name__ == "__main__":
    sys.exit(main())
