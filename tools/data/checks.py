"""Checks the generator runs on what it is about to ship; any failure stops
generation. It also prints each code's three largest places and writes
largest_cities.txt (the largest city of the 60 codes whose places hold the
most people) for a reviewer.
"""

import re
from collections import Counter, defaultdict
from pathlib import Path

import canadian_exchanges
import city_parts as parts_of_cities
import nanp_sources as nanp
import npa_report
import residents
from city_names import (accent_city_name, cp1252_lower, match_key, normalize_city_name,
                        plain_lowered, spelling_key, written_out)
from data_format import COUNTRY_CANADA, COUNTRY_NON_GEOGRAPHIC, COUNTRY_USA, NO_TIME_ZONE

HERE = Path(__file__).resolve().parent
# Least shares of places with a population: US places, and all places. The
# second stays below the aim of 99% while some hundreds of exchange
# communities (city neighbourhoods, places no census counts: Flushing NY,
# Baden ON) and the communities of population centres named for several
# (Chicoutimi, Bowmanville) have no count of their own; it stops the share
# from slipping.
MIN_POPULATION_SHARE = {COUNTRY_USA: 0.99, None: 0.987}
# Least shares of each census list found by its name typed in lower case
# without accents. A dozen population centres have no point, no exchange
# area and no municipality known to hold them: they are left out, and their
# share may not slip.
CENSUS_LISTS = [  # (what, kinds, least population, least share)
    ("US places (incorporated and CDP) of 5,000 people up", {"incorporated place", "CDP"}, 5000, 1.0),
    ("US places (incorporated and CDP) of 1,000 people up", {"incorporated place", "CDP"}, 1000, 1.0),
    ("US towns and townships of 10,000 people up (twelve states)", {"town"}, 10000, 1.0),
    ("US towns and townships of 1,000 people up (twelve states)", {"town"}, 1000, 1.0),
    ("Puerto Rico municipios", {"municipio"}, 0, 1.0),
    ("Canadian municipalities of 5,000 people up", {"municipality"}, 5000, 1.0),
    ("Canadian municipalities of 1,000 people up", {"municipality"}, 1000, 1.0),
    ("Canadian population centres (communities) of 1,000 people up", {"community"}, 1000, 0.96),
]
# The code rule on the held-out places: floors (the aims are 95% and 99%).
MIN_EXACT, MIN_SHARED = 0.954, 0.957
# The census-division rule on the Canadian municipalities with a point,
# predicted from their division alone: exact code sets and same zone.
MIN_DIVISION_EXACT, MIN_DIVISION_ZONE = 0.975, 0.99
CONTAINERS = {"town", "municipality", "municipio"}
# The chain of rules for Canadian places without exchanges of their own (the
# area they are served from, then the nearest exchange places) on the held-out
# Canadian exchange places: least share of exact code sets.
MIN_CANADIAN_EXACT = 0.97
# Canadian places once given a wrong code set by distance, with a code of
# the complex that truly serves them (the administrator's CO code list).
SERVED_FROM = [("ON", "Lincoln", 905), ("ON", "Trent Hills", 705), ("QC", "Baie-D'Urf\u00e9", 514),
               ("QC", "Montr\u00e9al-Est", 514), ("QC", "Sainte-Anne-de-Bellevue", 514),
               ("QC", "L'\u00cele-Perrot", 514), ("QC", "Notre-Dame-de-l'\u00cele-Perrot", 514),
               ("QC", "Pincourt", 514), ("QC", "Terrasse-Vaudreuil", 514),
               ("QC", "Sainte-Catherine", 450), ("QC", "Saint-Bonaventure", 819),
               ("QC", "Saint-Fran\u00e7ois-du-Lac", 450), ("QC", "Laurentides", 450)]
# Signs of a name written mechanically or as a telephone company shortens it.
STYLE_PROBLEMS = [
    (re.compile(r"\bMc[a-z]"), "Mc followed by a small letter"),
    (re.compile(r"[A-Za-z]'S\b"), "capital after an apostrophe"),
    (re.compile(r" (De|Du|Of|Or|Del) |-(De|Du|Des|La|Le|Les|Sur|On|The|Aux|En)-"),
     "capitalised particle"),
    (re.compile(r"\b(Afb|Afs|Cnty|Jct|Hts|Spgs|Bch|Vlg|Twp|Cyn|Mtn|Sta)\b"), "abbreviation"),
    (re.compile(r"\b[B-DF-HJ-NP-TV-Z][b-df-hj-np-tv-xz]{3,}\b|[b-df-hj-np-tv-xz]{7}"
                r"|\b(Cnsqncs|Philcmpbll|Marblhd)\b"), "shortened word"),
]


# A census code (five digits and more) or a kind word that tells no namesake
# apart as people write it.
CENSUS_CODE = re.compile(r"\d{5}| (Community|CDP)\b")
# New York City's boroughs: places of their own, each a city with codes the
# city has.
BOROUGHS = ("Manhattan", "Brooklyn", "Queens", "The Bronx", "Staten Island")
# Towns and municipalities of the territories, once each, by the names
# people use.
TERRITORY_TOWNS = [("VI", "Charlotte Amalie"), ("VI", "Christiansted"), ("VI", "Frederiksted"),
                   ("MP", "Saipan"), ("MP", "Tinian"), ("MP", "Rota"), ("GU", "Dededo"),
                   ("GU", "Tamuning"), ("GU", "Hag\u00e5t\u00f1a")]
# Kinds that may be a code's largest city (knd.bin).
LARGEST_KINDS = {"city", "town", "cdp", "centre"}
# Codes whose largest city was a town around it, an island, a district
# named with its kind word or a neighbour of the city whose parts name the
# code's exchanges (818 and 747: Glendale, not Los Angeles), with the city
# expected where one is named.
KNOWN_BY = {631: None, 934: None, 845: None, 329: None, 607: "Binghamton", 609: "Trenton",
            640: "Trenton", 724: None, 340: None, 310: "Los Angeles", 424: "Los Angeles",
            671: None, 213: "Los Angeles", 212: "New York", 937: "Dayton", 718: "New York",
            347: "New York", 818: "Los Angeles", 747: "Los Angeles"}


def largest_city(cities, kind_of):
    """The most populous place of a kind that may be the largest city; with
    none, the most populous place (the first of equals by name)."""
    fit = [r for r in cities if kind_of.get(r.city_id, "city") in LARGEST_KINDS] or cities
    return max(fit, key=lambda r: (r.population, [-ord(c) for c in r.name]))


class Result:
    def __init__(self):
        self.failed = 0

    def expect(self, ok, what, details=()):
        print(("ok    " if ok else "FAIL  ") + what)
        for line in list(details)[:20]:
            print("        " + str(line))
        self.failed += not ok


def style_problems(name):
    return [why for pattern, why in STYLE_PROBLEMS if pattern.search(name)]


def lookup_texts(typed, accented):
    """The two texts the lookup compares stored names with for a typed city:
    the normalised text and its copy from AccentCityName (accent rows, then
    the spellings table by spelling key, else the key written out when an
    abbreviation or point stands inside the name)."""
    normalized = normalize_city_name(typed)
    others = accented.get(spelling_key(normalized), [])[1:]
    copy = accent_city_name(normalized)
    key = spelling_key(copy)
    if key in accented:
        copy = accented[key][0]
    elif written_out(copy, fold=False) != plain_lowered(copy):
        copy = accent_city_name(normalize_city_name(written_out(copy, fold=False)))
    return (normalized, copy, *others)


def written_forms(name):
    """Common ways to type a name: lower case without accents, without its
    points, with its abbreviations written out, and with them shortened."""
    plain = plain_lowered(name)
    short = re.sub(r"\b(saint|sainte|mount|fort)\b",
                   lambda m: {"saint": "st.", "sainte": "ste.", "mount": "mt.", "fort": "ft."}[m.group()],
                   plain)
    return sorted({plain, plain.replace(".", ""), spelling_key(name), short, short.replace(".", "")})


def reachable(name, accented):
    """Whether every common written form of the name (written_forms) finds
    it, compared without regard to case."""
    wanted = cp1252_lower(name)
    return all(wanted in map(cp1252_lower, lookup_texts(typed, accented))
               for typed in written_forms(name))


def read_accent_table(text):
    """{typed key: [stored names, the first the lookup's accented copy]} read
    back from the text of names/AccentedSpellings.inc."""
    accented = defaultdict(list)
    for line in text.splitlines()[1:]:
        key, value = re.fullmatch(r'\{"(.*?)", ("(?:[^"]|" ")*")(?:, ".*")?\},', line).groups()
        value = value.replace('" "', "")[1:-1]
        accented[key].append(re.sub(r"\\x([0-9A-F]{2})",
                                    lambda m: bytes([int(m.group(1), 16)]).decode("cp1252"), value))
    return accented


def census_checks(result, units, places, ids, by_id, accented, agreement, division, canadian,
                  in_service, big, city_parts, **_):
    """The census lists found, the code rule's agreement, and no place with
    the figure of a larger unit of its name that contains it."""
    shipped = {}
    for key, place in places.items():
        if place.unit is not None:
            shipped[id(place.unit)] = by_id[ids[key]]
    for what, kinds, least, share in CENSUS_LISTS:
        listed = [u for u in units if u.kind in kinds and u.population >= least
                  and (u.kind != "town" or u.state in residents.TOWN_STATES)]
        found = [u for u in listed if id(u) in shipped
                 and reachable(shipped[id(u)].name, accented) and shipped[id(u)].state == u.state]
        got = len(found) / max(len(listed), 1)
        result.expect(got >= share, f"{what}: {len(found)}/{len(listed)} found ({got:.1%}, "
                      f"least {share:.1%})",
                      sorted(f"{u.name}, {u.state} {u.population}" for u in listed
                             if u not in found and (u.population >= 5000 or share == 1.0)))
    exact, shared, tested = agreement
    result.expect(tested and exact / tested >= MIN_EXACT and shared / tested >= MIN_SHARED,
                  f"code rule on {tested} held-out places: exact sets {exact / max(tested, 1):.1%} "
                  f"(least {MIN_EXACT:.1%}), sharing a code {shared / max(tested, 1):.1%} "
                  f"(least {MIN_SHARED:.1%})")
    short = [f"{p.name}, {p.state}: {sorted(codes - p.codes)}" for p, codes in big if codes - p.codes]
    result.expect(not short, f"the {len(big)} largest US and Canadian cities have every code "
                  "whose exchanges are named after them", short)
    far = [f"{state} {key}: {km:.0f} km from {city.name}"
           for (state, key), city, _, km, _ in city_parts["parts"] if km > parts_of_cities.NEAR_KM]
    result.expect(not far, f"{len(city_parts['parts'])} exchange names of big cities' parts lie "
                  f"within {parts_of_cities.NEAR_KM} km of their city", far)
    print("exchange names of big cities' parts (share of the post office's people in the city):")
    for (state, key), city, share, km, _ in city_parts["parts"]:
        print(f"  {key}, {state}: {city.name} {share:.0%}, {km:.0f} km")
    print("codes big cities take only by their parts' exchanges: "
          + ("; ".join(f"{p.name}, {p.state} {sorted(codes)}" for p, codes in city_parts["gained"])
             or "none"))
    exact, shared, tried = canadian
    result.expect(tried and exact / tried >= MIN_CANADIAN_EXACT,
                  f"served-from areas, then nearest places, on {tried} held-out Canadian exchange "
                  f"places: exact sets {exact / max(tried, 1):.1%} (least {MIN_CANADIAN_EXACT:.1%}), "
                  f"sharing a code {shared / max(tried, 1):.1%}")
    rows = npa_report.complex_members({c: n for c, n in in_service.items() if n.use == "G"})
    by_name = {(p.state, p.name): p for p in places.values()}
    wrong = [f"{name}, {state}: {sorted(by_name[(state, name)].codes) if (state, name) in by_name else 'missing'}"
             for state, name, code in SERVED_FROM
             if (state, name) not in by_name
             or by_name[(state, name)].codes != npa_report.whole_complexes({code}, rows) & set(in_service)]
    result.expect(not wrong, f"{len(SERVED_FROM)} Canadian places served from another exchange area "
                  "have its codes", wrong)
    exact, shared, same_zone, tried = division
    result.expect(tried and exact / tried >= MIN_DIVISION_EXACT
                  and same_zone / tried >= MIN_DIVISION_ZONE,
                  f"census-division rule on {tried} Canadian municipalities with a point: exact "
                  f"sets {exact / max(tried, 1):.1%} (least {MIN_DIVISION_EXACT:.1%}), sharing a "
                  f"code {shared / max(tried, 1):.1%}, same zone {same_zone / max(tried, 1):.2%} "
                  f"(least {MIN_DIVISION_ZONE:.1%})")
    containers = {(u.state, match_key(u.name), u.population): u for u in units
                  if u.kind in CONTAINERS and u.population > 0}
    borrowed = [f"{p.name}, {p.state} {p.population}" for p in places.values()
                if (p.unit is None or p.unit.kind not in CONTAINERS)
                and (p.state, match_key(p.name), p.population) in containers]
    result.expect(not borrowed, "no place carries the figure of a town or municipality "
                  "of its name around it", borrowed)
    shared = {(u.state, u.together) for u in units if u.together}
    borrowed = [f"{p.name}, {p.state} {p.population}" for p in places.values()
                if (p.state, p.population) in shared]
    result.expect(not borrowed, "no place carries the figure of a population centre named for "
                  "several communities", borrowed)


def exchange_checks(result, exchanges, named, records, in_service, member_regions):
    """Every exchange a source names (named: the geocoder's place labels,
    members' included, and the administrator's list) answers a shipped
    place with its zone; and the share of exchanges answered, by country."""
    shipped = {(r.name, r.state): r for r in records}
    wrong = sorted(e for e in named if int(e[:3]) in in_service and (
        e not in exchanges or exchanges[e][:2] not in shipped
        or shipped[exchanges[e][:2]].time_zone == NO_TIME_ZONE))
    result.expect(not wrong, f"every exchange a source names ({len(named)}) answers a shipped "
                  "place with its zone", [f"{e}: {exchanges.get(e)}" for e in wrong])
    for country, answered, universe, beyond in exchange_shares(exchanges, set(shipped), in_service,
                                                               member_regions):
        print(f"info  exchanges answered with a place, {country}: {answered}/{universe} "
              f"({answered / max(universe, 1):.1%}), and {beyond} beyond those")


def exchange_shares(exchanges, shipped, in_service, member_regions):
    """[(country, exchanges answered with a shipped place, universe,
    exchanges answered so outside it)]: for Canada the universe is the administrator's
    list of codes in service; for the US and each member, the exchanges
    libphonenumber's geocoding data holds a prefix of five to seven digits
    for (whatever its label: a place or only a state), its own list of the
    exchanges there are. Outside it lie the exchanges answered by their
    city's area (213) and a member's that no exchange prefix holds.
    member_regions: {region: its codes}."""
    canadian = {e for e in canadian_exchanges.in_service() if int(e[:3]) in in_service}
    prefixed = {e for e in nanp.exchange_labels() if int(e[:3]) in in_service}
    region_of = {c: r for r, codes in member_regions.items() for c in codes}
    universes = defaultdict(set)
    for exchange in prefixed:
        code = int(exchange[:3])
        if code in region_of:
            universes[region_of[code]].add(exchange)
        elif npa_report.code_states(in_service[code]) & nanp.US_CODES:
            universes["US"].add(exchange)
    universes["Canada"] = canadian
    answered = defaultdict(set)
    for exchange in (e for e, place in exchanges.items() if place[:2] in shipped):
        code = int(exchange[:3])
        if code in region_of:
            answered[region_of[code]].add(exchange)
        elif code in in_service and npa_report.code_states(in_service[code]) & nanp.US_CODES:
            answered["US"].add(exchange)
        elif code in in_service:
            answered["Canada"].add(exchange)
    order = ["US", "Canada"] + sorted(member_regions)
    return [(c, len(answered[c] & universes[c]), len(universes[c]), len(answered[c] - universes[c]))
            for c in order]


def run(in_service, places, records, links, accent_text, census=None):
    result = Result()
    by_id = {r.city_id: r for r in records}
    cities_of = defaultdict(list)
    for code, city_id in links:
        cities_of[code].append(by_id[city_id])

    missing = sorted(c for c in in_service if c not in cities_of)
    extra = sorted(c for c in cities_of if c not in in_service)
    covered = len(in_service) - len(missing)
    result.expect(not missing and not extra,
                  f"codes of the NPA report in service: {covered}/{len(in_service)} present"
                  f" ({covered / len(in_service):.1%}), {len(extra)} not in service",
                  [f"missing {missing}", f"not in service {extra}"] if missing or extra else [])
    nongeo = {c for c, n in in_service.items() if n.use == "N"}
    wrong = sorted(c for c in nongeo if any(r.country != COUNTRY_NON_GEOGRAPHIC for r in cities_of[c]))
    result.expect(not wrong, f"{len(nongeo)} non-geographic codes as non-geographic records", wrong)

    served = {code: {r.city_id for r in cities} for code, cities in cities_of.items()}
    rows = npa_report.complex_members({c: n for c, n in in_service.items() if n.use == "G"})
    uneven = sorted({"/".join(map(str, sorted(rows[code])))
                     for code in rows for other in rows[code]
                     if (rows[other] == rows[code] and served.get(other) != served.get(code))
                     or (rows[other] < rows[code]
                         and not served.get(other, set()) <= served.get(code, set()))})
    result.expect(not uneven, "overlay complexes serve the same places", uneven)

    # A code's places lie in the states or provinces its row of the NPA
    # report names (New York, NY is no place of 201).
    # or where the Canadian administrator's list puts an exchange of the code
    # (Saint-Régis, QC, in 613: Akwesasne is reached through Ontario).
    listed = {(int(e[:3]), province) for e, (_, province) in canadian_exchanges.in_service().items()}
    astray = sorted(f"{code}: {r.name}, {r.state}" for code, cities in cities_of.items()
                    for r in cities if r.country in (COUNTRY_USA, COUNTRY_CANADA)
                    and npa_report.code_states(in_service[code])
                    and r.state not in npa_report.code_states(in_service[code])
                    and (code, r.state) not in listed)
    result.expect(not astray, "every place of a code lies in the code's own state or province",
                  astray)

    geographic = [r for r in records if r.country != COUNTRY_NON_GEOGRAPHIC]
    # Places no census counts (the hamlets exchange areas name, city
    # neighbourhoods, members' islands) ship without a figure, counted apart.
    ids = census["ids"] if census else {}
    uncounted = {ids[k] for k, p in places.items() if p.uncounted and k in ids}
    print(f"info  places no census counts, without a figure: {len(uncounted)}")
    for label, country in (("US", COUNTRY_USA), ("Canadian", COUNTRY_CANADA), ("all", None)):
        chosen = [r for r in geographic if country in (None, r.country) and r.city_id not in uncounted]
        with_population = sum(1 for r in chosen if r.population > 0)
        share = with_population / len(chosen)
        text = f"{label} places with a population {with_population}/{len(chosen)} ({share:.1%})"
        if country in MIN_POPULATION_SHARE:
            result.expect(share >= MIN_POPULATION_SHARE[country], text,
                          [f"{r.name}, {r.state}" for r in chosen if not r.population])
        else:
            print("info  " + text)

    styled = [(f"{r.name}, {r.state}", style_problems(r.name)) for r in geographic]
    styled = [s for s in styled if s[1]]
    result.expect(not styled, "names written as people write them", styled)

    accented = read_accent_table(accent_text)
    lost = [f"{r.name}, {r.state}" for r in geographic if not reachable(r.name, accented)]
    result.expect(not lost, "every name is found when typed in lower case without accents", lost)
    if census:
        census_checks(result, accented=accented, by_id=by_id, places=places, in_service=in_service,
                      **census)

    pairs = Counter((r.name, r.state) for r in geographic)
    result.expect(all(n == 1 for n in pairs.values()), "no two places of one state share a stored name",
                  [f"{n}, {s} x{c}" for (n, s), c in pairs.items() if c > 1])
    coded = [f"{r.name}, {r.state}" for r in geographic if CENSUS_CODE.search(r.name)]
    result.expect(not coded, "no stored name carries a census code or a kind word nobody writes", coded)
    astray = [f"{p.name}, {p.state}" for p in places.values()
              if p.plain and not p.name.startswith(p.plain + " ")]
    result.expect(not astray, "every renamed place is its plain name and what tells it apart", astray)
    if census and "exchanges" in census:
        exchange_checks(result, census["exchanges"], census["named"], records, in_service,
                        census["member_regions"])
    by_name = {(p.name, p.state): p for p in places.values()}
    city = by_name.get(("New York", "NY"))
    wrong = [b for b in BOROUGHS if (b, "NY") not in by_name or by_name[(b, "NY")].kind != "city"
             or not by_name[(b, "NY")].codes or not city or not by_name[(b, "NY")].codes <= city.codes]
    result.expect(not wrong, "New York's five boroughs are cities with codes, and New York has "
                  "every code of them", wrong)
    twice = Counter((p.state, p.population) for p in places.values()
                    if p.state in ("GU", "MP") and p.population)
    wrong = [f"{name}, {state}" for state, name in TERRITORY_TOWNS
             if (name, state) not in by_name or by_name[(name, state)].kind != "city"]
    wrong += [f"{p.name}, {p.state}" for p in places.values() if p.state in ("GU", "MP")
              and (p.name.endswith(" Village") or twice[(p.state, p.population)] > 1)]
    result.expect(not wrong, "the territories' towns ship once each, by the names people use", wrong)
    kind_of = {ids[k]: p.kind for k, p in places.items() if k in ids}
    largest_of = {code: largest_city(cities, kind_of) for code, cities in cities_of.items()}
    wrong = [f"{code}: {largest_of[code].name} ({kind_of.get(largest_of[code].city_id)})"
             for code in KNOWN_BY if code in largest_of
             and (kind_of.get(largest_of[code].city_id) not in LARGEST_KINDS
                  or KNOWN_BY[code] not in (None, largest_of[code].name))]
    result.expect(not wrong, f"the largest city of {len(KNOWN_BY)} codes once answered by a town, "
                  "an island or a village's district is the city they are known by", wrong)
    print("three largest places of each code:")
    for code in sorted(cities_of):
        top = sorted(cities_of[code], key=lambda r: (-r.population, r.name))[:3]
        print(f"  {code}: " + "; ".join(f"{r.name}, {r.state} {r.population}" for r in top))
    ranked = sorted((c for c in cities_of if c not in nongeo),
                    key=lambda c: (-sum(r.population for r in cities_of[c]), c))[:100]
    lines = ["# Largest city of the 100 area codes whose places hold the most people: the",
             "# most populous place of a kind that may be a code's largest city (knd.bin).",
             "# Written by tools/data/generate.py."]
    for code in ranked:
        top = largest_of[code]
        lines.append(f"{code}\t{top.name}, {top.state}\t{top.population}\t{kind_of.get(top.city_id)}")
    return result.failed, "\n".join(lines) + "\n"
