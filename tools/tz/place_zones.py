#!/usr/bin/python3
"""Stop-gap writer of res/ctz.bin (each place's IANA zone, format in
docs/data-format.md) from the current sources, by the same geographic
lookup as tools/data. Reads city ids from tools/data/city_ids.tsv and never
changes tools/data. To be replaced by the data generator's own ctz.bin.
Run with /usr/bin/python3 after `npm ci` in tools/data."""

import contextlib
import io
import sys
from datetime import date, timedelta
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
sys.path.insert(0, str(ROOT / "tools" / "data"))

import census  # noqa: E402
import gazetteer  # noqa: E402
import generate  # noqa: E402
import nanp_sources as nanp  # noqa: E402
import npa_report  # noqa: E402
import statcan  # noqa: E402
from data_format import COUNTRY_CANADA, COUNTRY_NON_GEOGRAPHIC  # noqa: E402


def registry():
    ids = {}
    for line in (ROOT / "tools" / "data" / "city_ids.tsv").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            city_id, state, key = line.split("\t")
            ids[(state, key)] = int(city_id)
    for (state, key), city_id in list(ids.items()):
        if state in generate.FORMER_STATES:
            ids.setdefault((generate.FORMER_STATES[state], key), city_id)
    return ids


def main():
    with contextlib.redirect_stdout(io.StringIO()):
        rows, file_date = npa_report.read_report()
        month_end = date(file_date.year + file_date.month // 12, file_date.month % 12 + 1, 1) \
            - timedelta(days=1)
        in_service = npa_report.codes_in_service(rows, month_end)
        members = nanp.read_table("member_countries.tsv")
        geo = gazetteer.Gazetteer(["US", "CA"] + [region for region, _, _ in members])
        member_codes = {c for found in nanp.member_codes([r for r, _, _ in members]).values()
                        for c in found}
        geographic = generate.collect_geographic_places(in_service, member_codes)
        generate.join_places(list(geographic.values()), geo)
        statcan.apply_populations([p for p in geographic.values()
                                   if p.country == COUNTRY_CANADA])
        figures = census.hand_figures()
        for key, place in geographic.items():
            if key in figures:
                place.population, place.joined = figures[key], True
        places = {**geographic, **generate.collect_member_places(geo, members, in_service)}
        generate.assign_zones([p for p in places.values()
                               if p.country != COUNTRY_NON_GEOGRAPHIC])
    ids = registry()
    zoned = sorted((ids[key], place.zone) for key, place in places.items() if place.zone)
    names = sorted({zone for _, zone in zoned})
    index = {name: i for i, name in enumerate(names)}
    lines = ["TQCTZ 1", f"zones {len(names)}", *names, f"places {len(zoned)}",
             *(f"{city_id}\t{index[zone]}" for city_id, zone in zoned)]
    (ROOT / "res" / "ctz.bin").write_text("\n".join(lines) + "\n", encoding="utf-8",
                                          newline="\n")
    print(f"ctz.bin: {len(names)} zones, {len(zoned)} places")


if __name__ == "__main__":
    main()
