"""Statistics Canada 2021 Census populations of census subdivisions (the
municipalities, sources/ca_csd_population_2021.csv) and the kind of each
subdivision (sources/ca_csd_types_2016.csv, by its code).

A Canadian place takes the population of the subdivision of its province
with its name (or its join_aliases.tsv name). A bilingual name ("Greater
Sudbury / Grand Sudbury") counts under each half. A subdivision that a
boundary cuts into pieces (a row for each, its name followed by a note in
brackets) counts in each province with its pieces there added up, so
Lloydminster, SK is the Saskatchewan side of the city; one with a piece not
counted is left out. Rows without a count (incompletely enumerated reserves)
are counted and reported. Among namesakes of a province a city, town or
village wins over another municipality (or a subdivision newer than the
kinds file), and that over a parish, township, district, rural municipality
or unorganized area (Bathurst the city, not the parish); namesakes of the
same kind are left out as undecidable.

A community with a GeoNames population keeps it when the subdivision of its
name is the area around it (a township, parish, district, rural
municipality), or when the subdivision holds under a tenth of it (what is
left of a municipality merged into a larger one).
"""

import re
from dataclasses import dataclass

from census import source_rows
from city_names import match_key
from nanp_sources import read_table
from npa_report import SOURCES, SourceError

POPULATIONS = SOURCES / "ca_csd_population_2021.csv"
KINDS = SOURCES / "ca_csd_types_2016.csv"
PROVINCES = {"10": "NL", "11": "PE", "12": "NS", "13": "NB", "24": "QC", "35": "ON",
             "46": "MB", "47": "SK", "48": "AB", "59": "BC", "60": "YT", "61": "NT", "62": "NU"}
# Standard Geographical Classification kinds of subdivision: cities, towns,
# villages, hamlets and their French and northern forms first; then the
# areas around communities and the unorganized, reserved or settled lands.
TOWN_KINDS = {"C", "CC", "CG", "CV", "CY", "HAM", "IM", "NH", "NV", "RV", "SV", "T", "TV",
              "V", "VC", "VL", "VN"}
AREA_KINDS = {"CT", "CU", "ID", "IGD", "IRI", "LGD", "LOT", "MD", "NL", "NO", "P", "PE", "RDA",
              "RM", "S-É", "SA", "SC", "SÉ", "SET", "SG", "SNO", "TC", "TI", "TK", "TL", "TP"}
TOWN, MUNICIPALITY, AREA = 0, 1, 2
REMNANT_SHARE = 0.1
DGUID = re.compile(r"2021A0005(\d{7})")
PIECE = re.compile(r" \(part\)", re.IGNORECASE)  # the note after a piece's name


@dataclass(frozen=True)
class Subdivision:
    name: str
    population: int
    rank: int


def _ranks():
    ranks = {}
    for line, row in source_rows(KINDS, ["id", "name", "classification"]):
        code = row["id"].rpartition("csd:")[2]
        if not code.isdigit():
            raise SourceError(KINDS, line, f"no subdivision code in {row['id']}")
        kind = row["classification"]
        ranks[code] = TOWN if kind in TOWN_KINDS else AREA if kind in AREA_KINDS else MUNICIPALITY
    return ranks


def subdivisions():
    """{(province, match key): Subdivision, or None where namesakes of the
    same kind share the name}, and the rows without a population."""
    ranks, named, pieces, uncounted = _ranks(), {}, {}, []
    for line, row in source_rows(POPULATIONS, ["GEO", "DGUID", "Population, 2021"]):
        code = DGUID.fullmatch(row["DGUID"])
        if not code or code.group(1)[:2] not in PROVINCES:
            raise SourceError(POPULATIONS, line, f"{row['DGUID']} is not a 2021 subdivision")
        code = code.group(1)
        province, name = PROVINCES[code[:2]], row["GEO"]
        counted = row["Population, 2021"].isdigit()
        population = int(row["Population, 2021"]) if counted else None
        if not counted:
            uncounted.append(f"{POPULATIONS.name}:{line} {name}")
        subdivision = Subdivision(PIECE.sub("", name), population, ranks.get(code, MUNICIPALITY))
        if PIECE.search(name):  # the pieces in one province add up, when each is counted
            pieces.setdefault((province, subdivision.name), []).append(subdivision)
        elif population is not None:
            for half in name.split(" / "):
                named.setdefault((province, match_key(half)), []).append(subdivision)
    for (province, name), cut in pieces.items():
        if all(p.population is not None for p in cut):
            whole = Subdivision(name, sum(p.population for p in cut), cut[0].rank)
            named.setdefault((province, match_key(name)), []).append(whole)
    found = {}
    for key, namesakes in named.items():
        best = min(s.rank for s in namesakes)
        chosen = [s for s in namesakes if s.rank == best]
        found[key] = chosen[0] if len(chosen) == 1 else None
    return found, uncounted


def apply_populations(places):
    """Give each Canadian place (with state, key, population, joined) its
    subdivision's population, and print what was left out."""
    aliases = {(s, match_key(n)): g for s, n, g in read_table("join_aliases.tsv")}
    found, uncounted = subdivisions()
    kept, undecided, used = [], [], 0
    for place in places:
        alias = aliases.get((place.state, place.key))
        key = (place.state, match_key(alias)) if alias else (place.state, place.key)
        subdivision = found.get(key)
        if not subdivision:
            if key in found:
                undecided.append(f"{place.state} {place.key}")
            continue
        if place.population > 0 and (subdivision.rank == AREA
                                     or subdivision.population < REMNANT_SHARE * place.population):
            kept.append(f"{place.state} {place.key} {place.population} "
                        f"(not {subdivision.name} {subdivision.population})")
            continue
        place.population, place.joined = subdivision.population, True
        used += 1
    print(f"Canadian places given their census subdivision's population: {used}; "
          f"left out for namesakes of one kind: {undecided}; keeping their own figure: {kept}")
    print(f"census subdivisions without a population (incompletely enumerated): "
          f"{len(uncounted)} (first: {uncounted[:5]})")


# Census subdivisions that are no municipality: reserves and settlements,
# unorganized areas and their subdivisions, regional district electoral
# areas, Cree, Naskapi, Inuit and Nisga'a lands, improvement districts,
# special areas and the subdivisions of county municipalities.
NOT_MUNICIPALITIES = {"IRI", "S-É", "SÉ", "SET", "NO", "SNO", "RDA", "TC", "TK", "TI", "TL",
                      "NL", "SG", "IGD", "SA", "ID", "SC"}
CENTRES = SOURCES / "ca_population_centres_2021.csv"


def _kinds():
    kinds = {}
    for line, row in source_rows(KINDS, ["id", "name", "classification"]):
        kinds[row["id"].rpartition("csd:")[2]] = row["classification"]
    return kinds


def municipalities():
    """[(province, name, population, kind, code)] of every counted census
    subdivision that is a municipality (a New Brunswick parish is no
    municipality), the pieces of one cut by a provincial line added up, and
    {reason: [row]} of the rows left out."""
    kinds, found, pieces, left_out = _kinds(), [], {}, {}
    written = {code: name for code, name, _ in read_table("residents_spellings.tsv", 3)}
    for line, row in source_rows(POPULATIONS, ["GEO", "DGUID", "Population, 2021"]):
        code = DGUID.fullmatch(row["DGUID"]).group(1)
        province, kind = PROVINCES[code[:2]], kinds.get(code, "")
        where = f"{POPULATIONS.name}:{line} {row['GEO']}"
        if kind in NOT_MUNICIPALITIES or (kind == "P" and province == "NB"):
            left_out.setdefault("not a municipality", []).append(where)
            continue
        if not row["Population, 2021"].isdigit():
            left_out.setdefault("no population", []).append(where)
            continue
        # "Saint-Lin--Laurentides": the double hyphen of merged names is
        # written single, as people write it.
        name = PIECE.sub("", row["GEO"]).split(" / ")[0].replace("--", "-")
        name = written.get(code, name)
        if PIECE.search(row["GEO"]):
            pieces.setdefault((province, name, kind), []).append((int(row["Population, 2021"]), code))
        else:
            found.append((province, name, int(row["Population, 2021"]), kind, code))
    found += [(p, n, sum(c for c, _ in cut), k, cut[0][1]) for (p, n, k), cut in sorted(pieces.items())]
    return found, left_out


def population_centres():
    """[(code, province, second province or "", [names], population, parts)]
    of the census population centres: "Bowmanville - Newcastle" gives both
    names, and parts counts every name of the centre ("Angus - Borden
    CFB-BFC" has two parts, one of them a base)."""
    found = []
    for line, row in source_rows(CENTRES, ["uid", "name", "population", "province",
                                           "second province"]):
        if row["province"] not in PROVINCES or not row["population"].isdigit():
            raise SourceError(CENTRES, line, "unknown province or no population")
        names = [n for n in row["name"].split(" - ")
                 if not re.search(r"\d|CFB|\bArea\b", n)]
        found.append((row["uid"], PROVINCES[row["province"]], PROVINCES.get(row["second province"], ""),
                      names, int(row["population"]), len(row["name"].split(" - "))))
    return found
