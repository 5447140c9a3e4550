"""Exchanges named after a part of a big city: the San Fernando Valley's
exchanges carry the names of Los Angeles neighbourhoods (Van Nuys, North
Hollywood, Sun Valley), Boston's those of Dorchester and Jamaica Plain,
Anchorage's that of Eagle River. Such a name is a post office's: the ZIP
codes of the post office of that name in the exchange's state say where
its people live (the Census Bureau's ZIP Code Tabulation Areas and their
overlap with places). When most of them live in one big city, the
exchange counts as that city's."""

from collections import Counter, defaultdict

import census
from city_names import match_key
from gazetteer import distance_km
from postal import (POST_OFFICES, SQUARE_METRES_PER_SQUARE_MILE, ZCTA_OVERLAPS, ZCTA_PEOPLE,
                    ZCTA_POINTS, rows)

# A post office lies within a city when the city holds more than this share
# of its people. A ZCTA's people are spread over its land: that undercounts a
# city part whose ZIP code reaches into empty hills (Sylmar, 38%), and keeps
# out an unincorporated community whose ZIP codes the city only touches
# (Cypress TX, 4% in Houston; Spring TX, 5%).
SHARE = 0.5
# Nobody's name: a name an incorporated place, a town or a borough of the
# state has is that unit's, even where its post office reaches into a big
# city (Keller TX, whose ZIP 76244 is mostly Fort Worth; West Hollywood).
OWN_NAME_KINDS = {census.INCORPORATED, census.TOWN, census.BOROUGH, census.MUNICIPIO}
# A post office counted for a city lies this near the city's point: a
# wider spread means its name was matched with another place's.
NEAR_KM = 80


def post_office_places():
    """{(state, folded post office name): (people, {place GEOID: people},
    point)}: each post office's people, by place, with each of its ZCTAs'
    people spread over the ZCTA's land, and the point of its most populous
    ZCTA."""
    people = {r["zcta"]: int(r["population"]) for r in rows(ZCTA_PEOPLE)}
    zctas = {r["zcta"]: (int(r["land"]) / SQUARE_METRES_PER_SQUARE_MILE,
                         (float(r["lat"]), float(r["lon"]))) for r in rows(ZCTA_POINTS)}
    overlaps = defaultdict(list)
    for row in rows(ZCTA_OVERLAPS):
        overlaps[row["zcta"]].append((row["place"], float(row["land"])))
    offices = defaultdict(list)
    for row in rows(POST_OFFICES, "\t"):
        if people.get(row["zip"]) and zctas.get(row["zip"], (0,))[0]:
            offices[(row["state"], match_key(row["post office"]))].append(row["zip"])
    found = {}
    for key, codes in offices.items():
        by_place = Counter()
        for zcta in codes:
            land = zctas[zcta][0]
            for place, area in overlaps[zcta]:
                by_place[place] += people[zcta] * area / land
        largest = max(codes, key=lambda z: (people[z], z))
        found[key] = (sum(people[z] for z in codes), by_place, zctas[largest][1])
    return found


def exchange_cities(cities, units, labels):
    """{(state, folded label): city} for the exchange labels (state, folded
    name) that name a post office lying within one of the cities (US
    places with their census unit), and [(label, city, share, km from the
    city, the post office's point)] of them for review."""
    by_code = {p.unit.code: p for p in cities if p.unit is not None}
    own_names = {(u.state, match_key(u.name)) for u in units if u.kind in OWN_NAME_KINDS}
    offices = post_office_places()
    found, review = {}, []
    for state, key in sorted(labels):
        office = offices.get((state, key))
        if office is None or (state, key) in own_names:
            continue
        total, by_place, point = office
        code, people = max(by_place.items(), key=lambda item: (item[1], item[0]), default=(None, 0))
        city = by_code.get(code)
        if city is None or city.state != state or people <= SHARE * total:
            continue
        km = distance_km(point, city.coords) if city.coords else 0.0
        found[(state, key)] = city
        review.append(((state, key), city, people / total, km, point))
    return found, review
