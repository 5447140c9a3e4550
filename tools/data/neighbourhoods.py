"""Neighbourhoods of US cities that people name as places (Hollywood, Harlem,
Lincoln Park): the sections of populated places (feature code PPLX) GeoNames
lists with a thousand people or more. Each ships as a community of its city,
the census place holding the ZIP Code Tabulation Area nearest its point
(sources/us_zcta_places_2020.csv: each ZCTA's primary place, county and
point; in New York City the borough of that county), with
the city's codes (those the city has only by exchanges named after its
parts, from a part near it), the zone of its point and no figure: GeoNames gives some the whole
city's (New South Memphis 641,608). One whose name a place of its state
already has (an exchange community such as Van Nuys, a city such as Newark)
is that place.
"""

import csv
import io

import census

from city_names import match_key
from gazetteer import distance_km
from npa_report import SOURCES, SourceError, verified_text
from place_join import shipped_name

ZCTAS = SOURCES / "us_zcta_places_2020.csv"
# A neighbourhood lies in the ZCTA whose point is nearest, when one lies this near.
NEAR_KM = 5
# A neighbourhood takes the codes its city has only by an exchange named
# after a part of it when that part's exchange place lies this near.
PART_KM = 8


def _zctas():
    """{(lat cell, lon cell): [(point, place GEOID, county FIPS)]}."""
    cells = {}
    reader = csv.reader(io.StringIO(verified_text(ZCTAS)))
    if next(reader, None) != ["zcta", "place", "county", "lat", "lon"]:
        raise SourceError(ZCTAS, 1, "the columns are not zcta,place,county,lat,lon")
    for line, row in enumerate(reader, 2):
        try:
            point = (float(row[3]), float(row[4]))
        except (ValueError, IndexError) as error:
            raise SourceError(ZCTAS, line, f"not a ZCTA, a place, a county and a point: {row}") from error
        cells.setdefault((int(point[0] // 1), int(point[1] // 1)), []).append((point, row[1], row[2]))
    return cells


def add(places, geo, make_place, parts=None):
    """Adds the neighbourhoods to {(state, key): place}; returns how many.
    parts: {city's census code: (codes the city has only by the exchanges
    of its parts, [(point, codes) of its parts' exchange places])}: a
    neighbourhood takes those codes only from a part lying within PART_KM
    of it (Canoga Park 818 from Woodland Hills; Koreatown none)."""
    cities = {p.unit.code: p for p in places.values()
              if p.unit is not None and p.unit.country == "USA" and p.codes}
    # New York's boroughs are each a county: a neighbourhood of New York is
    # its borough's.
    boroughs = {p.unit.code[:5]: p for p in places.values()
                if p.unit is not None and p.unit.kind == census.BOROUGH}
    cells, added = _zctas(), 0
    for found in sorted(geo.by_country.get("US", []), key=lambda g: (g.state, g.name, g.lat)):
        key = (found.state, match_key(found.name))
        if found.feature_code != "PPLX" or key in places:
            continue
        point = (found.lat, found.lon)
        near = [(distance_km(point, p), geoid, county) for a in (-1, 0, 1) for b in (-1, 0, 1)
                for p, geoid, county in cells.get((int(point[0] // 1) + a, int(point[1] // 1) + b), [])]
        distance, geoid, county = min(near, default=(None, None, None))
        city = cities.get(geoid) if distance is not None and distance <= NEAR_KM else None
        if city is not None and geoid == census.NEW_YORK_CITY:
            city = boroughs.get(county, city)
        if city is None or city.state != found.state or match_key(city.name) == key[1]:
            continue
        place = make_place(*key)
        place.name = shipped_name(found.name, found.state, key[1], {}, found.name)
        place.codes, place.coords, place.uncounted = set(city.codes), point, True
        gained, exchange_places = (parts or {}).get(city.unit.code, (set(), []))
        if gained:
            km, codes = min(((distance_km(point, at), sorted(codes)) for at, codes in exchange_places),
                            default=(None, []))
            place.codes -= gained
            if km is not None and km <= PART_KM:
                place.codes |= gained & set(codes)
        places[key] = place
        added += 1
    print(f"neighbourhoods shipped as communities of their city: {added}")
    return added
