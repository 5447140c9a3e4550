"""US Census Bureau places and county subdivisions (sources/us_*.csv), and
the hand-typed census figures of sources/census_populations.tsv.

Each census place is a GeoPlace with a rank: 0 an incorporated place, 1 a
town or township (county subdivision with a government), 2 a
census-designated place. The join prefers the lowest rank, so "Lakewood,
NJ" is the township the telephone exchange serves, not the smaller CDP.
"""

import csv
import io
import re

from city_names import match_key
from npa_report import SOURCES, SourceError, verified_text

PLACES = SOURCES / "us_places_2023.csv"
SUBDIVISIONS = SOURCES / "us_county_subdivisions_2020.csv"
STATES = SOURCES / "us_states.csv"
FIGURES = SOURCES / "census_populations.tsv"
SUBDIVISION_PREFIX = re.compile(
    r"^(Charter Township|Township|Town|Village|City|Plantation|Borough|Gore|Grant|Location|Purchase) of ")


def source_rows(path, columns):
    """(line, {column: value}) of a verified CSV source with exactly these columns."""
    reader = csv.reader(io.StringIO(verified_text(path)))
    if next(reader, None) != columns:
        raise SourceError(path, 1, f"the columns are not {','.join(columns)}")
    for line, row in enumerate(reader, 2):
        if len(row) != len(columns):
            raise SourceError(path, line, f"{len(row)} fields, not {len(columns)}")
        yield line, dict(zip(columns, row))


def census_places(make_place):
    """{(state, match key): [GeoPlace]} and the number of rows left out
    (no population or no coordinates), with their reasons printed."""
    states = {r["FIPS"]: r["Code"] for _, r in source_rows(STATES, ["Name", "Code", "Type", "FIPS"])}
    found, unusable = {}, []

    def add(path, line, name, state, rank, row, alias=False):
        try:
            population = int(row["Population"]) if row["Population"] else 0
            lat, lon = float(row["Latitude"]), float(row["Longitude"])
        except ValueError:
            unusable.append(f"{path.name}:{line} {name}, {state}: unreadable number")
            return
        if population <= 0 and not alias:
            unusable.append(f"{path.name}:{line} {name}, {state}: no population")
        place = make_place(name, state, population, lat, lon, rank)
        found.setdefault((state, match_key(name)), []).append(place)

    columns = ["GEOID", "Short Name", "State", "FIPS Class", "Population", "Latitude", "Longitude"]
    for line, row in source_rows(PLACES, columns):
        rank = 2 if row["FIPS Class"].startswith("U") else 0
        add(PLACES, line, row["Short Name"], row["State"], rank, row)
        if row["Short Name"].endswith(" AFB"):
            add(PLACES, line, row["Short Name"][:-3] + "Air Force Base", row["State"], rank, row, alias=True)
    columns = ["GEOID", "Name", "FIPS Class", "Population", "Latitude", "Longitude"]
    for line, row in source_rows(SUBDIVISIONS, columns):
        state = states.get(row["GEOID"][:2])
        if not state:
            raise SourceError(SUBDIVISIONS, line, f"state FIPS {row['GEOID'][:2]} unknown")
        kind = SUBDIVISION_PREFIX.match(row["Name"])
        name = SUBDIVISION_PREFIX.sub("", row["Name"])
        add(SUBDIVISIONS, line, name, state, 1, row)
        if kind and "Township" in kind.group(1):  # "Flint Township", "Oxford Charter Township"
            for suffix in {"Township", kind.group(1)}:
                add(SUBDIVISIONS, line, f"{name} {suffix}", state, 1, row, alias=True)
    for places in found.values():
        places.sort(key=lambda p: (p.rank, -p.population))
    return found, unusable


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
