"""City name rules shared by the generator and the data check.

normalize_city_name() and accent_city_name() do what the lookup does to a
typed city before comparing it with the stored names (capitals, leading
abbreviations written out, small connecting words, fifteen accented names).
fold_accents() and match_key() give the accent-free, abbreviation-free form
used to join place names from different sources.
"""

import re
import unicodedata

LEADING_ABBREVIATIONS = [
    ("St ", "Saint "), ("St. ", "Saint "), ("St-", "Saint-"), ("St.-", "Saint-"),
    ("Ste ", "Sainte "), ("Ste. ", "Sainte "), ("Ste-", "Sainte-"), ("Ste.-", "Sainte-"),
    ("Ft ", "Fort "), ("Ft. ", "Fort "), ("Mt ", "Mount "), ("Mt. ", "Mount "),
    ("Pt ", "Point "), ("Pt. ", "Point "), ("N ", "North "), ("N. ", "North "),
    ("S ", "South "), ("S. ", "South "), ("W ", "West "), ("W. ", "West "),
    ("E ", "East "), ("E. ", "East "),
]

# (text searched, {position: letter}) applied once each, in this order.
WORD_FIXES = [
    (" Mcmurray", {3: "M"}), ("-De-La-", {1: "d", 4: "l"}), ("-D'", {1: "d"}),
    ("-Du-", {1: "d"}), (" La ", {1: "l"}), ("-On-The-", {1: "o", 4: "t"}),
    ("John'S", {5: "s"}), ("-Sur-", {1: "s"}), ("-De-", {1: "d"}),
    ("George'S", {7: "s"}), (" Of ", {1: "o"}),
]

ACCENTED_NAMES = [
    ("Montreal", {5: "\u00e9"}), ("Quebec", {2: "\u00e9"}), ("Agan", {3: "\u00f1"}),
    ("Becancour", {1: "\u00e9"}), ("Chateauguay", {2: "\u00e2"}), ("Gaspe", {4: "\u00e9"}),
    ("Grand-Mere", {7: "\u00e8"}), ("Jonquiere", {6: "\u00e8"}), ("Levis", {1: "\u00e9"}),
    ("Riviere-du-Loup", {4: "\u00e8"}), ("Saint-Jerome", {7: "\u00e9", 9: "\u00f4"}),
    ("Saint-Leonard", {7: "\u00e9"}), ("Sainte-Therese", {9: "\u00e9", 11: "\u00e8"}),
    ("Sept-Iles", {5: "\u00ce"}), ("Trois-Rivieres", {10: "\u00e8"}),
]


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


_SPELLING_WORDS = {"ft": "fort", "mt": "mount", "pt": "point", "st": "saint", "ste": "sainte"}


def plain_lowered(text):
    """Lower case without accents, as the lookup's PlainLowered gives it."""
    return cp1252_lower(fold_accents(text))


def spelling_key(name):
    """The lookup's SpellingKey: lower case without accents, points dropped
    (a point inside a word ends it), ft, mt, pt, st and ste written out
    wherever they stand. "Port St. Lucie" -> "port saint lucie"."""
    text = re.sub(r"\.(?=[^ \-])", " ", plain_lowered(name)).replace(".", "")
    return "".join(_SPELLING_WORDS.get(part, part) for part in re.split(r"([ \-])", text))
