#!/usr/bin/python3
"""Builds res/cit.bin, res/arc.bin and res/DataDate.h from libphonenumber,
GeoNames and tzdata. See README.md in this folder. Run with Debian's
/usr/bin/python3 after `npm ci` here."""

import re
from collections import Counter, defaultdict
from datetime import date, timedelta
from pathlib import Path

import area_places
import canadian_exchanges
import kinds
import census
import city_parts
import checks
import gazetteer
import nanp_sources as nanp
import neighbourhoods
import npa_report
import residents
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
PLACE_TABLE = HERE / "place_table.tsv"

# Time zone rules are those in force in the year after the build.
REFERENCE_YEAR = 2027
MEMBER_PLACES = 10_000  # capital and places of a member country (of THRESHOLD people up)
FORMER_STATES = {"NF": "NL", "NT": "NU"}
MIN_SHARE = 0.1  # of a place's exchanges a code must hold to be linked
# Territories whose GeoNames places carry the kind word "Village".
VILLAGE_TERRITORIES = {"GU", "MP"}
# The month the shipped data describes: every code in service on its last day
# ships. A code announced for a later date is left for the next release.
RELEASE_MONTH = (2026, 12)


class Place:
    def __init__(self, state, key):
        self.state, self.key = state, key
        self.spellings = Counter()  # name as the sources write it -> weight
        self.codes, self.prefixes = set(), []
        self.name, self.country = "", COUNTRY_USA
        self.population, self.coords, self.zone = 0, None, None
        self.joined = self.rejected = False
        self.id_key, self.unit = key, None  # the key its id is filed under; its census unit
        self.member = False  # a place of a member country or territory (from GeoNames)
        self.kind, self.plain = None, None  # knd.bin: its kind, and its plain name when renamed
        self.uncounted = False  # shipped without a figure: no census counts it (a hamlet, a neighbourhood, an island)


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
        if region == "PR":  # Puerto Rico's places are its municipios
            continue
        for rank, found in enumerate(geo.largest_places(region, MEMBER_PLACES)):
            # The capital and the four largest places, and every other place
            # of THRESHOLD people up.
            if rank >= 5 and found.population < residents.THRESHOLD:
                continue
            place = Place(state_text, match_key(found.name))
            place.name = shipped_name(found.name, place.state, place.key, {}, found.name)
            place.country = COUNTRY_USA if country == "USA" else country
            place.population, place.coords = found.population, (found.lat, found.lon)
            place.codes = set(codes[region])
            place.joined = place.member = True
            places[(place.state, place.key)] = place
    # Guam's and the Northern Marianas' villages under the names people use,
    # without GeoNames' kind word: "Dededo", not "Dededo Village".
    for key, place in sorted(places.items()):
        if key[0] in VILLAGE_TERRITORIES and place.name.endswith(" Village"):
            del places[key]
            place.name = place.name[:-len(" Village")]
            place.key = match_key(place.name)  # keeps its id
            places.setdefault((place.state, place.key), place)
    # A member's exchange named after a community of GeoNames (Providenciales,
    # Negril) makes it a place too, with its count where GeoNames has one.
    labels = defaultdict(set)
    for prefix, label in nanp.geocode_labels().items():
        labels[int(prefix[1:4])].add(label)
    for region, state_text, country in members:
        if region == "PR":
            continue
        named = sorted({label for code in codes[region] for label in labels[code]})
        for label in named:
            key = (region, match_key(label))
            found = (geo.populated.get(key) or []) + (geo.located.get(key) or [])
            if not found or (state_text, match_key(label)) in places:
                continue
            place = Place(state_text, match_key(found[0].name))
            place.name = shipped_name(found[0].name, place.state, place.key, {}, found[0].name)
            place.country = COUNTRY_USA if country == "USA" else country
            place.population, place.coords = found[0].population, (found[0].lat, found[0].lon)
            place.codes, place.joined = set(codes[region]), found[0].population > 0
            place.member = True
            places[(place.state, place.key)] = place
    # A village GeoNames also names with its district's ("Tamuning-Tumon-
    # Harmon" for Tamuning, with Tamuning's people) ships once, by the
    # shorter name.
    for key, place in sorted(places.items()):
        first = (key[0], match_key(place.name.split("-")[0]))
        if first != key and first in places and places[first].population == place.population > 0:
            del places[key]
    regions = territory_places(geo, places, codes)
    return places, regions, member_exchanges(members, places, codes, regions)


def member_exchanges(members, places, codes, regions):
    """{NPA-NXX: place} of the members' exchanges whose label names a
    place: a member place of the label's name, or the place
    member_labels.tsv ships for it (Bahamas' islands as regions). A label
    naming the whole member ("Cayman Islands") names no place. Regions are
    added to regions."""
    table = {(r, l): (n, k) for r, l, n, k in nanp.read_table("member_labels.tsv", 4)}
    region_of = {c: r for r, found in codes.items() for c in found}
    about = {region: (state_text, country) for region, state_text, country in members}
    found = {}
    for exchange, label in sorted(nanp.exchange_labels().items()):
        region = region_of.get(int(exchange[:3]))
        if region is None or nanp.parse_label(label):
            continue
        name, kind = table.get((region, label), (label, None))
        state_text, country = about[region]
        key = (state_text, match_key(name))
        if key not in places and kind is None:
            continue
        if key not in places:
            place = places[key] = Place(*key)
            place.name, place.member, place.codes = name, True, set(codes[region])
            place.uncounted = kind == "region"
            place.country = COUNTRY_USA if country == "USA" else country
            if kind == "region":
                regions.add(key)
        found[exchange] = places[key]
    return found


def territory_places(geo, places, codes):
    """Adds the places of territory_places.tsv to {key: place} (the member
    places) and returns {(state, key)} of those that are regions."""
    regions = set()
    for region, name, kind, point_of in nanp.read_table("territory_places.tsv", 4):
        if kind not in ("city", "region"):
            raise SystemExit(f"territory_places.tsv: kind {kind!r} of {name}")
        key = (region, match_key(name))
        source = point_of and (places.pop((region, match_key(point_of)), None)
                               or next(iter(geo.located.get((region, match_key(point_of)), [])), None))
        if point_of and not source:
            raise SystemExit(f"territory_places.tsv: GeoNames has no {point_of} in {region}")
        place = places.get(key) or Place(region, key[1])
        place.name, place.country, place.member = name, COUNTRY_USA, True
        place.codes = set(codes[region])
        if source:
            place.coords = getattr(source, "coords", None) or (source.lat, source.lon)
            if source is not place:
                place.population = getattr(source, "population", 0) if point_of == name else 0
        place.joined = place.population > 0
        places[key] = place
        if kind == "region":
            regions.add(key)
    return regions


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
    # Without either (a municipality known by its exchange area): the zone
    # most places of its state with the same codes have.
    common = defaultdict(Counter)
    for place in places:
        if place.coords and place.zone:
            for code in place.codes:
                common[(place.state, code)][place.zone] += 1
    unzoned = [p for p in unlocated if not p.zone]
    for place in unzoned:
        votes = sum((common[(place.state, c)] for c in place.codes), Counter())
        place.zone = min(votes, key=lambda z: (-votes[z], z)) if votes else None
    print(f"places without coordinates, zoned by their prefixes: {len(unlocated) - len(unzoned)}, "
          f"by their codes' places: {sum(1 for p in unzoned if p.zone)}, "
          f"without a zone: {sum(1 for p in unzoned if not p.zone)}")


def assign_ids(places):
    """{place key: city id}, and the lines to append to city_ids.tsv."""
    registry, text = {}, ""
    if ID_REGISTRY.exists():
        text = ID_REGISTRY.read_text(encoding="utf-8")
        for line in text.splitlines():
            if line and not line.startswith("#"):
                city_id, state, key = line.split("\t")
                registry[(state, key)] = int(city_id)
    # Places filed under NF and NT before NL and NU were stored keep their ids.
    for (state, key), city_id in list(registry.items()):
        if state in FORMER_STATES:
            registry.setdefault((FORMER_STATES[state], key), city_id)
    next_id = max(registry.values(), default=0) + 1
    id_keys = {key: (key[0], p.id_key) for key, p in places.items()}
    doubles = [k for k, n in Counter(id_keys.values()).items() if n > 1]
    if doubles:
        raise SystemExit(f"places filed under one id key: {doubles[:5]}")
    if not registry:
        text = ("# City ids of the shipped data. Append only: an id is never\n"
                "# changed or reused, so that ids stay stable across rebuilds.\n"
                "# id\tstate\tplace key\n")
    for key in sorted(k for k in set(id_keys.values()) if k not in registry):
        registry[key] = next_id
        text += f"{next_id}\t{key[0]}\t{key[1]}\n"
        next_id += 1
    return {key: registry[id_keys[key]] for key in places}, text


def place_table(places, ids):
    """The text of place_table.tsv: each geographic place's id, state, census
    code and point, for the generators that run after this one (postal.py)."""
    rows = []
    for key, place in places.items():
        if place.country == COUNTRY_NON_GEOGRAPHIC:
            continue
        code = place.unit.code if place.unit is not None else ""
        lat, lon = (f"{place.coords[0]:.5f}", f"{place.coords[1]:.5f}") if place.coords else ("", "")
        rows.append((ids[key], place.state, code, lat, lon))
    return ("# Generated by tools/data/generate.py; do not edit.\n"
            "# id\tstate\tcensus code (US: GEOID of the place or county subdivision;"
            " Canada: census subdivision or population centre)\tlatitude\tlongitude\n" +
            "".join("\t".join(map(str, r)) + "\n" for r in sorted(rows)))


def build_outputs(places, ids, month_year):
    """The records, links and the bytes of cit.bin, arc.bin, ctz.bin and DataDate.h."""
    records, links, zone_of = [], [], {}
    for key, place in places.items():
        if place.country == COUNTRY_NON_GEOGRAPHIC or not place.zone:
            tz, daylight = NO_TIME_ZONE, 0
        else:
            tz, daylight = zones.zone_hours(place.zone, REFERENCE_YEAR)
            zone_of[ids[key]] = place.zone
        records.append(CityRecord(ids[key], place.name, place.state, place.country,
                                  place.population, daylight, tz))
        links += [(code, ids[key]) for code in place.codes]
    records.sort(key=lambda r: (r.name, r.state, r.city_id))
    cities = b"".join(encode_city(r) for r in records)
    files = {
        RES / "cit.bin": cities,
        RES / "arc.bin": b"".join(encode_link(i, c) for c, i in sorted(links)),
        RES / "ctz.bin": zones.encode_place_zones(zone_of, cities),
        RES / "DataDate.h": (
            "// Generated by tools/data/generate.py; do not edit.\n"
            "#pragma once\n\n// Month and year whose area codes the shipped data describes.\n"
            f'inline constexpr char kDataMonthYear[] = "{month_year}";\n').encode("ascii"),
    }
    return records, links, files


def exchange_file(places, in_service, area_of, members):
    """exc.bin: each exchange's place spelt as its cit.bin record; a label
    whose place is not shipped keeps its written-out name. Canadian
    exchanges are those of the Canadian numbering administrator's list, at
    the place their area names (area_places.resolve); members' exchanges
    are at their place ({NPA-NXX: place}, member_exchanges)."""
    by_key = {}
    for place in places.values():
        by_key.setdefault((place.state, place.id_key), place)
        by_key[(place.state, place.key)] = place
    labels = dict(nanp.exchange_places())
    canadian = canadian_exchanges.in_service()
    # The administrator's list names the Canadian exchanges; the labels,
    # those it does not hold yet.
    labels = {e: l for e, l in labels.items() if l[1] not in nanp.CANADIAN_CODES or e not in canadian}
    labels.update(canadian)
    found = {}
    for (city, state) in set(labels.values()):
        place = area_of.get((city, state)) or by_key.get((state, match_key(city)))
        found[(city, state)] = ((place.name, place.state) if place
                                else (normalize_city_name(cp1252_safe(city)), state))
    exchanges = {e: found[label] for e, label in labels.items()}
    exchanges.update({e: (p.name, p.state) for e, p in members.items()})
    # A code whose exchanges no label names but which is labelled as a whole
    # with its city (210 San Antonio, 213 Los Angeles) answers that city's
    # area for every exchange (NXX 200-999 but the N11 service codes).
    areas_added = 0
    for prefix, label in sorted(nanp.geocode_labels().items()):
        code, whole = prefix[1:], nanp.parse_label(label)
        if len(prefix) != 4 or not whole or int(code) not in in_service \
                or any(e.startswith(code) for e in exchanges):
            continue
        place = by_key.get((whole[1], match_key(whole[0])))
        if place is None or int(code) not in place.codes:
            continue
        for nxx in range(200, 1000):
            if nxx % 100 != 11:
                exchanges[f"{code}{nxx}"] = (place.name, place.state, "area")
                areas_added += 1
    print(f"exchanges answering the city their code is known by (area): {areas_added}")
    named = set(nanp.exchange_places()) | set(canadian) | set(members)
    data = encode_exchanges(exchanges)
    decoded, problems = decode_exchanges(data)
    if problems or decoded != exchanges:
        raise SystemExit(f"exc.bin does not read back: {problems[:3]}")
    names = {(p.name, p.state) for p in places.values()}
    shipped = sum(1 for e in exchanges.values() if e[:2] in names)
    shipped_ca = sum(1 for e in canadian if exchanges[e][:2] in names)
    print(f"exchanges {len(exchanges)}, {shipped} of them at a shipped place "
          f"({shipped / len(exchanges):.1%}); Canadian in service {len(canadian)}, "
          f"{shipped_ca} at a shipped place ({shipped_ca / max(len(canadian), 1):.1%})")
    return data, exchanges, named


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


def take_hand_figures(places, figures):
    """The hand-typed census figures (census.hand_figures()) of the places
    {(state, key): place} they name, instead of any other."""
    for key, place in places.items():
        if key in figures:
            place.population, place.joined = figures[key], True


def exchange_area_codes(in_service, complexes):
    """{(province, key of an exchange area's name): codes} of the Canadian
    numbering administrator's list, each completed with its overlay complexes."""
    areas = defaultdict(set)
    for exchange, (area, province) in canadian_exchanges.in_service().items():
        if int(exchange[:3]) in in_service:
            areas[(province, match_key(area))].add(int(exchange[:3]))
    return {key: npa_report.whole_complexes(codes, complexes) & set(in_service)
            for key, codes in areas.items()}


def served_from(place, areas, seats, anchors, division_codes=None):
    """The codes of the exchange area a Canadian place is served from: the
    area municipal_seats.tsv names for it, else the area of its name (or of
    a variant of it: "Corman Park No. 344" -> Corman Park, "L'Île-Perrot"
    -> Île-Perrot) when the place has no point, or when the area's codes
    share one with its nearest exchange places' (an area of its name across
    the province is a namesake's: Ste-Catherine in 418 is not Sainte-Catherine
    of 450); without a point, when its census division's municipalities have
    one of the area's codes, if they have codes (Saint-Alexandre of Le
    Haut-Richelieu, 450, is not the St-Alexandre exchange of 418). None when
    no area answers."""
    name = place.unit.name if place.unit else place.name
    seat = seats.get((place.state, match_key(name)))
    if seat:
        return areas[(place.state, match_key(seat))]
    for variant in residents.name_variants(name) + residents.article_variants(name):
        codes = areas.get((place.state, match_key(variant)))
        if not codes:
            continue
        near = anchors.get(place.state)
        if not place.coords and place.unit is not None and place.unit.namesake:
            continue  # which namesake the area of the name serves is not known
        division = (division_codes or {}).get(place.unit.code[:4]) \
            if place.unit is not None and place.unit.kind == "municipality" else None
        if not place.coords and division and not codes & division:
            continue
        if not place.coords or not near or codes & residents.predict(place.coords, near):
            return codes
    return None


def served_from_areas(geographic, areas, fixed):
    """Give each Canadian place without exchanges of its own the codes of the
    exchange area it is served from (served_from), before any rule by
    distance. Returns (exact, shared, tried): the chain (served-from area,
    then the nearest-places rule) tried on the Canadian exchange places held
    out by residents.held_out(), each predicted without its own exchanges."""
    seats = {(p, match_key(m)): a for p, m, a in nanp.read_table("municipal_seats.tsv", 3)}
    for (province, _), area in seats.items():
        if (province, match_key(area)) not in areas:
            raise SystemExit(f"municipal_seats.tsv: no exchange area {area} in {province}")
    canadian = [p for p in geographic.values() if p.country == COUNTRY_CANADA]
    anchors, trial = defaultdict(list), []
    for place in canadian:
        if place.codes and place.coords:
            (trial if residents.held_out(place) else anchors[place.state]).append(place)
    anchors = {s: [(p.coords, p.codes) for p in found] for s, found in anchors.items()}
    exact = shared = nearest_exact = 0
    for place in trial:
        nearest = residents.predict(place.coords, anchors[place.state])
        guess = served_from(place, areas, seats, anchors) or nearest
        exact += guess == place.codes
        shared += bool(guess & place.codes)
        nearest_exact += nearest == place.codes
    all_anchors = defaultdict(list)
    for place in canadian:
        if place.codes and place.coords:
            all_anchors[place.state].append((place.coords, place.codes))
    division_codes = defaultdict(set)
    for place in canadian:
        if place.codes and place.unit is not None and place.unit.kind == "municipality":
            division_codes[place.unit.code[:4]] |= place.codes
    given = 0
    for place in canadian:
        if not place.codes and place.state not in fixed:
            codes = served_from(place, areas, seats, all_anchors, division_codes)
            if codes:
                place.codes, given = set(codes), given + 1
    print(f"Canadian places given the codes of the exchange area they are served from: {given}; "
          f"held out {len(trial)}: exact {exact / max(len(trial), 1):.1%}, "
          f"sharing a code {shared / max(len(trial), 1):.1%} (nearest places alone: exact "
          f"{nearest_exact / max(len(trial), 1):.1%})")
    return exact, shared, len(trial)


def place_unlocated_canadian(geographic, unplaced, in_service, complexes):
    """Codes and zones of the Canadian places left without a point or an
    exchange area: their census division's (residents.division_rule), or
    for a population centre its municipality's (centre_municipalities.tsv).
    Returns ({reason: [place]} of those still left, the division rule's
    agreement)."""
    located = [p for p in geographic.values() if p.country == COUNTRY_CANADA and p.coords]
    for place, zone in zip(located, zones.zones_at([list(p.coords) for p in located])):
        place.zone = zone
    left, division_agreement = residents.division_rule(
        located, unplaced, lambda codes: npa_report.whole_complexes(codes, complexes) & set(in_service))
    exact, shared, same_zone, tried = division_agreement
    print(f"Canadian places without a point given their census division's codes: "
          f"{len(unplaced) - sum(map(len, left.values()))}; division rule on {tried} municipalities "
          f"with a point: exact sets {exact / max(tried, 1):.1%}, sharing a code "
          f"{shared / max(tried, 1):.1%}, same zone {same_zone / max(tried, 1):.1%}")
    # A population centre is in no census division: one the table names
    # takes the codes and zone of the municipality it lies in.
    centre_reason = "a population centre, in no census division"
    holders = {(p, match_key(c)): m for p, c, m in nanp.read_table("centre_municipalities.tsv", 3)}
    centres, left[centre_reason] = left.pop(centre_reason, []), []
    for place in centres:
        holder_name = holders.pop((place.state, match_key(place.unit.name)), None)
        holder = geographic.get((place.state, match_key(holder_name or "")))
        if holder_name is not None and (holder is None or not holder.codes):
            raise SystemExit(f"centre_municipalities.tsv: {holder_name}, {place.state} is no place with codes")
        if holder_name is None:
            left[centre_reason].append(place)
        else:
            place.codes, place.zone = set(holder.codes), holder.zone
    if holders:
        raise SystemExit(f"centre_municipalities.tsv: rows for no centre left without a point: "
                         f"{sorted(holders)}")
    print(f"Canadian population centres without a point given their municipality's codes: "
          f"{len(centres) - len(left[centre_reason])}")
    return left, division_agreement


BIG_CITIES = {COUNTRY_USA: 100, COUNTRY_CANADA: 30}
# A big city takes a code holding at least this share of the exchanges named
# after it: Los Angeles 310 (31%), Houston 832 (6%), but not a stray exchange
# (Riverside in 909, 2%; Minneapolis in 952, 2%).
BIG_CITY_SHARE = 0.05


def link_big_cities(geographic, in_service, units):
    """Links each big city (the 100 most populous US cities, the 30 most
    populous Canadian municipalities) with every code whose exchanges are
    named after it or after a part of it (city_parts: Los Angeles 213, 323,
    310, 424 by its name, 818 by Van Nuys, North Hollywood ...), however
    few, completed with their overlay complexes (BIG_CITY_SHARE). Returns
    [(place, codes named)] and, for review, the city parts counted and
    the codes they gave."""
    complexes = npa_report.complex_members({c: n for c, n in in_service.items() if n.use == "G"})
    big = []
    for country, count in BIG_CITIES.items():
        cities = [p for p in geographic.values() if p.country == country and p.unit is not None
                  and p.unit.kind in ("incorporated place", "municipality")]
        big += sorted(cities, key=lambda p: -p.population)[:count]
    labels = {(state, match_key(city)) for city, state in nanp.exchange_places().values()}
    parts, review = city_parts.exchange_cities([p for p in big if p.country == COUNTRY_USA],
                                               units, labels)
    counts = defaultdict(Counter)  # by the exchanges' own labels, not a whole code's (934)
    for exchange, (city, state) in nanp.exchange_places().items():
        if int(exchange[:3]) in in_service:
            counts[(state, match_key(city))][int(exchange[:3])] += 1

    def named_codes(place, labels):
        named = sum((counts[label] for label in sorted(labels)), Counter())
        # Only codes of the city's own state count: a 201 exchange labelled
        # New York is a New Jersey exchange, whatever its label says.
        return {c for c, n in named.items() if n >= BIG_CITY_SHARE * sum(named.values())
                and place.state in npa_report.code_states(in_service[c])}

    def completed(codes):
        return npa_report.whole_complexes(codes, complexes) & set(in_service)

    found, gained = [], []
    for place in big:
        own = {(place.state, k) for k in {place.key, *map(match_key, place.spellings)}}
        codes = named_codes(place, own | {label for label, city in parts.items() if city is place})
        before = set(place.codes)
        place.codes |= completed(codes)
        found.append((place, codes))
        if place.codes - before - completed(named_codes(place, own)):
            gained.append((place, place.codes - before - completed(named_codes(place, own))))
    return found, {"parts": review, "gained": gained}


def join_boroughs(geographic):
    """New York City answers every code of its five boroughs."""
    boroughs = [p for p in geographic.values() if p.unit is not None and p.unit.kind == census.BOROUGH]
    city = [p for p in geographic.values() if p.unit is not None and p.unit.code == census.NEW_YORK_CITY]
    if len(boroughs) != 5 or len(city) != 1 or not all(b.codes for b in boroughs):
        raise SystemExit(f"New York City and its five boroughs with codes: found {len(city)} and "
                         f"{[(b.name, sorted(b.codes)) for b in boroughs]}")
    city[0].codes |= set().union(*(b.codes for b in boroughs))


def main():
    report_rows, file_date = npa_report.read_report()
    year, month = RELEASE_MONTH
    month_end = date(year + month // 12, month % 12 + 1, 1) - timedelta(days=1)
    if month_end < file_date:
        raise SystemExit(f"RELEASE_MONTH {year}-{month:02} is before the NPA report of {file_date}")
    for code, npa in sorted(report_rows.items()):
        if not npa.in_service and npa.in_service_date and npa.in_service_date > month_end:
            print(f"area code {code} ({npa.location}) comes into service {npa.in_service_date}, "
                  "after the release month: left out")
    in_service = npa_report.codes_in_service(report_rows, month_end)
    members = nanp.read_table("member_countries.tsv")
    geo = gazetteer.Gazetteer(["US", "CA"] + [region for region, _, _ in members])
    member_codes = {c for found in nanp.member_codes([r for r, _, _ in members]).values()
                    for c in found}
    geographic = collect_geographic_places(in_service, member_codes)
    join_places(list(geographic.values()), geo)
    statcan.apply_populations([p for p in geographic.values() if p.country == COUNTRY_CANADA])
    figures = census.hand_figures()
    take_hand_figures(geographic, figures)
    units, left_out = residents.units(geo)
    landmarks = {(s, match_key(c)): c for s, c in nanp.read_table("landmark_cities.tsv")}

    def make_place(state, key):
        place = Place(state, key)
        place.country = COUNTRY_CANADA if state in nanp.CANADIAN_CODES else COUNTRY_USA
        return place

    def unit_name(name, place):
        # The census writes some names without the letters the place uses
        # ("Contrecoeur" for Contrecœur): the place's spelling is kept.
        # So are a spelling with its own accents (La Crête) and capitals
        # (Lac La Biche) where the census only differs in them.
        if place.name and match_key(place.name) == match_key(name) and (
                not place.name.isascii() or place.name.lower() == name.lower()):
            return place.name
        return shipped_name(name, place.state, place.key, landmarks, name)

    residents.merge(geographic, units, make_place, unit_name)
    big_cities, city_part_review = link_big_cities(geographic, in_service, units)
    join_boroughs(geographic)
    take_hand_figures(geographic, figures)
    for reason, rows in sorted(left_out.items()):
        print(f"census rows left out, {reason}: {len(rows)} (first: {rows[:3]})")
    # Codes that serve a whole state or province serve its places without a
    # point too (Puerto Rico's, New Brunswick's ...).
    fixed = {"PR": [c for c in nanp.member_codes(["PR"])["PR"] if c in in_service]}
    sets = defaultdict(set)
    for place in geographic.values():
        if place.codes:
            sets[place.state].add(frozenset(place.codes))
    fixed.update({s: sorted(next(iter(c))) for s, c in sets.items() if len(c) == 1})
    agreement = residents.held_out_agreement(list(geographic.values()))
    complexes = npa_report.complex_members({c: n for c, n in in_service.items() if n.use == "G"})
    areas = exchange_area_codes(in_service, complexes)
    canadian_agreement = served_from_areas(geographic, areas, fixed)
    unplaced = residents.code_rule(list(geographic.values()), fixed)
    left, division_agreement = place_unlocated_canadian(geographic, unplaced, in_service, complexes)
    unplaced = [p for found in left.values() for p in found]
    for place in unplaced:
        del geographic[(place.state, place.key)]
    for reason, found in sorted(left.items()):
        rows = [f"{p.name}, {p.state} {p.population}" for p in found]
        left_out[f"no point to give it codes, {reason}"] = rows
        print(f"left out without a point, {reason}: {len(rows)} ({rows})")
    # A part's exchange place is where it lies, else its post office's ZIP
    # code with the most people (Sun Valley, Pacoima have no point of their own).
    neighbourhoods.add(geographic, geo, make_place, {
        city.unit.code: (codes, [(geographic[label].coords or point, geographic[label].codes)
                                 for label, part, _, _, point in city_part_review["parts"]
                                 if part is city and label in geographic])
        for city, codes in city_part_review["gained"]})
    area_of = area_places.resolve(geographic, units, geo, make_place, unit_name, in_service)
    member_places, regions, member_exchange_places = collect_member_places(geo, members, in_service)
    take_hand_figures(member_places, figures)
    places = {**geographic, **member_places, **collect_non_geographic(in_service)}
    assign_zones([p for p in places.values() if p.country != COUNTRY_NON_GEOGRAPHIC])
    month_year = f"{month_end:%B}, {month_end.year}"
    renamed = kinds.assign(places, units, regions)
    print(f"namesakes renamed: {len(renamed)}, by kind word {sum(1 for r in renamed if '(' not in r[2])}"
          f", with a county {sum(1 for r in renamed if '(' in r[2])}; first: {renamed[:10]}")
    ids, registry_text = assign_ids(places)
    records, links, files = build_outputs(places, ids, month_year)
    files[RES / "pln.bin"] = npa_report.encode_planned(report_rows, month_end)
    files[RES / "knd.bin"] = kinds.encode_kinds({ids[k]: (p.kind, p.plain) for k, p in places.items()
                                                 if p.kind is not None})
    files[RES / "exc.bin"], exchanges, named = exchange_file(places, in_service, area_of,
                                                             member_exchange_places)
    # Names a place is also known by: the census name of a place that keeps
    # its own ("Québec" for Québec City).
    known_as = [(p.unit.name, p.name, p.population) for p in places.values()
                if p.unit is not None and match_key(p.unit.name) != match_key(p.name)]
    # A place the numbering-plan data names otherwise: by that name ("Bronx").
    known_as += [(old, places[(state, match_key(new))].name, places[(state, match_key(new))].population)
                 for state, old, new in nanp.read_table("renamed.tsv", 3)
                 if (state, match_key(new)) in places]
    # A township is also written with its kind word ("Clinton Township, MI",
    # "Lakewood Township, NJ"), though the word is not stored.
    known_as += [(f"{p.name} Township", p.name, p.population) for p in places.values()
                 if p.unit is not None and p.unit.kind == "town" and p.plain is None
                 and p.unit.full_name.endswith("township")]
    accent_text, accent_left_out = accent_rows([(r.name, r.population) for r in records], known_as)
    print(f"accented spellings {accent_text.count(chr(10)) - 1}; sharing their key with a more "
          f"populous name: {accent_left_out}")
    files[ACCENT_TABLE] = accent_text.encode("utf-8")
    report(geographic, records, links)
    failures, largest = checks.run(in_service, places, records, links, accent_text,
                                   {"units": units, "ids": ids, "agreement": agreement,
                                    "division": division_agreement,
                                    "canadian": canadian_agreement, "big": big_cities,
                                    "city_parts": city_part_review,
                                    "exchanges": exchanges, "named": named,
                                    "member_regions": {r: c for r, c in nanp.member_codes(
                                        [r for r, _, _ in members]).items()}})
    if failures:
        raise SystemExit(f"{failures} check(s) failed: nothing written")
    # Written only once every check has passed.
    files[HERE / "largest_cities.txt"] = largest.encode("utf-8")
    files[PLACE_TABLE] = place_table(places, ids).encode("utf-8")
    files[ID_REGISTRY] = registry_text.encode("utf-8")
    RES.mkdir(exist_ok=True)
    for path, data in sorted(files.items()):
        path.write_bytes(data)
    print(f"written: {', '.join(sorted(p.name for p in files))}")

    # --- integrity manifest: always the last step, over every file written ---
    import manifest
    manifest.write_manifest(RES)


if __name__ == "__main__":
    main()
