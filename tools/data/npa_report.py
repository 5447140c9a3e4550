"""The numbering-plan administrator's NPA report (sources/npa_report_*.csv):
which area codes are in service, geographic or not, and which share their
territory in an overlay complex.

The file is checked before use: its SHA-256 must be the one recorded in
sources/SHA256SUMS, its header the one this module reads, and every row of
the right width. Anything else stops the generator with the file and line.
"""

import csv
import hashlib
import io
import re
from dataclasses import dataclass, field
from datetime import date, datetime
from pathlib import Path

from nanp_sources import CANADIAN_PROVINCES, US_CODES

HERE = Path(__file__).resolve().parent
SOURCES = HERE / "sources"
REPORT = SOURCES / "npa_report_2026-01-05.csv"
COLUMNS = (
    "NPA_ID,type_of_code,ASSIGNABLE,EXPLANATION,RESERVED,ASSIGNED,ASSIGNMENT_DT,USE,"
    "LOCATION,COUNTRY,IN_SERVICE,IN_SERVICE_DT,STATUS,PLANNING_LETTERS,NOTES,OVERLAY,"
    "OVERLAY_COMPLEX,PARENT_NPA_ID,SERVICE,TIME_ZONE,AREA_SERVED,MAP,IN_JEOPARDY,"
    "RELIEF_PLANNING_IN_PROGRESS,HOME_NPA_LOCAL_CALLS,HOME_NPA_TOLL_CALLS,"
    "FOREIGN_NPA_LOCAL_CALLS,FOREIGN_NPA_TOLL_CALLS,PERM_HNPA_LOCAL_CALLS,"
    "PERM_HNPA_TOLL_CALLS,PERM_HNPA_FOREIGN_LOCAL_CALLS,DIALING_PLAN_NOTES").split(",")


class SourceError(SystemExit):
    """A source file is missing, changed or malformed: generation stops."""

    def __init__(self, path, line, what):
        super().__init__(f"{path.name}, line {line}: {what}" if line else f"{path.name}: {what}")


def verified_text(path):
    """The text of a source file whose SHA-256 matches sources/SHA256SUMS."""
    if not path.is_file():
        raise SourceError(path, 0, "missing")
    sums = {}
    for number, line in enumerate((SOURCES / "SHA256SUMS").read_text().splitlines(), 1):
        digest, _, name = line.partition("  ")
        if not re.fullmatch(r"[0-9a-f]{64}", digest) or not name:
            raise SourceError(SOURCES / "SHA256SUMS", number, "not 'sha256  name'")
        sums[name] = digest
    data = path.read_bytes()
    if sums.get(path.name) != hashlib.sha256(data).hexdigest():
        raise SourceError(path, 0, "changed: its SHA-256 differs from sources/SHA256SUMS")
    try:
        return data.decode("utf-8-sig")
    except UnicodeDecodeError as error:
        line = data[:error.start].count(b"\n") + 1
        raise SourceError(path, line, "not UTF-8") from error


@dataclass
class Npa:
    code: int
    use: str  # "G" geographic, "N" non-geographic
    location: str
    in_service: bool
    in_service_date: date | None
    service: str
    complexes: list = field(default_factory=list)  # sets of codes
    parent: int | None = None  # the code it relieves


def _date(text, path, line):
    if not text:
        return None
    try:
        return datetime.strptime(text, "%d-%b-%Y").date()
    except ValueError as error:
        raise SourceError(path, line, f"date {text!r} is not like 01-Jan-1947") from error


def read_report(path=REPORT):
    """{area code: Npa} of every row, and the report's file date."""
    rows = list(csv.reader(io.StringIO(verified_text(path))))
    if len(rows) < 2 or rows[0][0] != "File Date":
        raise SourceError(path, 1, "first line is not 'File Date,MM/DD/YYYY'")
    file_date = datetime.strptime(rows[0][1], "%m/%d/%Y").date()
    if rows[1] != COLUMNS:
        raise SourceError(path, 2, "the columns are not those this generator reads")
    result = {}
    for line, row in enumerate(rows[2:], 3):
        if len(row) != len(COLUMNS) or not re.fullmatch(r"[2-9]\d\d", row[0]):
            raise SourceError(path, line, f"row of {len(row)} fields or bad NPA {row[:1]}")
        value = dict(zip(COLUMNS, row))
        if value["IN_SERVICE"] not in ("Y", "N") or value["USE"] not in ("G", "N", ""):
            raise SourceError(path, line, "IN_SERVICE or USE has an unknown value")
        complexes = []
        for text in value["OVERLAY_COMPLEX"].split(","):
            members = [m for m in text.strip().split("/") if m]
            if members and not all(re.fullmatch(r"\d{3}", m) for m in members):
                raise SourceError(path, line, f"overlay complex {text!r} is not NPA/NPA")
            if members:
                complexes.append(frozenset(map(int, members)))
        result[int(row[0])] = Npa(
            int(row[0]), value["USE"], value["LOCATION"], value["IN_SERVICE"] == "Y",
            _date(value["IN_SERVICE_DT"], path, line), value["SERVICE"], complexes,
            int(value["PARENT_NPA_ID"]) if re.fullmatch(r"\d{3}", value["PARENT_NPA_ID"].strip())
            else None)
    return result, file_date


def encode_planned(report, month_end):
    """pln.bin (format TQPLAN 1, docs/data-format.md): the geographic codes
    announced for a date after month_end, each with that date and the codes
    it overlays, its parent first, then ascending."""
    lines = []
    for code, npa in sorted(report.items()):
        if npa.in_service or not npa.in_service_date or npa.in_service_date <= month_end \
                or npa.use != "G":
            continue
        members = set().union(*npa.complexes) - {code}
        overlaid = ([npa.parent] if npa.parent in members else []) + sorted(members - {npa.parent})
        if not overlaid:
            raise SourceError(REPORT, 0, f"planned code {code} overlays no code")
        lines.append(f"{code}\t{npa.in_service_date.isoformat()}\t{' '.join(map(str, overlaid))}")
    return ("\n".join(["TQPLAN 1", f"codes {len(lines)}", *lines]) + "\n").encode("ascii")


def code_states(npa):
    """The postal codes of the states or provinces a code serves, from its
    LOCATION ("NJ", "QUEBEC", "NOVA SCOTIA - PRINCE EDWARD ISLAND"); empty
    for a code of another member or of none."""
    provinces = {name.upper(): code for name, code in CANADIAN_PROVINCES.items()}
    if npa.location in US_CODES:
        return {npa.location}
    parts = [p.strip() for p in re.split(r"\s*-\s*", npa.location)]
    return {provinces[p] for p in parts} if all(p in provinces for p in parts) else set()


def codes_in_service(report, month_end):
    """The codes in service, or whose in-service date is not after month_end."""
    return {code: npa for code, npa in report.items()
            if npa.in_service or (npa.in_service_date and npa.in_service_date <= month_end)}


def complex_members(codes):
    """{code: the codes its own row says share its territory, itself
    included}. The report lists a code of several complexes with the codes
    of all of them. A code that others list but whose row lists none takes
    theirs; a code listed by a code whose list is wider is added to its list
    (the rows of one complex do not always agree)."""
    rows = {code: {code}.union(*npa.complexes) & set(codes) for code, npa in codes.items()}
    for code, members in rows.items():
        listing = [rows[other] for other in codes if other != code and code in rows[other]]
        if members == {code}:
            members.update(*listing)
    for code, members in rows.items():
        members.update(other for other in codes
                       if code in rows[other] and members < rows[other])
    return rows


def complex_places(codes, own_places):
    """Places of each code: its own, and those of every code of its complex
    whose territory lies within its own (a code listing fewer or the same
    codes), so the codes of one complex serve the same places and a code
    overlaying several areas serves their union. own_places: {code: set}."""
    rows = complex_members(codes)
    return {code: set().union(*(own_places.get(m, set()) for m in members
                                if rows[m] <= members))
            for code, members in rows.items()}


def whole_complexes(codes, rows):
    """The codes with every code that serves their places by the rule of
    complex_places(): the codes sharing a code's list and the codes whose
    list is wider. rows: complex_members()."""
    found, grown = set(codes), True
    while grown:
        wider = {m for c in found if c in rows for m in rows
                 if rows[m] == rows[c] or rows[c] < rows[m]}
        grown = not wider <= found
        found |= wider
    return found
