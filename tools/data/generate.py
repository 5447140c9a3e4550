#!/usr/bin/python3
"""Builds res/cit.bin, res/arc.bin and res/DataDate.h from libphonenumber,
GeoNames and tzdata. See README.md in this folder. Run with Debian's
/usr/bin/python3 after `npm ci` here."""

from collections import Counter, defaultdict
from datetime import date, timedelta
from pathlib import Path

import census
import checks
import gazetteer
import nanp_sources as nanp
import npa_report
import statcan
import zones
from city_names import match_key, normalize_city_name
from accent_table import accent_rows
from exchange_file import decode_exchanges, encode_exchanges
from place_join import cp1252_safe, join_places, shipped_name
from data_format import (COUNTRY_CANADA, COUNTRY_NON_GEOGRAPHIC, COUNTRY_USA,
                         NO_TIME_ZONE, STATE_NON_GEOGRAPHIC, CityRecord,
                         encode_city, encode_link)

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
RES = ROOT / "res"
ACCENT_TABLE = ROOT / "names" / "AccentedSpellings.inc"
ID_REGISTRY = HERE / "city_ids.tsv"

# Time zone rules are those in force in the year after the build.
REFERENCE_YEAR = 2027
MEMBER_PLACES = 5  # capital and largest places of a member country
FORMER_STATES = {"NF": "NL", "NT": "NU"}
MIN_SHARE = 0.1  # of a place's exchanges a code must hold to be linked


class Place:
    def __init__(self, state, key):
        self.state, self.key = state, key
        self.spellings = Counter()  # name as the sources write it -> weight
        self.codes, self.prefixes = set(), []
        self.name, self.country = "", COUNTRY_USA
        self.population, self.coords, self.zone = 0, None, None
        self.joined = self.rejected = False


def own_places(codes):
    """{code: {place: weight}} keeping a link only where the code holds at
    least MIN_SHARE of the place's exchanges (and always the code holding
    most of them), so a stray exchange does not make a place the code's."""
    by_place = defaultdict(dict)
    for code, info in codes.items():
        for place, weight in info["places"].items():
            by_place[place][code] = weight
    kept, dropped = defaultdict(dict), 0
    for place, weights in by_place.items():
        total, main = sum(weights.values()), max(sorted(weights), key=weights.get)
        for code, weight in weights.items():
            if code == main or weight >= MIN_SHARE * total:
                kept[code][place] = weight
            else:
                dropped += 1
    print(f"links left out as stray exchanges (under {MIN_SHARE:.0%} of a place's): {dropped}")
    return kept


def collect_geographic_places(in_service, member_codes):
    codes = nanp.geographic_codes()
    own = own_places(codes)
    geographic = {c: npa for c, npa in in_service.items()
                  if npa.use == "G" and c not in member_codes}
    # A code labelled as a whole with a place that no other code of its
    # complex serves (934 as "New York") is known by its complex instead.
    rows = npa_report.complex_members(geographic)
    whole_labels = {}
    for code in geographic:
        whole = nanp.parse_label(nanp.geocode_labels().get(f"1{code}", ""))
        if whole and whole in own[code]:
            whole_labels[code] = whole
    for code, whole in sorted(whole_labels.items()):
        others = rows[code] - {code}
        if others and not any(whole in own[m] for m in others):
            print(f"area code {code}: label {whole} of the whole code left to its complex")
            del own[code][whole]
    served = npa_report.complex_places(geographic, {c: set(own[c]) for c in geographic})
    weights = {}
    for code in geographic:
        weights.update(own[code])
    places = {}
    prefixes = nanp.place_prefixes()
    for code in sorted(geographic):
        for city, state in sorted(served[code]):
            key = (state, match_key(city))
            place = places.setdefault(key, Place(*key))
            place.spellings[city] += own[code].get((city, state), 0) or weights[(city, state)]
            place.codes.add(code)
            place.prefixes = sorted(set(place.prefixes) | set(prefixes[(city, state)]))
            place.country = COUNTRY_CANADA if state in nanp.CANADIAN_CODES else COUNTRY_USA
    for state, municipality, communities in nanp.read_table("municipalities.tsv"):
        parts = [places[(state, match_key(c))] for c in communities.split(",")
                 if (state, match_key(c)) in places]
        if not parts:
            raise SystemExit(f"municipalities.tsv: no community of {municipality} is a place")
        merged = places.setdefault((state, match_key(municipality)),
                                   Place(state, match_key(municipality)))
        merged.spellings[municipality] += sum(sum(p.spellings.values()) for p in parts)
        merged.codes = set().union(*(p.codes for p in parts))
        merged.prefixes = sorted({x for p in parts for x in p.prefixes})
        merged.country = parts[0].country
    for code, info in codes.items():
        for label in info["unused"]:
            print(f"area code {code}: label {label!r} is neither place nor state, left out")
    return places


def collect_member_places(geo, members, in_service):
    places = {}
    codes = {region: [c for c in found if c in in_service]
             for region, found in nanp.member_codes([r for r, _, _ in members]).items()}
    for region, state_text, country in members:
        for found in geo.largest_places(region, MEMBER_PLACES):
            place = Place(state_text, match_key(found.name))
            place.name = shipped_name(found.name, place.state, place.key, {}, found.name)
            place.country = COUNTRY_USA if country == "USA" else country
            place.population, place.coords = found.population, (found.lat, found.lon)
            place.codes = set(codes[region])
            place.joined = True
            places[(place.state, place.key)] = place
    return places


def collect_non_geographic(in_service):
    places, described = {}, dict(nanp.read_table("nongeographic.tsv"))
    missing = [c for c, npa in in_service.items() if npa.use == "N" and str(c) not in described]
    if missing:
        raise SystemExit(f"nongeographic.tsv: no description of the codes in service {missing}")
    for code, description in sorted(described.items()):
        if int(code) not in in_service:
            print(f"nongeographic.tsv: {code} is not in service, left out")
            continue
        place = Place(STATE_NON_GEOGRAPHIC, code)
        place.name, place.country, place.codes = description, COUNTRY_NON_GEOGRAPHIC, {int(code)}
        places[("NG", code)] = place
    return places


def assign_zones(places):
    located = [p for p in places if p.coords]
    for place, zone in zip(located, zones.zones_at([list(p.coords) for p in located])):
        place.zone = zone
    # Without coordinates: the zone libphonenumber gives the place's own
    # prefixes, never a zone borrowed from other places of its area code.
    unlocated = [p for p in places if not p.zone]
    for place in unlocated:
        place.zone = nanp.prefix_zone(place.prefixes)
    print(f"places without coordinates, zoned by their prefixes: {len(unlocated)}")


def assign_ids(places):
    registry = {}
    if ID_REGISTRY.exists():
        for line in ID_REGISTRY.read_text(encoding="utf-8").splitlines():
            if line and not line.startswith("#"):
                city_id, state, key = line.split("\t")
                registry[(state, key)] = int(city_id)
    # Places filed under NF and NT before NL and NU were stored keep their ids.
    for (state, key), city_id in list(registry.items()):
        if state in FORMER_STATES:
            registry.setdefault((FORMER_STATES[state], key), city_id)
    next_id = max(registry.values(), default=0) + 1
    new = sorted(k for k in places if k not in registry)
    with ID_REGISTRY.open("a", encoding="utf-8") as out:
        if not registry:
            out.write("# City ids of the shipped data. Append only: an id is never\n"
                      "# changed or reused, so that ids stay stable across rebuilds.\n"
                      "# id\tstate\tplace key\n")
        for key in new:
            registry[key] = next_id
            out.write(f"{next_id}\t{key[0]}\t{key[1]}\n")
            next_id += 1
    return {key: registry[key] for key in places}


def write_outputs(places, ids, month_year):
    records, links = [], []
    for key, place in places.items():
        if place.country == COUNTRY_NON_GEOGRAPHIC or not place.zone:
            tz, daylight = NO_TIME_ZONE, 0
        else:
            tz, daylight = zones.zone_hours(place.zone, REFERENCE_YEAR)
        records.append(CityRecord(ids[key], place.name, place.state, place.country,
                                  place.population, daylight, tz))
        links += [(code, ids[key]) for code in place.codes]
    records.sort(key=lambda r: (r.name, r.state, r.city_id))
    RES.mkdir(exist_ok=True)
    (RES / "cit.bin").write_bytes(b"".join(encode_city(r) for r in records))
    (RES / "arc.bin").write_bytes(b"".join(encode_link(i, c) for c, i in sorted(links)))
    (RES / "DataDate.h").write_text(
        "// Generated by tools/data/generate.py; do not edit.\n"
        "#pragma once\n\n// Month and year whose area codes the shipped data describes.\n"
        f'inline constexpr char kDataMonthYear[] = "{month_year}";\n',
        encoding="ascii", newline="\n")
    return records, links


def write_exchanges(places):
    """res/exc.bin: each exchange's place spelt as its cit.bin record; a
    label whose place is not shipped keeps its written-out name."""
    found = {}
    for (city, state) in set(nanp.exchange_places().values()):
        place = places.get((state, match_key(city)))
        found[(city, state)] = ((place.name, place.state) if place
                                else (normalize_city_name(cp1252_safe(city)), state))
    exchanges = {e: found[label] for e, label in nanp.exchange_places().items()}
    data = encode_exchanges(exchanges)
    decoded, problems = decode_exchanges(data)
    if problems or decoded != exchanges:
        raise SystemExit(f"exc.bin does not read back: {problems[:3]}")
    (RES / "exc.bin").write_bytes(data)
    shipped = sum(1 for e in exchanges.values() if e in {(p.name, p.state) for p in places.values()})
    print(f"exchanges {len(exchanges)}, {shipped} of them at a shipped place")


def write_accent_table(records):
    text, left_out = accent_rows([(r.name, r.population) for r in records])
    ACCENT_TABLE.write_text(text, encoding="utf-8", newline="\n")
    print(f"accented spellings {text.count(chr(10)) - 1}; left out for a more populous "
          f"namesake: {left_out}")


def report(geographic, records, links):
    joined = [p for p in geographic.values() if p.joined]
    weight = lambda ps: sum(sum(p.spellings.values()) for p in ps)
    versions = nanp.numbering_data()["versions"]
    print("numbering-plan data:", ", ".join(f"{k} {v}" for k, v in sorted(versions.items())))
    print(f"tzdata {zones.tzdata_version()}, rules of {REFERENCE_YEAR}")
    print(f"area codes {len({c for c, _ in links})}, places {len(records)}, links {len(links)}")
    print(f"places with population {sum(1 for r in records if r.population > 0)}")
    print(f"joined {len(joined)}/{len(geographic)} places, "
          f"{weight(joined)}/{weight(geographic.values())} by prefixes; "
          f"{sum(p.rejected for p in geographic.values())} namesakes too far away left out")
    print("places per fTimeZone:", dict(sorted(Counter(r.time_zone for r in records).items())))


def main():
    report_rows, file_date = npa_report.read_report()
    month_end = date(file_date.year + file_date.month // 12, file_date.month % 12 + 1, 1) - timedelta(days=1)
    in_service = npa_report.codes_in_service(report_rows, month_end)
    members = nanp.read_table("member_countries.tsv")
    geo = gazetteer.Gazetteer(["US", "CA"] + [region for region, _, _ in members])
    member_codes = {c for found in nanp.member_codes([r for r, _, _ in members]).values()
                    for c in found}
    geographic = collect_geographic_places(in_service, member_codes)
    join_places(list(geographic.values()), geo)
    statcan.apply_populations([p for p in geographic.values() if p.country == COUNTRY_CANADA])
    figures = census.hand_figures()
    for key, place in geographic.items():
        if key in figures:
            place.population, place.joined = figures[key], True
    print(f"census rows without a usable population: {len(geo.unusable)} "
          f"(first: {geo.unusable[:5]})")
    places = {**geographic, **collect_member_places(geo, members, in_service),
              **collect_non_geographic(in_service)}
    assign_zones([p for p in places.values() if p.country != COUNTRY_NON_GEOGRAPHIC])
    month_year = f"{month_end:%B}, {month_end.year}"
    records, links = write_outputs(places, assign_ids(places), month_year)
    write_exchanges(places)
    write_accent_table(records)
    report(geographic, records, links)
    failures = checks.run(in_service, places, records, links)
    if failures:
        raise SystemExit(f"{failures} check(s) failed")

    # --- integrity manifest: always the last step, over every file written ---
    import manifest
    manifest.write_manifest(RES)


if __name__ == "__main__":
    main()
