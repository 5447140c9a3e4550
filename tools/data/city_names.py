"""City name rules shared by the generator and the data check.

normalize_city_name() and accent_city_name() do what the lookup does to a
typed city before comparing it with the stored names (capitals, leading
abbreviations written out, small connecting words, fifteen accented names).
fold_accents() and match_key() give the accent-free, abbreviation-free form
used to join place names from different sources. The lookup's tables are
read from names/CityNames.cpp, never copied.
"""

import re
import unicodedata
from pathlib import Path

CITY_NAMES_SOURCE = Path(__file__).resolve().parents[2] / "names" / "CityNames.cpp"


def _cpp_text(literal):
    """A C++ literal's text: \\xHH escapes as code page 1252 letters."""
    return re.sub(r"\\x([0-9A-Fa-f]{2})", lambda m: bytes([int(m.group(1), 16)]).decode("cp1252"),
                  literal.replace('" "', ""))


def _table(name, row):
    """The rows of the C++ array `name` in names/CityNames.cpp, each matched
    by the pattern row; a line of the array that does not match stops the
    generator naming the file and line, so the lookup's tables are read, not
    copied."""
    lines = CITY_NAMES_SOURCE.read_text(encoding="utf-8").splitlines()
    start = next((i for i, line in enumerate(lines) if f" {name}[] = {{" in line), None)
    if start is None:
        raise SystemExit(f"{CITY_NAMES_SOURCE.name}: no table {name}")
    rows = []
    for number in range(start + 1, len(lines)):
        text = lines[number].strip()
        if text.startswith("};"):
            return rows
        found = list(re.finditer(row, text))
        if text and not found and not text.startswith("//"):
            raise SystemExit(f"{CITY_NAMES_SOURCE.name}, line {number + 1}: not a row of {name}")
        rows += [m.groups() for m in found]
    raise SystemExit(f"{CITY_NAMES_SOURCE.name}: table {name} does not end")


def _letters(text):
    return {int(p): _cpp_text(l) for p, l in re.findall(r"\{(\d+), '((?:\\x[0-9A-Fa-f]{2}|[^'\\]))'\}", text)}


LEADING_ABBREVIATIONS = _table("kLeadingAbbreviations", r'\{"([^"]*)", "([^"]*)"\}')
_FIX_ROW = r'\{"((?:[^"\\]|\\.)*)", \{((?:\{\d+, \'(?:\\x[0-9A-Fa-f]{2}|[^\'\\])\'\}(?:, )?)+)\}, \d\}'
# (text searched, {position: letter}) applied once each, in this order.
WORD_FIXES = [(_cpp_text(t), _letters(l)) for t, l in _table("kWordFixes", _FIX_ROW)]
ACCENTED_NAMES = [(_cpp_text(t), _letters(l)) for t, l in _table("kAccentedNames", _FIX_ROW)]


def _cp1252_case(ch, upper):
    """Case mapping of one character as code page 1252 does it."""
    mapped = ch.upper() if upper else ch.lower()
    if len(mapped) != 1:
        return ch
    try:
        mapped.encode("cp1252")
    except UnicodeEncodeError:
        return ch
    return mapped


def _set_letters(text, start, letters):
    chars = list(text)
    for offset, letter in letters.items():
        if start + offset < len(chars):
            chars[start + offset] = letter
    return "".join(chars)


def cp1252_lower(text):
    """Lower case as the code page 1252 case table gives it."""
    return "".join(_cp1252_case(ch, upper=False) for ch in text)


def normalize_city_name(text):
    text = cp1252_lower(text)
    out, previous = [], " "
    for ch in text:
        if previous in " -'":
            ch = _cp1252_case(ch, upper=True)
        out.append(ch)
        previous = ch
    text = "".join(out)
    for prefix, replacement in LEADING_ABBREVIATIONS:
        if text.startswith(prefix):
            text = replacement + text[len(prefix):]
            break
    for searched, letters in WORD_FIXES:
        found = text.find(searched)
        if found >= 1:
            text = _set_letters(text, found, letters)
    return text


def accent_city_name(text):
    for prefix, letters in ACCENTED_NAMES:
        if text.startswith(prefix):
            return _set_letters(text, 0, letters)
    return text


_LIGATURES = str.maketrans({"\u0153": "oe", "\u0152": "Oe", "\u00e6": "ae", "\u00c6": "Ae"})


def fold_accents(text):
    """Plain ASCII letters for accented ones: "Montréal" -> "Montreal",
    "Contrecœur" -> "Contrecoeur"."""
    decomposed = unicodedata.normalize("NFKD", text.translate(_LIGATURES))
    return "".join(ch for ch in decomposed if not unicodedata.combining(ch))


_KEY_WORDS = {"st": "saint", "ste": "sainte", "mt": "mount", "ft": "fort"}


def match_key(name):
    """Join key: lower case, no accents, no punctuation, St/Ste/Mt/Ft written
    out. "St-Jérôme" and "Saint Jerome" give the same key."""
    text = fold_accents(name).lower().replace("\u2019", "'")
    text = re.sub(r"['.]", "", text)
    words = re.split(r"[\s\-/]+", text)
    return " ".join(_KEY_WORDS.get(w, w) for w in words if w)


_SPELLING_WORDS = dict(_table("kKeyWords", r'\{"([^"]*)", "([^"]*)"\}'))


def plain_lowered(text):
    """Lower case without accents, as the lookup's PlainLowered gives it."""
    return cp1252_lower(fold_accents(text))


def written_out(name, fold):
    """The lookup's WrittenOut: lower case without accents, points dropped
    (a point inside a word ends it), ft, mt, pt, st, ste and twp written out
    wherever they stand; with fold, apostrophes (' and ’) dropped and
    hyphens read as blanks."""
    text = re.sub(r"\.(?=[^ \-])", " ", plain_lowered(name)).replace(".", "")
    if fold:
        text = re.sub("['’]", "", text).replace("-", " ")
    return "".join(_SPELLING_WORDS.get(part, part) for part in re.split(r"([ \-])", text))


def spelling_key(name):
    """The lookup's SpellingKey: "Port St. Lucie" -> "port saint lucie",
    "O'Fallon" -> "ofallon", "Wilkes-Barre" -> "wilkes barre"."""
    return written_out(name, fold=True)
