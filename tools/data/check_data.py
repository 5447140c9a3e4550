#!/usr/bin/python3
"""Checks the shipped res/cit.bin, res/arc.bin and res/exc.bin by decoding
them again.

Prints what it finds and exits with 1 when a check fails. Run with Debian's
/usr/bin/python3 (no npm packages needed). With --report it also lists the
largest city of every Canadian code and of the most populous US codes.
"""

import sys
from collections import Counter, defaultdict
from pathlib import Path

from checks import read_accent_table, reachable
from city_names import match_key, normalize_city_name
from data_format import (COUNTRY_CANADA, STATE_NON_GEOGRAPHIC, decode_cities,
                         decode_links, encode_city, encode_link)
from exchange_file import decode_exchanges
from nanp_sources import read_table

HERE = Path(__file__).resolve().parent
RES = HERE.parent.parent / "res"


class Checker:
    def __init__(self):
        self.failed = 0

    def expect(self, ok, what):
        print(("ok    " if ok else "FAIL  ") + what)
        self.failed += not ok


def main():
    check = Checker()
    city_bytes, arc_bytes = (RES / "cit.bin").read_bytes(), (RES / "arc.bin").read_bytes()
    cities, problems = decode_cities(city_bytes)
    links = decode_links(arc_bytes)
    check.expect(not problems, f"cit.bin decodes cleanly {problems or ''}")
    check.expect(b"".join(encode_city(c) for c in cities) == city_bytes,
                 f"cit.bin round trip ({len(cities)} records)")
    check.expect(b"".join(encode_link(i, a) for i, a in links) == arc_bytes,
                 f"arc.bin round trip ({len(links)} links)")
    check.expect(b"\r\n\r\n" not in city_bytes and not city_bytes.startswith(b"\r\n"),
                 "no empty line in cit.bin")
    check.expect(all(len(c.name) >= 1 for c in cities), "every city has a name")
    ids = [c.city_id for c in cities]
    check.expect(len(set(ids)) == len(ids) and 0 < min(ids) and 11 * max(ids) < 2**31,
                 "city ids unique, positive and small enough")
    by_id = {c.city_id: c for c in cities}
    check.expect(all(i in by_id for i, _ in links), "every link names a known city")
    check.expect(len(set(links)) == len(links), "no duplicate link")
    linked = {i for i, _ in links}
    check.expect(all(c.city_id in linked for c in cities), "every city has an area code")

    accented = read_accent_table((HERE.parent.parent / "names" / "AccentedSpellings.inc").read_text(encoding="utf-8"))
    failures = [c for c in cities if not reachable(c.name, accented)]
    check.expect(not failures, f"names found again when typed ({len(failures)} of {len(cities)} not)")
    for city in failures:
        print(f"        {city.name}, {city.state}")

    landmarks = read_table("landmark_cities.tsv")
    stored = {(c.state, match_key(c.name)): c.name for c in cities}
    wrong = [(s, n, stored[(s, match_key(n))]) for s, n in landmarks
             if stored.get((s, match_key(n)), n) != n]
    check.expect(not wrong, f"map symbol cities spelled as the map expects {wrong or ''}")
    check.expect(all(normalize_city_name(n) == n for _, n in landmarks),
                 "map symbol cities are in normalised form")
    missing = [f"{n}, {s}" for s, n in landmarks if (s, match_key(n)) not in stored]
    print(f"info  map symbol cities without a place in the data: {missing}")

    codes_of = defaultdict(set)
    cities_of = defaultdict(list)
    for i, code in links:
        codes_of[i].add(code)
        cities_of[code].append(by_id[i])

    def largest(code):
        return max(cities_of[code], key=lambda c: c.population)  # first wins ties

    dayton = [c for c in cities if c.name == "Dayton" and c.state == "OH"]
    check.expect(len(dayton) == 1 and 937 in codes_of[dayton[0].city_id],
                 "Dayton, OH has area code 937")
    check.expect(largest(937).name == "Dayton", f"largest city of 937 is {largest(937).name}")
    check.expect(largest(212).name == "New York", f"largest city of 212 is {largest(212).name}")
    check.expect({c.state for c in cities_of[867]} == {"YT", "NT", "NU"}
                 and "Whitehorse" in {c.name for c in cities_of[867]}, "867: YT, NT and NU, Whitehorse")
    check.expect({c.state for c in cities_of[902]} == {"NS", "PE"}, "902: NS and PE")
    ohio = sorted({a for c in cities if c.state == "OH" for a in codes_of[c.city_id]})
    check.expect(ohio == [216, 220, 234, 283, 326, 330, 380, 419, 436, 440, 513, 567, 614, 740, 937],
                 f"Ohio's codes {ohio}")
    springfield = sorted(c.state for c in cities if c.name == "Springfield")
    check.expect(len(springfield) >= 5, f"Springfield in {len(springfield)} states")
    check.expect(any(c.name == "Montr\u00e9al" and c.state == "QC" for c in cities)
                 and not any(c.name == "Montreal" for c in cities), "Montreal stored as Montréal")
    check.expect(not any(c.state == "NF" for c in cities) and any(c.state == "NU" for c in cities),
                 "Newfoundland is NL, Nunavut NU")
    exchanges, exchange_problems = decode_exchanges((RES / "exc.bin").read_bytes())
    shipped = {(c.name, c.state) for c in cities}
    check.expect(not exchange_problems, f"exc.bin reads back: {len(exchanges)} exchanges, "
                 "sorted, unique, 13-byte records, size consistent "
                 f"{exchange_problems[:3] or ''}")
    check.expect(exchanges.get("937222") == ("Dayton", "OH"), "exc.bin: 937-222 is Dayton, OH")
    print(f"info  exchanges at a shipped place: {sum(p in shipped for p in exchanges.values())}")
    bahamas = [c for c in cities_of[242]]
    check.expect(any(c.name == "Nassau" and c.state == "Bahamas" for c in bahamas), "242: Nassau, Bahamas")
    nongeo = [c for c in cities if c.state == STATE_NON_GEOGRAPHIC]
    check.expect(nongeo and all(c.time_zone >= 24 for c in nongeo),
                 f"{len(nongeo)} non-geographic records without time zone")
    zones = Counter(c.time_zone for c in cities)
    print(f"info  places per time zone: {dict(sorted(zones.items()))}")

    if "--report" in sys.argv:
        us = [a for a in cities_of if any(c.country != COUNTRY_CANADA and len(c.state) == 2
                                        and c.state not in ("PR", "VI", "GU", "MP", "AS")
                                        for c in cities_of[a])]
        us.sort(key=lambda a: (-sum(c.population for c in cities_of[a]), a))
        print("largest city of the 20 US codes whose places hold the most people:")
        for a in us[:20]:
            print(f"  {a} {largest(a).name}, {largest(a).state} ({largest(a).population})")
        print("largest city of every Canadian code:")
        for a in sorted(a for a in cities_of if all(c.country == COUNTRY_CANADA for c in cities_of[a])):
            print(f"  {a} {largest(a).name}, {largest(a).state} ({largest(a).population})")
    print("PASSED" if not check.failed else f"{check.failed} check(s) FAILED")
    return 1 if check.failed else 0


if __name__ == "__main__":
    sys.exit(main())
