"""The Canadian numbering administrator's list of central-office codes
(sources/ca_co_codes_*.csv: NPA, NXX, exchange area, province of every code
in service): the exchange area of each Canadian NPA-NXX."""

import re

from census import source_rows
from nanp_sources import CANADIAN_CODES, POSTAL_CODE_CHANGES
from npa_report import SOURCES, SourceError

CO_CODES = SOURCES / "ca_co_codes_2024-10-10.csv"


def in_service():
    """{six-digit NPA-NXX: (exchange area, province)} of the codes of a
    province; codes of no province (non-geographic 600 codes) are counted."""
    found, unplaced = {}, 0
    for line, row in source_rows(CO_CODES, ["NPA", "NXX", "Exchange Area", "Province"]):
        province = POSTAL_CODE_CHANGES.get(row["Province"], row["Province"])
        if not province:
            unplaced += 1
            continue
        if not re.fullmatch(r"[2-9]\d\d", row["NPA"]) or not re.fullmatch(r"\d{3}", row["NXX"]):
            raise SourceError(CO_CODES, line, f"NPA-NXX {row['NPA']}-{row['NXX']}")
        if province not in CANADIAN_CODES or not row["Exchange Area"].strip():
            raise SourceError(CO_CODES, line, f"province {row['Province']!r} or no exchange area")
        key = row["NPA"] + row["NXX"]
        if key in found:
            raise SourceError(CO_CODES, line, f"{key} listed twice")
        found[key] = (row["Exchange Area"].strip(), province)
    print(f"{CO_CODES.name}: {len(found)} codes of a province, {unplaced} of none left out")
    return found
