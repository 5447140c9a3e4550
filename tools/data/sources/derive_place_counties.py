#!/usr/bin/python3
"""Writes us_place_counties_2020.csv and us_county_names_2023.csv.

us_place_counties_2020.csv, from two files of the GitHub repository
bdurand/us_geo (data/2020_dist/zctas.csv and zcta_places.csv, commit
b83ccde80d59d578df083df83fbecb1475841055): for each place of the 2025
Gazetteer (us_places_gazetteer_2025.txt beside this file), the county that
holds most of its land and, in the twelve states where towns and townships
are municipalities, the county subdivision that does, each ZCTA's part of
the place counted in the ZCTA's primary county and county subdivision.

us_county_names_2023.csv, from the NAME column of the same repository's
data/raw/demographics/county_subdivision_2023.json (commit
18dc01d73d7a37c1f64345ade9a60bb86ab43f2f): each county's name by its FIPS
(the part of the NAME before the state's; a Maryland district's NAME has a
comma of its own), and the eight counties Connecticut had in the 2020
geography the ZCTA files use (planning regions replaced them in 2022).

    derive_place_counties.py ZCTAS_CSV ZCTA_PLACES_CSV SUBDIVISIONS_JSON
"""

import csv
import json
import sys
from collections import defaultdict
from pathlib import Path

HERE = Path(__file__).resolve().parent
# State FIPS codes of CT, ME, MA, MI, MN, NH, NJ, NY, PA, RI, VT and WI.
TOWN_STATES = {"09", "23", "25", "26", "27", "33", "34", "36", "42", "44", "50", "55"}
# Connecticut's counties by their Census Bureau FIPS codes, until 2022.
CONNECTICUT_2020 = {"09001": "Fairfield County", "09003": "Hartford County",
                    "09005": "Litchfield County", "09007": "Middlesex County",
                    "09009": "New Haven County", "09011": "New London County",
                    "09013": "Tolland County", "09015": "Windham County"}


def largest(shares):
    return max(sorted(shares), key=shares.get)


def main(zctas, zcta_places, subdivisions_json):
    gazetteer = HERE / "us_places_gazetteer_2025.txt"
    known = {line.split("|")[1] for line in gazetteer.read_text(encoding="utf-8").splitlines()[1:]}
    primary = {}
    with open(zctas, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            primary[row["ZCTA5"]] = (row["Primary County"], row["Primary County Subdivision"])
    counties, subdivisions = defaultdict(lambda: defaultdict(float)), defaultdict(lambda: defaultdict(float))
    with open(zcta_places, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            place, holder = row["Place GEOID"], primary.get(row["ZCTA5"])
            if holder and place in known:
                counties[place][holder[0]] += float(row["Land Area"] or 0)
                subdivisions[place][holder[1]] += float(row["Land Area"] or 0)
    with open(HERE / "us_place_counties_2020.csv", "w", newline="", encoding="utf-8") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["place", "county", "subdivision"])
        for place in sorted(counties):
            out.writerow([place, largest(counties[place]),
                          largest(subdivisions[place]) if place[:2] in TOWN_STATES else ""])
    names = dict(CONNECTICUT_2020)
    for row in json.load(open(subdivisions_json, encoding="utf-8"))[1:]:
        names[row[3] + row[4]] = row[0].split(", ")[-2]
    with open(HERE / "us_county_names_2023.csv", "w", newline="", encoding="utf-8") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["county", "name"])
        for county in sorted(names):
            out.writerow([county, names[county]])


if __name__ == "__main__":
    main(*sys.argv[1:4])
