"""The kind of each shipped place, its plain name, and knd.bin (format
TQKIND 1, docs/data-format.md).

Kinds: city (an incorporated place, a Puerto Rico municipio, a Canadian
municipality, a member country's town), town (a town or township whose
incorporated places and census-designated places hold no more than a third
of its people together), township (one whose places hold more: Union NY,
around Endicott and Johnson City), cdp, centre (a Canadian population
centre), community (a neighbourhood or exchange community no census counts),
region (an island). The places a town holds are found by land
(sources/us_place_counties_2020.csv).

No two places of one state share a stored name: the plain name goes to the
place people mean (the lowest rank of RANK, then the most people), and every
other namesake is stored with what tells it apart as people write it: its
kind word ("Washington Township", "Hempstead Town", "Waukesha Village",
"Langley City"), and where that is shared or it has none, its county
("Washington Township (Fayette County)", "Burbank (Santa Clara County)"),
the town it lies in, or for a Canadian municipality its census division
("L'Ange-Gardien (La Côte-de-Beaupré)"); its knd.bin line gives the plain
name. A namesake nothing tells apart stops the generation.
"""

import csv
import io
from collections import Counter, defaultdict

from census import BOROUGH, CDP, INCORPORATED, MUNICIPIO, TOWN
from city_names import match_key
from npa_report import SOURCES, verified_text

RANK = {"city": 0, "town": 1, "township": 1, "cdp": 2, "centre": 2, "community": 3, "region": 4}
# A Canadian municipality's kind word, by its Standard Geographical
# Classification kind, for one that shares its name with another.
CANADIAN_KIND_WORDS = {
    "CY": "City", "C": "City", "CV": "City", "T": "Town", "V": "Village", "VL": "Village",
    "SV": "Summer Village", "RV": "Resort Village", "MD": "Municipal District",
    "RM": "Rural Municipality", "TP": "Township", "CT": "Canton", "CU": "Cantons Unis",
    "P": "Parish", "PE": "Paroisse", "M": "Municipality", "MU": "Municipalit\u00e9",
    "DM": "District", "RGM": "Regional Municipality", "CN": "County", "SM": "Municipality",
    "COM": "Community", "HAM": "Hamlet", "ID": "Improvement District", "LOT": "Lot"}
PLACE_COUNTIES = SOURCES / "us_place_counties_2020.csv"
COUNTY_NAMES = SOURCES / "us_county_names_2023.csv"
DIVISIONS = SOURCES / "ca_census_divisions_2016.csv"
HELD_SHARE = 1 / 3


def _csv(path):
    return list(csv.DictReader(io.StringIO(verified_text(path))))


def census_divisions():
    """{four-digit census division code: name} of Canada's census divisions."""
    return {r["id"].rpartition("cd:")[2]: r["name"] for r in _csv(DIVISIONS)}


def counties():
    """({place GEOID: (county FIPS, subdivision GEOID)}, {county FIPS: name})."""
    places = {r["place"]: (r["county"], r["subdivision"]) for r in _csv(PLACE_COUNTIES)}
    return places, {r["county"]: r["name"] for r in _csv(COUNTY_NAMES)}


def _subdivision_key(geoid):
    """A county subdivision by state and its own five digits, which stay when
    its county changes (Connecticut's towns moved from counties to planning
    regions in 2022)."""
    return geoid[:2] + geoid[-5:]


def held_people(units, place_counties):
    """{town key (_subdivision_key): people of the incorporated places and
    CDPs it holds}."""
    held = defaultdict(int)
    for unit in units:
        if unit.kind in (INCORPORATED, CDP) and place_counties.get(unit.code, ("", ""))[1]:
            held[_subdivision_key(place_counties[unit.code][1])] += unit.population
    return held


def kind_of(place, held, regions):
    unit = place.unit
    if (place.state, place.key) in regions:
        return "region"
    if unit is None:
        return "city" if place.member else "community"
    if unit.kind in (INCORPORATED, MUNICIPIO, BOROUGH, "municipality"):
        return "city"
    if unit.kind == CDP:
        return "cdp"
    if unit.kind == "community":
        return "centre"
    if unit.kind == TOWN:
        people = held.get(_subdivision_key(unit.code), 0)
        return "township" if people > HELD_SHARE * unit.population else "town"
    raise SystemExit(f"no kind for census unit kind {unit.kind!r} ({place.name}, {place.state})")


def kind_word(place):
    """The word people add to tell a namesake by its kind: the census's own
    ("Hempstead Town", "Clinton Township", "Waukesha Village"), the
    Canadian municipality's type ("Langley City"); none for a CDP, a
    population centre or a community, which nobody names by their kind."""
    unit = place.unit
    if unit is None or unit.kind in (CDP, "community"):
        return None
    if unit.country == "Canada":
        return CANADIAN_KIND_WORDS.get(unit.full_name.rpartition(" ")[2])
    word = unit.full_name[len(unit.name):].strip() if unit.full_name.startswith(unit.name + " ") \
        else unit.full_name.rpartition(" ")[2]
    # "Clinton charter township": the word people use is the last one.
    return word.rpartition(" ")[2].capitalize() or None


def qualifiers(place, place_counties, county_names, divisions, towns):
    """What tells a namesake apart beyond its kind, as people write it, best
    first: its county ("Burbank (Santa Clara County)"), then the town it
    lies in; for a Canadian municipality its census division ("L'Ange-
    Gardien (La Côte-de-Beaupré)")."""
    unit = place.unit
    if unit is None:
        return []
    if unit.country == "Canada":
        return [divisions[unit.code[:4]]] if len(unit.code) == 7 and unit.code[:4] in divisions else []
    county, subdivision = (unit.code[:5], "") if unit.kind in (TOWN, BOROUGH) \
        else place_counties.get(unit.code, ("", ""))
    found = [county_names[county]] if county in county_names else []
    town = towns.get(_subdivision_key(subdivision)) if subdivision else None
    return found + ([town] if town and town != place.name else [])


def assign(places, units, regions):
    """Gives each place of {key: place} (non-geographic ones aside) its kind
    and renames namesakes; place.plain is the plain name of a renamed place.
    regions: {(state, key)} of islands and other regions. Returns the
    renamings, [(state, old, new)]; stops when a namesake cannot be told
    apart."""
    place_counties, county_names = counties()
    divisions = census_divisions()
    held = held_people(units, place_counties)
    towns = {_subdivision_key(u.code): u.name for u in units if u.kind == TOWN}
    groups = defaultdict(list)
    for place in places.values():
        if place.country == "abe":
            continue
        place.kind, place.plain = kind_of(place, held, regions), None
        groups[(place.state, place.name)].append(place)
    taken = {(p.state, p.name) for p in places.values()}
    wanted = []
    for (state, name), namesakes in sorted(groups.items()):
        namesakes.sort(key=lambda p: (RANK[p.kind], -p.population, p.id_key))
        for place in namesakes[1:]:
            word = kind_word(place)
            told = qualifiers(place, place_counties, county_names, divisions, towns)
            # A city's word the plain name's city shares tells nothing (two
            # cities named Reno in Texas); a township's is part of how its name
            # is written ("Washington Township (Fayette County)").
            shared = word == kind_word(namesakes[0]) and place.unit.kind != TOWN
            base = f"{name} {word}" if word and not shared else name
            choices = ([base] if base != name else []) + [f"{base} ({q})" for q in told]
            wanted.append((state, len(choices), choices, place))
    # The place with the fewest ways to be told apart chooses first; of those
    # wanting one name, the most populous gets it ("Clinton Township", MI, of
    # Macomb County).
    wanted.sort(key=lambda w: (w[0], w[1], w[2][:1], -w[3].population, w[3].id_key))
    renamed, untold = [], []
    for state, _, choices, place in wanted:
        name = place.name
        new = next((c for c in choices if (state, c) not in taken), None)
        if new is None:
            untold.append(f"{name}, {state} ({place.unit.full_name if place.unit else place.kind})")
            continue
        taken.add((state, new))
        place.plain, place.name = name, new
        renamed.append((state, name, new))
    if untold:
        raise SystemExit(f"namesakes nothing tells apart: {untold}")
    return renamed


def encode_kinds(entries):
    """knd.bin: entries {city id: (kind, plain name or None)}."""
    lines = ["TQKIND 1", f"places {len(entries)}"]
    for city_id in sorted(entries):
        kind, plain = entries[city_id]
        if kind not in RANK or (plain is not None and (not plain or "\t" in plain or "\n" in plain)):
            raise ValueError(f"place {city_id}: kind {kind!r}, plain name {plain!r}")
        lines.append(f"{city_id}\t{kind}" + (f"\t{plain}" if plain else ""))
    return ("\n".join(lines) + "\n").encode("utf-8")


def decode_kinds(data):
    """{city id: (kind, plain name or None)} read back strictly."""
    lines = data.decode("utf-8").split("\n")
    if lines[0] != "TQKIND 1" or not lines[1].startswith("places ") or lines[-1] != "":
        raise ValueError("not a TQKIND 1 file")
    entries, previous = {}, 0
    for line in lines[2:-1]:
        fields = line.split("\t")
        if len(fields) not in (2, 3) or not fields[0].isdigit() or fields[1] not in RANK \
                or int(fields[0]) <= previous:
            raise ValueError(f"line {line!r}")
        previous = int(fields[0])
        entries[previous] = (fields[1], fields[2] if len(fields) == 3 else None)
    if len(entries) != int(lines[1].split()[1]):
        raise ValueError("count")
    return entries
