"""US Census Bureau places, county subdivisions and Puerto Rico's municipios
(sources/us_*_gazetteer_2025.txt with sources/us_*_acs_2023.csv), and the
hand-typed census figures of sources/census_populations.tsv.

Each unit is a Unit: its name as people use it (the kind word of the census
name dropped: "Lakewood township" -> Lakewood, "Boise City city" -> Boise,
"Urban Honolulu CDP" -> Honolulu; people_names.tsv for the consolidated
governments), its kind, its ACS 2019-2023 population and its internal
point. Kinds: an incorporated place, a census-designated place, a
functioning town or township (a county subdivision with a government of its
own), a Puerto Rico municipio (its barrios added up), a borough of New
York City.
"""

import csv
import io
import re
from collections import defaultdict
from dataclasses import dataclass

from city_names import match_key
from nanp_sources import read_table
from npa_report import SOURCES, SourceError, verified_text

PLACES = SOURCES / "us_places_gazetteer_2025.txt"
PLACE_COUNTS = SOURCES / "us_places_acs_2023.csv"
SUBDIVISIONS = SOURCES / "us_county_subdivisions_gazetteer_2025.txt"
SUBDIVISION_COUNTS = SOURCES / "us_county_subdivisions_acs_2023.csv"
FIGURES = SOURCES / "census_populations.tsv"

INCORPORATED, CDP, TOWN, MUNICIPIO = "incorporated place", "CDP", "town", "municipio"
# The five boroughs of New York City, county subdivisions that are each a
# county: places of their own, and parts of the city (NEW_YORK_CITY).
BOROUGH = "borough"
NEW_YORK_CITY = "3651000"
# Join preference of a numbering-plan place among namesakes: the
# settlement (incorporated place, then census-designated place) before the
# town or township around it, so a hamlet's exchange never takes its town's
# figure.
RANKS = {INCORPORATED: 0, CDP: 1, TOWN: 2, MUNICIPIO: 0, BOROUGH: 0}
# The kind words the census puts after a place's name, by LSAD code.
PLACE_KIND_WORDS = {
    "21": "borough", "25": "city", "37": "municipality", "43": "town", "47": "village",
    "53": "city and borough", "55": "comunidad", "57": "CDP", "62": "zona urbana",
    "CN": "corporation", "UC": "urban county", "UG": "unified government",
    "MG": "metropolitan government", "CG": "consolidated government", "00": "",
}
# Governments of a county subdivision: active, partly consolidated,
# consolidated, subordinate. Statistical, fictitious, inactive and
# non-functioning ones are nobody's municipality.
FUNCTIONING = {"A", "B", "C", "G"}
SUBDIVISION_KIND = re.compile(r" (charter township|township|town|plantation)$")


@dataclass
class Unit:
    kind: str
    geoid: str
    state: str
    name: str        # as people use it
    full_name: str   # as the census writes it, kind word included
    population: int
    lat: float
    lon: float

    @property
    def rank(self):
        return RANKS[self.kind]


def _rows(path, columns, separator):
    text = verified_text(path)
    reader = csv.reader(io.StringIO(text), delimiter=separator)
    if next(reader, None) != columns:
        raise SourceError(path, 1, f"the columns are not {separator.join(columns)}")
    for line, row in enumerate(reader, 2):
        if len(row) != len(columns):
            raise SourceError(path, line, f"{len(row)} fields, not {len(columns)}")
        yield line, dict(zip(columns, row))


def source_rows(path, columns):
    """(line, {column: value}) of a verified CSV source with exactly these columns."""
    return _rows(path, columns, ",")


def _counts(path, columns):
    counts = {}
    for line, row in _rows(path, columns, ","):
        if not re.fullmatch(r"\d{7}|\d{10}", row["GEOID"]):
            raise SourceError(path, line, f"GEOID {row['GEOID']!r}")
        counts[row["GEOID"]] = (line, row)
    return counts


# The kind words the ACS and the Gazetteer may put differently after one
# place's name ("Methuen Town city", "Methuen city"; "Penn Hills township",
# "Penn Hills municipality").
KIND_SUFFIX = re.compile(r"( Town city| city| town| village| borough| township| municipality| CDP)$")


def _base(name):
    return match_key(KIND_SUFFIX.sub("", name))


def _recoded(counts, geoids):
    """{(state FIPS, name without its kind word): count} of the ACS places
    and county subdivisions no Gazetteer place has the code of: a place
    given a new code since (Methuen, MA; Penn Hills, PA, counted as a
    township) takes the count of its name, when the rows of its state with
    that name count one figure."""
    known, found = set(geoids), {}
    for counted in (counts, _counts(SUBDIVISION_COUNTS, ["GEOID", "population", "county", "name"])):
        for geoid, count in counted.items():
            if geoid not in known and count[1]["name"]:
                found.setdefault((geoid[:2], _base(count[1]["name"])), []).append(count)
    # a place and the subdivision it fills count the same people once
    return {key: rows[0] for key, rows in found.items()
            if len({r[1]["population"] for r in rows}) == 1}


def _point(path, line, row):
    try:
        return float(row["INTPTLAT"]), float(row["INTPTLONG"])
    except ValueError as error:
        raise SourceError(path, line, "coordinates are not numbers") from error


def people_names():
    """{GEOID: name people use, or "" for a unit nobody lives in by that name}."""
    return {geoid: name for geoid, name, _ in read_table("people_names.tsv")}


def us_units():
    """[Unit] of every US place, functioning town or township and Puerto
    Rico municipio, and {reason: [row]} of the source rows left out."""
    renamed, units, left_out = people_names(), [], defaultdict(list)
    counts = _counts(PLACE_COUNTS, ["GEOID", "population", "name"])
    columns = ["USPS", "GEOID", "NAME", "LSAD", "FUNCSTAT", "INTPTLAT", "INTPTLONG"]
    recoded = _recoded(counts, [row["GEOID"] for _, row in _rows(PLACES, columns, "|")])
    for line, row in _rows(PLACES, columns, "|"):
        where = f"{PLACES.name}:{line} {row['NAME']}, {row['USPS']}"
        if row["LSAD"] not in PLACE_KIND_WORDS:
            raise SourceError(PLACES, line, f"unknown LSAD {row['LSAD']!r}")
        if row["FUNCSTAT"] in ("I", "N") and row["GEOID"] not in renamed:
            left_out["inactive or non-functioning government"].append(where)
            continue
        word = PLACE_KIND_WORDS[row["LSAD"]]
        name = row["NAME"][:-len(word) - 1] if word and row["NAME"].endswith(" " + word) else row["NAME"]
        # "Alvan (Alvin)" -> Alvan, "Islamorada, Village of Islands" -> Islamorada
        name = re.sub(r" \(.*\)$", "", name).split(",")[0]
        name = renamed.get(row["GEOID"], name)
        if not name:
            left_out["a government, not a place people name"].append(where)
            continue
        if row["USPS"] == "PR":  # Puerto Rico's places are the parts of its municipios
            left_out["Puerto Rico: counted in its municipio"].append(where)
            continue
        count = counts.get(row["GEOID"]) or recoded.get((row["GEOID"][:2], _base(row["NAME"])))
        if not count or not count[1]["population"].isdigit():
            left_out["no population"].append(where)
            continue
        kind = CDP if row["LSAD"] == "57" else INCORPORATED
        units.append(Unit(kind, row["GEOID"], row["USPS"], name, row["NAME"],
                          int(count[1]["population"]), *_point(PLACES, line, row)))
    counts = _counts(SUBDIVISION_COUNTS, ["GEOID", "population", "county", "name"])
    points = defaultdict(list)  # Puerto Rico's barrios by municipio
    columns = ["USPS", "GEOID", "NAME", "FUNCSTAT", "INTPTLAT", "INTPTLONG"]
    for line, row in _rows(SUBDIVISIONS, columns, "|"):
        where = f"{SUBDIVISIONS.name}:{line} {row['NAME']}, {row['USPS']}"
        count = counts.get(row["GEOID"])
        population = int(count[1]["population"]) if count and count[1]["population"].isdigit() else None
        if row["USPS"] == "PR":
            points[row["GEOID"][:5]].append((population or 0, *_point(SUBDIVISIONS, line, row)))
            continue
        if row["USPS"] == "NY" and row["NAME"].endswith(" borough") and population is not None:
            units.append(Unit(BOROUGH, row["GEOID"], "NY",
                              renamed.get(row["GEOID"], row["NAME"][:-len(" borough")]), row["NAME"],
                              population, *_point(SUBDIVISIONS, line, row)))
            continue
        kind = SUBDIVISION_KIND.search(row["NAME"])
        if not kind or row["FUNCSTAT"] not in FUNCTIONING:
            left_out["county subdivision without a town or township government"].append(where)
            continue
        if population is None:
            left_out["no population"].append(where)
            continue
        name = renamed.get(row["GEOID"], row["NAME"][:kind.start()])
        if name:
            units.append(Unit(TOWN, row["GEOID"], row["USPS"], name, row["NAME"], population,
                              *_point(SUBDIVISIONS, line, row)))
    municipios = defaultdict(int)  # the people of each municipio: its barrios added up
    names = {}
    for geoid, (line, row) in counts.items():
        if row["county"]:
            if not row["county"].endswith(" Municipio") or not row["population"].isdigit():
                raise SourceError(SUBDIVISION_COUNTS, line, f"Puerto Rico county {row['county']!r}")
            municipios[geoid[:5]] += int(row["population"])
            names[geoid[:5]] = row["county"]
    for county, total in sorted(municipios.items()):
        barrios = points.get(county)
        if not barrios:
            raise SourceError(SUBDIVISIONS, 0, f"no barrio of {names[county]}")
        # The point of a municipio: its barrios' points weighted by their people.
        weight = sum(p + 1 for p, _, _ in barrios)
        lat = sum((p + 1) * la for p, la, _ in barrios) / weight
        lon = sum((p + 1) * lo for p, _, lo in barrios) / weight
        name = names[county][:-len(" Municipio")]
        units.append(Unit(MUNICIPIO, county, "PR", name, names[county], total,
                          round(lat, 6), round(lon, 6)))
    return _without_doubles(units, left_out), left_out


def _without_doubles(units, left_out):
    """A town or township that is also an incorporated place of its name,
    or a census-designated place that is the whole town of its name (the
    same people counted twice, within 2%), is kept once: as the incorporated
    place, or as the town."""
    counted = defaultdict(list)
    for unit in units:
        counted[(unit.kind, unit.state, match_key(unit.name))].append(unit.population)

    def same(kind, unit):
        return any(abs(p - unit.population) <= 0.02 * max(p, 1)
                   for p in counted.get((kind, unit.state, match_key(unit.name)), []))
    kept = []
    for unit in units:
        if unit.kind == TOWN and same(INCORPORATED, unit):
            left_out["town or township that is its incorporated place"].append(
                f"{unit.full_name}, {unit.state}")
        elif unit.kind == CDP and same(TOWN, unit):
            left_out["census-designated place that is its whole town"].append(
                f"{unit.full_name}, {unit.state}")
        else:
            kept.append(unit)
    return kept


def names_of(unit):
    """The keys a numbering-plan place may know a unit by: the name people
    use, the census name with its kind word ("Flint Township") and a charter
    township as a township ("Highland Township" for "Highland charter
    township")."""
    return {match_key(unit.name), match_key(unit.full_name),
            match_key(unit.full_name.replace(" charter township", " township"))}


def census_places(make_place):
    """{(state, match key): [GeoPlace]} for joining numbering-plan places,
    under the name people use and the census name with its kind word
    ("Flint Township"), and the source rows left out, by reason."""
    units, left_out = us_units()
    found = {}
    for unit in units:
        place = make_place(unit.name, unit.state, unit.population, unit.lat, unit.lon, unit.rank)
        for key in names_of(unit):
            found.setdefault((unit.state, key), []).append(place)
    for places in found.values():
        places.sort(key=lambda p: (p.rank, -p.population))
    return found, left_out


def hand_figures():
    """{(state, match key): population} from census_populations.tsv."""
    figures = {}
    for line, text in enumerate(verified_text(FIGURES).splitlines(), 1):
        if text and not text.startswith("#"):
            fields = text.split("\t")
            if len(fields) != 4 or not fields[2].isdigit():
                raise SourceError(FIGURES, line, "not state, name, population, counted as")
            figures[(fields[0], match_key(fields[1]))] = int(fields[2])
    return figures
