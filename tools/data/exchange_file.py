"""Writing and checking res/exc.bin, the place of each NPA-NXX exchange
(format `TQEXC 2`, described in docs/data-format.md).

Places are numbered from 1 in the order of their first exchange; records
are 13 bytes each and sorted by their six digits. A place is (name, state)
or (name, state, "area"): the city the area code is known by, named for the
exchanges no source names.
"""

import re

HEADER = b"TQEXC 2\n"
AREA = "area"
RECORD = re.compile(rb"(\d{6}) (\d{5})\n")
RECORD_SIZE = 13


def encode_exchanges(places_of):
    """places_of: {six-digit NPA-NXX string: (name, state[, "area"])} -> file bytes."""
    numbers, places, records = {}, [], []
    for exchange in sorted(places_of):
        place = places_of[exchange]
        if place not in numbers:
            places.append(place)
            numbers[place] = len(places)
        records.append(f"{exchange} {numbers[place]:05d}\n".encode("ascii"))
    if len(places) > 99999:
        raise ValueError(f"{len(places)} places do not fit five digits")
    head = [HEADER, f"places {len(places)}\n".encode("ascii")]
    for place in places:
        name, state, marks = place[0], place[1], place[2:]
        if not name or not state or any(c in name + state for c in "\t\n\r") or marks not in ((), (AREA,)):
            raise ValueError(f"place {place!r} cannot be written")
        head.append("\t".join(place).encode("utf-8") + b"\n")
    head.append(f"exchanges {len(records)}\n".encode("ascii"))
    return b"".join(head + records)


def decode_exchanges(data):
    """Reads the file back strictly; returns ({NPA-NXX: (name, state[,
    "area"])}, problems)."""
    problems = []
    if not data.startswith(HEADER):
        return {}, ["first line is not 'TQEXC 2'"]
    lines = data[len(HEADER):].split(b"\n")
    match = re.fullmatch(rb"places (\d+)", lines[0])
    if not match:
        return {}, ["second line is not 'places N'"]
    count = int(match.group(1))
    places = []
    for line in lines[1:1 + count]:
        fields = tuple(line.decode("utf-8").split("\t"))
        if len(fields) not in (2, 3) or not all(fields) or fields[2:] not in ((), (AREA,)):
            problems.append(f"place line {line!r} is not name TAB state [TAB area]")
        places.append(fields)
    match = re.fullmatch(rb"exchanges (\d+)", lines[1 + count] if len(lines) > 1 + count else b"")
    if not match:
        return {}, problems + ["no 'exchanges M' line after the places"]
    total = int(match.group(1))
    start = len(HEADER) + sum(len(line) + 1 for line in lines[:2 + count])
    if len(data) != start + RECORD_SIZE * total:
        problems.append(f"size {len(data)} is not {start} + 13 x {total}")
    result, previous = {}, b""
    for offset in range(start, min(len(data), start + RECORD_SIZE * total), RECORD_SIZE):
        record = RECORD.fullmatch(data[offset:offset + RECORD_SIZE])
        if not record:
            problems.append(f"record at byte {offset} is malformed")
            break
        exchange, number = record.group(1), int(record.group(2))
        if exchange <= previous:
            problems.append(f"record {exchange.decode()} out of order or repeated")
        if not 1 <= number <= count:
            problems.append(f"record {exchange.decode()} names place {number} of {count}")
            continue
        previous = exchange
        result[exchange.decode()] = places[number - 1]
    return result, problems
