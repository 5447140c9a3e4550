"""Joining the numbering-plan places with GeoNames, and their shipped names.

A place is joined with a census or GeoNames place of the same state and
match_key() (or the join_aliases.tsv name). When several share the name (a
"Shelby" township across the state from the village the area code serves),
one with a population comes first, then one not lying in another area
code's part of the state, then the better rank (census.py), then the one
nearest the other places of the same area codes; a namesake that lies far
in another area code's part of the state is not taken at all.
"""

import math
import re
from collections import defaultdict

from city_names import fold_accents, match_key, normalize_city_name
from gazetteer import distance_km
from nanp_sources import read_table

# A candidate farther than this from every other place of its area codes is
# doubtful; it is dropped when it lies IMPLAUSIBLE_FACTOR times nearer to
# places of the same state that other area codes serve (a namesake elsewhere
# in the state). Remote places (Alaska, the North) stay joined.
FAR_KM = 100
IMPLAUSIBLE_FACTOR = 5
# A candidate farther than NEAR_KM from the other places of its area codes
# and IMPLAUSIBLE_FACTOR times nearer to places of other codes lies in
# another code's part of the state: it comes after the others whatever its
# rank (the village of Woodbury in Orange County does not take the 516
# exchange of Woodbury on Long Island, nor the village of Clinton the 586
# exchange of Clinton Township).
NEAR_KM = 30


def cp1252_safe(name):
    """Letters code page 1252 lacks lose their accent ('Hāna' -> 'Hana')."""
    out = []
    for ch in name.replace("\u2019", "'"):
        try:
            ch.encode("cp1252")
            out.append(ch)
        except UnicodeEncodeError:
            out.append(fold_accents(ch).encode("cp1252", "ignore").decode("cp1252"))
    return "".join(out)


def restore_accents(name, source_name):
    """Give the words of name the accents they have in source_name
    ('Quebec City' with 'Québec' -> 'Québec City')."""
    accented = {}
    for word in source_name.replace("-", " ").split():
        if fold_accents(word) != word:
            accented[fold_accents(word).lower()] = word
    out, word = [], ""
    for ch in name + " ":
        if ch in " -":
            out.append(accented.get(word.lower(), word) + ch)
            word = ""
        else:
            word += ch
    return "".join(out)[:-1]


def source_capitals(name, source_name):
    """Each word of name in the capitals the same word has in source_name
    ('Fond Du Lac' with 'Fond du Lac', 'Mcallen' with 'McAllen'); the
    word's own accents are kept."""
    forms = {}
    for word in re.split(r"[ \-]", cp1252_safe(source_name)):
        forms.setdefault(fold_accents(word).lower(), word)

    def recapitalise(match):
        word = match.group()
        source = forms.get(fold_accents(word).lower(), "")
        if len(source) != len(word):
            return word
        return "".join((a if not a.isascii() else b).upper() if b.isupper()
                       else (a if not a.isascii() else b).lower() for a, b in zip(word, source))
    return re.sub(r"[^ \-]+", recapitalise, name)


PARTICLES = re.compile(r"(?<=[ \-])(De|Du|Des|Del|Of|Or|On|The|Sur|Aux|La|Le|Les|En)(?=-)"
                       r"|(?<= )(De|Du|Del|Of|Or)(?= )|(?<= )D(?=')")


def written_style(name):
    """Mechanical capitals as people write them: McKinney, Lee's Summit,
    Fond du Lac, Croton-on-Hudson, Coeur d'Alene."""
    name = re.sub(r"\bMc([a-z])", lambda m: "Mc" + m.group(1).upper(), name)
    name = re.sub(r"(?<=[A-Za-z]{2})'S\b", "'s", name)
    return PARTICLES.sub(lambda m: m.group().lower(), name)


def shipped_name(spelling, state, key, landmarks, source_name=None):
    """The map's own spelling for its cities, else the name with its leading
    abbreviation written out as the lookup does, in the capitals of the
    census or gazetteer place it was joined with."""
    name = normalize_city_name(cp1252_safe(spelling))
    if source_name:
        name = source_capitals(name, source_name)
    return landmarks.get((state, key)) or written_style(name)


def _nearest(point, anchors):
    return min((distance_km(point, a) for a in anchors), default=math.inf)


def join_places(places, geo):
    landmarks = {(s, match_key(c)): c for s, c in read_table("landmark_cities.tsv")}
    aliases = {(s, match_key(n)): g for s, n, g in read_table("join_aliases.tsv")}
    candidates = {}
    for place in places:
        spelling = max(place.spellings, key=lambda s: (place.spellings[s], s))
        found = geo.candidates(place.state, aliases.get((place.state, place.key), spelling))
        if (place.state, place.key) in aliases:  # the census may know the name itself
            found = [p for p in geo.candidates(place.state, spelling) if p.rank < 3] + found
        if not found and len(geo.expansions(place.state, spelling)) == 1:
            found = geo.expansions(place.state, spelling)
            print(f"shortened name {spelling}, {place.state} written out as {found[0].name}")
            spelling = place.written_out = found[0].name
        candidates[id(place)] = (spelling, found)
        place.coords = (found[0].lat, found[0].lon) if found else None

    points_of_code, points_of_state = defaultdict(list), defaultdict(list)
    for place in places:
        if place.coords:
            points_of_state[place.state].append((place.codes, place.coords))
            for code in place.codes:
                points_of_code[code].append((id(place), place.coords))

    for place in places:
        spelling, found = candidates[id(place)]
        own = [pt for code in place.codes for other, pt in points_of_code[code]
               if other != id(place)]
        usable, place.doubtful = [], set()
        for i, geo_place in enumerate(found):
            point = (geo_place.lat, geo_place.lon)
            distance = _nearest(point, own) if own else 0.0
            elsewhere = [pt for codes, pt in points_of_state[place.state]
                         if not codes & place.codes]
            doubtful = distance > NEAR_KM and IMPLAUSIBLE_FACTOR * _nearest(point, elsewhere) < distance
            if doubtful:
                place.doubtful.add((geo_place.lat, geo_place.lon, geo_place.rank, geo_place.population))
            if doubtful and distance > FAR_KM:
                continue
            # A namesake counted with nobody (the empty township of Rosebud,
            # SD) does not hide the populated place of a later rank.
            usable.append((geo_place.population <= 0, doubtful, geo_place.rank, distance, i))
        chosen = found[min(usable)[4]] if usable else None
        place.rejected = bool(found) and chosen is None
        place.joined = chosen is not None and chosen.population > 0
        place.population = chosen.population if chosen else 0
        place.coords = (chosen.lat, chosen.lon) if chosen else None
        place.joined_with = chosen
        if chosen:
            spelling = restore_accents(spelling, chosen.name)
        place.name = shipped_name(spelling, place.state, place.key, landmarks,
                                  chosen.name if chosen else None)
