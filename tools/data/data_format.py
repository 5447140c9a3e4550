"""Writing and reading the two shipped data files, cit.bin and arc.bin, in
the format that docs/data-format.md describes."""

from dataclasses import dataclass

ENCODING = "cp1252"
COUNTRY_USA, COUNTRY_CANADA, COUNTRY_NON_GEOGRAPHIC = "abc", "abo", "abe"
STATE_NON_GEOGRAPHIC = "abc"
COUNTRY_MARKER = "*"
NO_TIME_ZONE = 24.0


@dataclass
class CityRecord:
    city_id: int
    name: str
    state: str  # two-letter code, a country name, or STATE_NON_GEOGRAPHIC
    country: str  # COUNTRY_* code or a country name
    population: int
    daylight: int
    time_zone: float


def shift(data, step):
    return bytes((b + step) % 256 for b in data)


def format_time_zone(hours):
    return f"{hours:g}" if hours != int(hours) else str(int(hours))


def _text_line(text):
    data = shift(text.encode(ENCODING), +1)
    if not data:
        raise ValueError("empty text field")
    return data


def encode_city(rec):
    if len(rec.name) < 1:
        raise ValueError(f"city {rec.city_id} has no name")
    stored_name = rec.name[2:] + rec.name[:2] if len(rec.name) > 1 else rec.name
    state = rec.state
    if len(state) == 2 and state.isalpha() and state.isupper():
        state = "2" + state[1] + state[0]
    if rec.country in (COUNTRY_USA, COUNTRY_CANADA, COUNTRY_NON_GEOGRAPHIC):
        country = rec.country
    else:
        country = COUNTRY_MARKER + rec.country + COUNTRY_MARKER
    lines = [
        str(7 * rec.city_id - 1).encode(),
        _text_line(stored_name),
        _text_line(state),
        _text_line(country),
        str(rec.population + rec.city_id).encode(),
        str(rec.daylight).encode(),
        b"0",
        format_time_zone(rec.time_zone).encode(),
    ]
    return b"".join(line + b"\r\n" for line in lines)


def encode_link(city_id, area_code):
    return f"{11 * city_id - 1}\r\n{3 * area_code + city_id}\r\n".encode()


def _lines(data):
    lines = data.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    return [line[:-1] if line.endswith(b"\r") else line for line in lines]


def decode_cities(data):
    """Decode cit.bin the way the application's loader does; returns
    (records, problems) where problems lists anything the loader would
    stumble over."""
    lines, records, problems = _lines(data), [], []
    if len(lines) % 8:
        problems.append(f"{len(lines)} lines is not a multiple of 8")
    for start in range(0, len(lines) - 7, 8):
        chunk = lines[start:start + 8]
        if any(not line for line in chunk):
            problems.append(f"empty line in record at line {start + 1}")
            break
        city_id = (int(chunk[0]) + 1) // 7
        name = shift(chunk[1], -1).decode(ENCODING)
        if len(name) > 1:
            name = name[-2:] + name[:-2]
        state = shift(chunk[2], -1).decode(ENCODING)
        if len(state) == 3 and state[0] == "2":
            state = state[2] + state[1]
        country = shift(chunk[3], -1).decode(ENCODING)
        if country not in (COUNTRY_USA, COUNTRY_CANADA, COUNTRY_NON_GEOGRAPHIC):
            country = country[1:-1]
        records.append(CityRecord(
            city_id, name, state, country, int(chunk[4]) - city_id,
            int(chunk[5]) & 0xFF, float(chunk[7])))
    return records, problems


def decode_links(data):
    lines, links = _lines(data), []
    for start in range(0, len(lines) - 1, 2):
        city_id = (int(lines[start]) + 1) // 11
        links.append((city_id, (int(lines[start + 1]) - city_id) // 3))
    return links
