"""The places people live: every US incorporated place, census-designated
place and functioning town or township, every Puerto Rico municipio, every
Canadian municipality and the population centres within merged ones, from
THRESHOLD people up; the numbering-plan places stay whatever their size.

Each census unit gets the key of its name as people use it; where two units
of one state share that name the first of (incorporated place, CDP, town or
township; then the more populous) keeps it and the others are keyed by their
census name ("lakewood township", "oyster bay town"), so both ship under the
name people use and the chooser tells them apart. A numbering-plan place
whose key (or join_aliases.tsv name, or renamed.tsv current name) is a
unit's becomes that unit: its figure, point and name.

Codes of a place without exchanges of its own (code_rule()): those of the
nearest numbering-plan places of its state, weighted by distance; of a
Canadian municipality without a point (division_rule()): those its census
division's municipalities agree on. A municipality under THRESHOLD people
with no other place near it ships too (_remote()).
"""

import hashlib
import re
from collections import defaultdict

import census
import statcan
from city_names import match_key
from gazetteer import distance_km
from nanp_sources import read_table

# Every place of at least this many people ships: the smallest size the
# census lists still call a town (ACS counts of a few hundred carry margins
# as large as the count), and the size up to which the census lists are
# checked. Smaller places ship when a telephone exchange is named after them.
THRESHOLD = 1000
# Codes of a place without its own exchanges: the code set with the most
# weight among the NEIGHBOURS nearest places of its state with exchanges
# within RADIUS_KM (the nearest one alone beyond it), each weighing
# 1 / (distance + NEAR_KM)^2. Chosen on the held-out places: a whole set
# keeps an overlay complex together and scored best (95.2% exact); adding
# the codes of weaker neighbours shares a code more often (99%) but gives a
# wrong set to one place in six.
NEIGHBOURS, RADIUS_KM, NEAR_KM = 6, 40, 2.0
# The states where the town or township is the municipality people live in
# and name (the census's twelve states of strong minor civil divisions).
# Elsewhere a township is a rural government beside its cities and villages
# ("Wheeling township", IL, of 154,000 people around the village of 48,000;
# "Washington township" forty times in Ohio): it ships only where an
# exchange is named after it.
TOWN_STATES = {"CT", "ME", "MA", "MI", "MN", "NH", "NJ", "NY", "PA", "RI", "VT", "WI"}
# A Canadian unit's GeoNames point this far from its place's is a namesake's.
FAR_KM = 30
# A Canadian municipality's point farther than this from the rest of its
# census division, and this many times nearer another division's, is another
# place's of its name.
DIVISION_KM, IMPLAUSIBLE = 100, 5
# Of municipalities sharing a name in a province, the GeoNames point of the
# name goes to the one whose census division's others lie nearest, when they
# lie this near it (the villages of the Lower North Shore lie far apart) and
# at most half as far as any other namesake's division.
NAMESAKE_KM = 400
# A place under THRESHOLD people ships when no other place lies this near.
REMOTE_KM = 50
# A Cree village municipality counts a handful of people or none: those of
# the village live on the reserved lands beside it, counted by the population
# centre of its name (Mistissini: 10 and 3,190). A municipality of no more
# than NOBODY people leaves its name to such a centre.
NOBODY = 10
HOLD_OUT = 10  # one place in HOLD_OUT with its own exchanges is held out to test the rule


class Unit:
    def __init__(self, kind, state, name, full_name, population, coords, country, code):
        self.kind, self.state, self.name, self.full_name = kind, state, name, full_name
        self.code = code  # the census's code of the unit
        self.population, self.coords, self.country = population, coords, country
        self.rank = census.RANKS.get(kind, 1 if kind == "community" else 0)
        self.key = None
        self.namesake = False  # another municipality of its province has its name
        self.together = 0  # people of the population centre of several communities it is one of


def _canadian_units(geo, left_out):
    units, names = [], set()
    found, skipped = statcan.municipalities()
    for reason, rows in skipped.items():
        left_out[reason] += rows
    for province, name, population, kind, code in found:
        units.append(Unit("municipality", province, name, f"{name} {kind}", population,
                          _point(geo, province, name), "Canada", code))
        if population > NOBODY:
            names.add((province, match_key(name)))
    _drop_far_points(units)
    _place_namesakes(units)
    for centre, province, second, parts, population, named in statcan.population_centres():
        # A part named like a municipality of either province of the centre
        # is counted there ("Ottawa - Gatineau" lies in Ontario and Quebec).
        parts = [p for p in parts if (province, match_key(p)) not in names
                 and (second, match_key(p)) not in names]
        for part in parts:
            # A centre named for several communities ("Chicoutimi - Jonquière",
            # "Angus - Borden CFB-BFC") counts them together: its figure is
            # none of theirs, and Statistics Canada gives no count of each,
            # so they ship without one (a figure GeoNames gives them is a
            # former municipality's or the larger one's: Sydney's is Cape
            # Breton's).
            unit = Unit("community", province, part, f"{part} community",
                        population if named == 1 else 0, _point(geo, province, part), "Canada",
                        centre)
            unit.together = population if named > 1 else 0
            units.append(unit)
            names.add((province, match_key(part)))
        if named > 1:
            left_out["a population centre of several communities: its figure left out"].append(
                f"{' - '.join(parts)}, {province} {population}")
    return units


def _drop_far_points(units):
    """A municipality's GeoNames point is taken by its name alone: one lying
    more than DIVISION_KM from every other municipality of its census
    division, and IMPLAUSIBLE times nearer another division's, is another
    place of that name (Saint-Alexandre of Le Haut-Richelieu is not the
    Saint-Alexandre near Gatineau), and the municipality goes without."""
    located = [u for u in units if u.coords and len(u.code) == 7]
    divisions, cells = defaultdict(list), defaultdict(list)
    for unit in located:
        divisions[unit.code[:4]].append(unit)
        cells[(int(unit.coords[0] // 1), int(unit.coords[1] // 1))].append(unit)
    dropped = []
    for unit in located:
        own = min((distance_km(unit.coords, u.coords) for u in divisions[unit.code[:4]] if u is not unit),
                  default=0.0)
        if own <= DIVISION_KM:
            continue
        lat, lon = int(unit.coords[0] // 1), int(unit.coords[1] // 1)
        other = min((distance_km(unit.coords, u.coords) for a in (-1, 0, 1) for b in (-1, 0, 1)
                     for u in cells[(lat + a, lon + b)] if u.code[:4] != unit.code[:4]),
                    default=float("inf"))
        if IMPLAUSIBLE * other < own:
            dropped.append(unit)
    for unit in dropped:
        unit.coords = None
    print(f"Canadian municipalities whose GeoNames point lies in another census division, "
          f"left without: {len(dropped)} ({[u.name for u in dropped][:12]})")


def _place_namesakes(units):
    """Municipalities of one province sharing a name (L'Ange-Gardien of La
    Côte-de-Beaupré and of Les Collines-de-l'Outaouais) share the one
    GeoNames point of that name: it stays with the namesakes of the census
    division whose other municipalities lie nearest it (NAMESAKE_KM), and
    the others lose it (their codes then come from their division). Each is
    marked namesake: its name alone does not tell which exchange area is
    its own."""
    groups, spread = defaultdict(list), defaultdict(list)
    for unit in units:
        groups[(unit.state, match_key(unit.name))].append(unit)
    for found in groups.values():
        if len(found) == 1 and found[0].coords and len(found[0].code) == 7:
            spread[found[0].code[:4]].append(found[0].coords)
    for found in groups.values():
        if len(found) < 2:
            continue
        point = next((u.coords for u in found if u.coords), None)
        # A division of one municipality (Hamilton, a single-tier city) lies
        # where its municipality does.
        near = {id(u): min((distance_km(point, p) for p in spread.get(u.code[:4], [])),
                           default=0.0 if u.code[:4] not in spread else float("inf"))
                for u in found} if point else {}
        owner = min(found, key=lambda u: (near.get(id(u), float("inf")), u.code))
        nearest = near.get(id(owner), float("inf"))
        others = [near[id(u)] for u in found if u.code[:4] != owner.code[:4]] if point else []
        clear = nearest <= NAMESAKE_KM and all(2 * nearest <= d for d in others)
        for unit in found:
            unit.namesake = True
            unit.coords = point if clear and unit.code[:4] == owner.code[:4] else None


def name_variants(name):
    """A municipality's name, then without its kind words ("Athabasca
    County" -> Athabasca, "Corman Park No. 344" -> Corman Park), then its
    named parts, first first ("Guelph/Eramosa" -> Guelph, Eramosa;
    "Alfred and Plantagenet" -> Alfred, Plantagenet)."""
    short = re.sub(r" County$", "", re.sub(r"^(Municipal District|County) of |,? No\. \d+$", "", name))
    return [name, short, *re.split(r"/|-| and | et ", short)]


def article_variants(name):
    """The name without a leading article: "L'Île-Perrot" -> Île-Perrot."""
    short = re.sub(r"^(L'|L’|Le |La |Les )", "", name)
    return [short] if short != name else []


def _point(geo, state, name):
    """GeoNames point of the name or of its first variant GeoNames knows."""
    for text in name_variants(name):
        key = (state, match_key(text))
        found = geo.populated.get(key, []) + geo.located.get(key, [])
        if found:
            return (found[0].lat, found[0].lon)
    return None


def units(geo):
    """[Unit] of every census unit, each with its key, and {reason: [row]}
    of the source rows left out."""
    us, skipped = census.us_units()
    left_out = defaultdict(list, skipped)
    found = [Unit(u.kind, u.state, u.name, u.full_name, u.population, (u.lat, u.lon), "USA",
                  u.geoid) for u in us] + _canadian_units(geo, left_out)
    by_key = defaultdict(list)
    for unit in found:
        by_key[(unit.state, match_key(unit.name))].append(unit)
    taken = set()
    for (state, key), namesakes in sorted(by_key.items()):
        # A Canadian municipality of nobody comes after its namesakes.
        # A municipality with the point of its name is the one the name's
        # exchange is at (L'Ange-Gardien in 418), whatever its size.
        namesakes.sort(key=lambda u: (u.country == "Canada" and u.population <= NOBODY, u.rank,
                                      u.coords is None, -u.population, u.full_name))
        for i, unit in enumerate(namesakes):
            unit.key = key if i == 0 else match_key(unit.full_name)
            if (state, unit.key) in taken:  # "Washington township" 40 times in Ohio
                unit.key += f" {unit.code}"
            if (state, unit.key) in taken:
                raise SystemExit(f"two census units keyed {state} {unit.key}")
            taken.add((state, unit.key))
    return found, left_out


def merge(places, found, make_place, name_of):
    """Join the units with the numbering-plan places (dict keyed by (state,
    key)) and add the units of THRESHOLD people and more as new places."""
    aliases = {(s, match_key(g)): (s, match_key(n)) for s, n, g in read_table("join_aliases.tsv")}
    # A shortened label written out ("Truth Or Cnsqncs") is the unit of that name.
    aliases.update({(s, match_key(p.written_out)): (s, k) for (s, k), p in places.items()
                    if getattr(p, "written_out", None)})
    former = set()
    for state, old, new in read_table("renamed.tsv"):
        former.add((state, match_key(old)))
        place = places.pop((state, match_key(old)), None)
        if place:
            place.key = match_key(new)
            places[(state, place.key)] = place
    # A numbering-plan place named with the kind word ("Bath Township", MI)
    # is the unit of that census name ("Bath charter township").
    merged = added = 0
    free = lambda k: k in places and places[k].unit is None
    units = sorted((u for u in found if (u.state, u.key) not in former),  # former: a centre's old name
                   key=lambda u: (u.state, u.key))
    # First every unit whose own key is a numbering-plan place's, then the
    # others: a town or township by its census name ("Bath Township" is
    # "Bath charter township"), a unit by the join_aliases.tsv name of a
    # place (which keeps its own name), or a new place.
    # A place whose namesake of its key lies in another area code's part of
    # the state (place_join) becomes the census unit it was joined with: the
    # Woodbury CDP on Long Island (516), not the village of Woodbury in
    # Orange County (845).
    point = lambda u: (*u.coords, u.rank, u.population)  # a CDP and its town may share a point
    by_point = {(u.state, u.name, point(u)): u for u in units if u.country == "USA"}
    owners = {(u.state, u.key): u for u in units}
    for key, place in sorted(places.items()):
        chosen = getattr(place, "joined_with", None)
        unit = chosen and by_point.get((place.state, chosen.name, (chosen.lat, chosen.lon,
                                                                   chosen.rank, chosen.population)))
        owner = owners.get(key)
        doubtful = owner and owner.country == "USA" and point(owner) in getattr(place, "doubtful", ())
        if unit and doubtful and free(key) and not getattr(unit, "taken", False):
            place.name = name_of(unit.name, place)
            merged += 1
            take(place, unit)
            unit.taken = True
    for unit in units:
        key = (unit.state, unit.key)
        if free(key) and not getattr(unit, "taken", False):
            place = places[key]
            place.name = name_of(unit.name, place)
            merged += 1
            take(place, unit)
            unit.taken = True
    remote = _remote(units, places)
    for unit in units:
        if getattr(unit, "taken", False):
            continue
        key = (unit.state, unit.key)
        named = [k for t in (unit.full_name, unit.full_name.replace(" charter township", " township"))
                 for k in [(unit.state, match_key(t))]
                 if unit.kind == "town" and k != key and free(k)]
        if key not in places and named:
            place = places[named[0]]
            place.name = name_of(unit.name, place)
            merged += 1
        elif key not in places and free(aliases.get(key)):
            place = places[aliases[key]]  # keeps its own name
            merged += 1
        elif (max(unit.population, unit.together) >= THRESHOLD
              and (unit.kind != "town" or unit.state in TOWN_STATES) or id(unit) in remote):
            if key in places:  # a numbering-plan place has the key and a unit
                key = (key[0], f"{key[1]} {unit.code}")
            place = make_place(*key)
            places[key] = place
            place.name = name_of(unit.name, place)
            added += 1
        else:
            continue
        take(place, unit)
    print(f"census units joined with numbering-plan places: {merged}; added: {added}")


def _remote(units, places):
    """{id(unit)} of the incorporated places and municipalities under
    THRESHOLD people with no other place that ships within REMOTE_KM (Adak,
    Alaska): nothing else of the map answers for the people living there."""
    cells = defaultdict(list)
    for point in [p.coords for p in places.values() if p.coords] + [
            u.coords for u in units if u.coords and u.population >= THRESHOLD
            and (u.kind != "town" or u.state in TOWN_STATES)]:
        cells[(int(point[0] // 1), int(point[1] // 1))].append(point)
    found = set()
    for unit in units:
        if unit.kind not in ("incorporated place", "municipality") or not unit.coords \
                or unit.population >= THRESHOLD or getattr(unit, "taken", False):
            continue
        lat, lon = int(unit.coords[0] // 1), int(unit.coords[1] // 1)
        near = [q for a in range(lat - 1, lat + 2) for b in range(lon - 2, lon + 3)
                for q in cells.get((a, b), []) if distance_km(unit.coords, q) <= REMOTE_KM]
        if not near:
            found.add(id(unit))
    return found


def take(place, unit):
    """The place becomes the unit: its figure and its point. A Canadian
    unit's point is the first GeoNames place of its name: where it lies
    far from the namesake the place was joined at among its area codes'
    places (Saint-Raymond of Portneuf, not the Montreal neighbourhood), the
    place keeps its own."""
    place.unit, place.population, place.joined = unit, unit.population, True
    if unit.coords and not (unit.country != "USA" and place.coords
                            and distance_km(place.coords, unit.coords) > FAR_KM):
        place.coords = unit.coords


def held_out(place):
    digest = hashlib.sha256(f"{place.state}\t{place.id_key}".encode()).digest()  # stable across renames
    return digest[0] % HOLD_OUT == 0


def predict(point, anchors):
    """The codes the rule gives a place at point from anchors [(point, codes)]."""
    near = sorted((distance_km(point, p), sorted(codes)) for p, codes in anchors)
    within = [n for n in near[:NEIGHBOURS] if n[0] <= RADIUS_KM] or near[:1]
    weight = defaultdict(float)
    for distance, codes in within:
        weight[tuple(codes)] += 1 / (distance + NEAR_KM) ** 2
    return set(max(weight, key=lambda codes: (weight[codes], codes)))


def held_out_agreement(places):
    """The rule tried on the places with exchanges of their own held out
    (one in HOLD_OUT, by a hash of the key), predicted from the others:
    (exact code sets, sets sharing a code, places tried)."""
    anchors, trial = defaultdict(list), []
    for place in places:
        if place.codes and place.coords:
            (trial if held_out(place) else anchors[place.state]).append((place.coords, place.codes))
    exact = shared = tested = 0
    for place in places:
        if place.codes and place.coords and held_out(place) and len(anchors[place.state]) > 1:
            guess = predict(place.coords, anchors[place.state])
            tested += 1
            exact += guess == place.codes
            shared += bool(guess & place.codes)
    return exact, shared, tested


def code_rule(places, fixed_codes):
    """Give every place without exchanges of its own its codes; returns the
    places it could not place (no point). fixed_codes: {state: codes} of
    states whose codes serve every place."""
    anchors = defaultdict(list)
    for place in places:
        if place.codes and place.coords:
            anchors[place.state].append((place.coords, place.codes))
    unplaced = []
    for place in places:
        if place.codes:
            continue
        if place.state in fixed_codes:
            place.codes = set(fixed_codes[place.state])
        elif place.coords and anchors.get(place.state):
            place.codes = predict(place.coords, anchors[place.state])
        else:
            unplaced.append(place)
    return unplaced


# A Canadian municipality without a point (Georgina, Clarington, the rural
# municipalities) lies in a census division, the first four digits of its
# census code: it takes the code set and the zone of that division's shipped
# municipalities, weighted by their people, when the set holds at least
# DIVISION_SHARE of them and the zone all of them. Chosen on the
# municipalities that do have a point, predicted from their division alone:
# a division split between code sets or zones gives no guess.
DIVISION_SHARE = 0.8


def _division(place):
    unit = place.unit
    if unit is None or unit.kind != "municipality" or len(unit.code) != 7:
        return None
    return unit.code[:4]


def _division_guess(members):
    """(codes, zone) the people of members [(population, codes, zone)] agree
    on, or (None, reason)."""
    people = sum(p for p, _, _ in members)
    if not members or not people:
        return None, "no municipality of its census division has a point"
    sets, zones = defaultdict(int), defaultdict(int)
    for population, codes, zone in members:
        sets[frozenset(codes)] += population
        zones[zone] += population
    codes = max(sets, key=lambda c: (sets[c], sorted(c)))
    if len(zones) > 1 or None in zones:
        return None, "its census division is split between time zones"
    if sets[codes] < DIVISION_SHARE * people:
        return None, "its census division is split between code sets"
    return codes, next(iter(zones))


def division_rule(places, unplaced, complete):
    """Give each Canadian municipality of unplaced its division's codes and
    zone (places: those with codes, points and zones). Returns ({reason:
    [place]} of those left without, (exact, shared, same zone, tried) of
    the municipalities with a point predicted from their division alone).
    complete: codes -> the codes with their overlay complexes."""
    members = defaultdict(list)
    for place in places:
        division = _division(place)
        if division and place.codes and place.coords:
            members[division].append(place)
    exact = shared = same_zone = tried = 0
    for division, found in sorted(members.items()):
        for place in found:
            codes, zone = _division_guess([(p.population, p.codes, p.zone)
                                           for p in found if p is not place])
            if codes is not None:
                codes = complete(codes)
                tried += 1
                exact += codes == place.codes
                shared += bool(codes & place.codes)
                same_zone += zone == place.zone
    left = defaultdict(list)
    for place in unplaced:
        division = _division(place)
        codes, zone = _division_guess([(p.population, p.codes, p.zone)
                                       for p in members.get(division, [])])
        if codes is None:
            left[zone if division else "a population centre, in no census division"].append(place)
        else:
            place.codes, place.zone = complete(codes), zone
    return left, (exact, shared, same_zone, tried)
