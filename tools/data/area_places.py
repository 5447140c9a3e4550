"""The place each exchange area of the Canadian numbering administrator's list
names (sources/ca_co_codes_*.csv), so that every Canadian exchange answers a
shipped place with its zone.

An area is, in this order:

1. the place (or municipality, or community) exchange_areas.tsv or
   renamed.tsv names for it, as the table says; else a shipped place of its
   name that shares a code with it: the name itself, without its note or its
   first part ("Baie-Comeau (Hauterive)", "St. Catharines-Thorold");
2. a municipality of its name (any size; written without blanks or a
   leading article, "Actonvale" Acton Vale, "Ile-Perrot" L'Île-Perrot, or
   without the county the list adds, "Ste-Julie-de-Vercheres" Sainte-Julie,
   or as the beginning or a part of a merged name, "St-Bruno" Saint-Bruno-
   de-Montarville, "Treherne" Norfolk-Treherne) that shares a code with the
   area, or ships with the area's codes when it
   did not ship yet; a municipality whose name another of its province
   bears is not taken by its name;
3. the municipality that holds a community of its name, by Statistics
   Canada's index of place names (sources/ca_place_names_2011.csv: Gormley
   in Richmond Hill's subdivision), when exactly one such municipality
   shares a code with the area, or exactly one is named and it did not ship
   yet;
4. else a community of its own (kind community, no figure), spelt as the
   index spells it where it lists the name, with the area's codes, the
   GeoNames point of its name when exactly one lies near places with those
   codes, and the zone of that point, else of the census division the index
   puts it in, else of its codes' places.
"""

import csv
import io
import re
from collections import defaultdict

import canadian_exchanges
import nanp_sources as nanp
import npa_report
import residents
import statcan
from city_names import match_key, normalize_city_name
from npa_report import SOURCES, SourceError, verified_text
from place_join import cp1252_safe, written_style

INDEX = SOURCES / "ca_place_names_2011.csv"


def place_index():
    """{(province, spaceless key): [(2011 subdivision code, name as written)]}."""
    found = defaultdict(list)
    reader = csv.reader(io.StringIO(verified_text(INDEX)))
    if next(reader, None) != ["csd", "name"]:
        raise SourceError(INDEX, 1, "the columns are not csd,name")
    for line, row in enumerate(reader, 2):
        if len(row) != 2 or not re.fullmatch(r"\d{7}", row[0]) or row[0][:2] not in \
                statcan.PROVINCES or not row[1]:
            raise SourceError(INDEX, line, f"not a subdivision code and a name: {row}")
        found[(statcan.PROVINCES[row[0][:2]], _key(row[1]))].append((row[0], row[1]))
    return found


def _key(name):
    return match_key(name).replace(" ", "")


def _variants(name):
    """The area's name, without its note, and without the county the list
    adds to a name ("Ste-Julie-de-Vercheres" -> "Ste-Julie")."""
    bare = re.sub(r" \(.*\)$", "", name)
    found = [name, bare]
    shorter = re.sub(r"-de-[A-Z][a-z]+$", "", bare)
    if shorter != bare:
        found.append(shorter)
    return list(dict.fromkeys(found))


def written_name(name):
    """An area name as the data writes names: "St-Fereol" -> "Saint-Fereol"."""
    bare = re.sub(r" \(.*\)$", "", name)
    return written_style(normalize_city_name(nanp.write_out_words(cp1252_safe(bare))))


class AreaPlaces:
    """Resolves the exchange areas; new places are added to `places`."""

    def __init__(self, places, units, geo, make_place, name_of):
        self.places, self.geo = places, geo
        self.make_place, self.name_of = make_place, name_of
        self.by_key = {}
        for place in places.values():
            self.by_key.setdefault((place.state, place.id_key), place)
            self.by_key[(place.state, place.key)] = place
        self.named = {(p, match_key(a)): n for p, a, n in nanp.read_table("exchange_areas.tsv", 3)}
        self.named.update({(s, match_key(o)): n for s, o, n in nanp.read_table("renamed.tsv", 3)})
        self.municipalities, self.by_code = defaultdict(list), {}
        for unit in units:
            if unit.country == "Canada" and unit.kind == "municipality":
                self.by_code[unit.code] = unit
                for text in {unit.name, *residents.article_variants(unit.name),
                             *residents.name_variants(unit.name)[1:2]}:
                    self.municipalities[(unit.state, _key(text))].append(unit)
        self.place_of_unit = {id(p.unit): p for p in places.values() if p.unit is not None}
        self.division_codes, self.division_places = defaultdict(set), defaultdict(list)
        for place in places.values():
            if place.unit is not None and place.unit.country == "Canada" and len(place.unit.code) == 7:
                self.division_codes[place.unit.code[:4]] |= place.codes
                self.division_places[place.unit.code[:4]].append(place)
        # Municipalities by each shorter name theirs begins with and a hyphen:
        # "saint bruno" -> Saint-Bruno-de-Montarville.
        self.longer = defaultdict(list)
        for unit in units:
            if unit.country == "Canada" and unit.kind == "municipality":
                parts = unit.name.split("-")
                for n in range(1, len(parts)):
                    self.longer[(unit.state, match_key("-".join(parts[:n])))].append(unit)
        # Municipalities by each part of a name merged from several
        # ("Norfolk-Treherne", "Saint-Gabriel-de-Valcartier", "Alfred and
        # Plantagenet"): the parts are former municipalities' names.
        self.parts = defaultdict(list)
        for unit in units:
            if unit.country == "Canada" and unit.kind == "municipality":
                for part in residents.name_variants(unit.name)[2:]:
                    if len(part) > 3 and _key(part) != _key(unit.name):
                        self.parts[(unit.state, _key(part))].append(unit)
        self.index = place_index()
        self.counts, self.untold = defaultdict(int), []

    def shipped(self, name, province, codes):
        """Rule 1: a place of the name that shares a code with the area (a
        namesake across the province does not: Saint-Alexandre in 819 is not
        the St-Alexandre exchange of 418)."""
        target = self.named.get((province, match_key(name)))
        if target:  # exchange_areas.tsv and renamed.tsv are taken as they are
            if (province, match_key(target)) in self.by_key:
                return self.by_key[(province, match_key(target))]
            found = self.municipalities.get((province, _key(target)), [])
            return self._unit_place(found[0], codes) if len(found) == 1 else None
        bare = re.sub(r" \(.*\)$", "", name)
        for key in (match_key(name), match_key(bare), match_key(re.split(r"-| - ", bare)[0])):
            place = self.by_key.get((province, key))
            if place is not None and place.codes & codes:
                return place
        return None

    def _division_codes(self, unit):
        """The codes of the shipped municipalities of the unit's census division."""
        return self.division_codes.get(unit.code[:4], set())

    def _division_shares(self, unit, codes):
        """Whether another shipped municipality of the unit's census division
        has one of the codes (the Bluewater exchange of 705 is not the
        municipality of Huron County, all of whose division is 519)."""
        return any(p.codes & codes for p in self.division_places.get(unit.code[:4], [])
                   if p.unit is not unit)

    def _fits(self, unit, codes):
        """Whether a municipality may be the area's: it shipped with one of
        the area's codes, or it did not ship and its division has one."""
        place = self.place_of_unit.get(id(unit))
        return bool((place.codes if place is not None else self._division_codes(unit)) & codes)

    def _unit_place(self, unit, codes):
        """The place of a municipality, or a new place of it with the area's codes."""
        place = self.place_of_unit.get(id(unit))
        if place is not None:
            return place
        place = self.make_place(unit.state, unit.key)
        place.name = self.name_of(unit.name, place)
        residents.take(place, unit)
        place.codes = set(codes)
        unit.taken = True
        self.places[(place.state, place.key)] = self.place_of_unit[id(unit)] = place
        self.by_key[(place.state, place.key)] = place
        self.counts["municipalities shipped for their exchange area"] += 1
        return place

    def _one(self, units, codes):
        """The one municipality of units that fits the area, or None."""
        fitting = [u for u in dict.fromkeys(units) if self._fits(u, codes)]
        if len({u.code[:4] for u in fitting}) == 1:
            # a village and the parish around it (Saint-Célestin): the more
            # populous serves for both
            return self._unit_place(max(fitting, key=lambda u: (u.population, u.code)), codes)
        return None

    def municipality(self, name, province, codes):
        """Rule 2, and a municipality whose name begins with the area's and
        a hyphen ("St-Bruno" Saint-Bruno-de-Montarville) where one fits."""
        for variant in _variants(name):
            key = _key(variant)
            found = self.municipalities.get((province, key), [])
            place = self._one(found, codes)
            if place is not None:
                return place
            if len({u.code for u in found}) == 1 and not self._fits(found[0], codes) \
                    and not self.longer.get((province, match_key(variant))) \
                    and self._division_shares(found[0], codes):
                # The one municipality of the name, known to the administrator
                # by other codes than the rule by distance gave it: Kuujjuaq
                # is 819, Sainte-Brigitte-de-Laval 418.
                place = self.place_of_unit.get(id(found[0]))
                if place is not None and not place.prefixes:
                    print(f"codes of {place.name}, {province} taken from its exchange area: "
                          f"{sorted(place.codes)} -> {sorted(codes)}")
                    place.codes = set(codes)
                    return place
            place = self._one(self.longer.get((province, match_key(variant)), []), codes)
            if place is not None:
                return place
        for variant in _variants(name):
            place = self._one(self.parts.get((province, _key(variant)), []), codes)
            if place is not None:
                return place
        return None

    def holder(self, name, province, codes):
        """Rule 3."""
        for variant in _variants(name):
            place = self._one([self.by_code[c] for c, _ in self.index.get((province, _key(variant)), [])
                               if c in self.by_code], codes)
            if place is not None:
                return place
        return None

    def community(self, name, province, codes, exchanges, anchors, division_zones):
        """Rule 4 (by the name exchange_areas.tsv gives, where it gives one)."""
        name = self.named.get((province, match_key(name)), name)
        listed = [entry for v in _variants(name) for entry in self.index.get((province, _key(v)), [])]
        spelling = cp1252_safe(listed[0][1]) if listed else written_name(name)
        key = match_key(spelling)
        place = self.by_key.get((province, key))
        if place is not None and place.uncounted:  # "Sackville", "Sackville (NS)"
            place.codes |= codes
            return place
        if place is not None:
            self.untold.append(f"{name}, {province} {sorted(codes)} (the place {place.name} "
                               f"has {sorted(place.codes)})")
            return place
        place = self.make_place(province, key)
        place.name, place.codes, place.uncounted = spelling, set(codes), True
        key_found = (province, match_key(spelling))
        points = {(g.lat, g.lon) for g in self.geo.populated.get(key_found, []) + self.geo.located.get(key_found, [])}
        near = anchors.get(province)
        if len(points) == 1 and near and residents.predict(next(iter(points)), near) & codes:
            place.coords = next(iter(points))
        else:
            zones = {division_zones.get(c[:4]) for c, _ in listed}
            place.zone = nanp.exchange_zone(exchanges) or (
                zones.pop() if len(zones) == 1 and None not in zones else None)
        self.places[(province, key)] = self.by_key[(province, key)] = place
        self.counts[f"communities shipped for their exchange area ({'with' if place.coords else 'no'} point)"] += 1
        return place


def resolve(places, units, geo, make_place, name_of, in_service):
    """{(exchange area, province): place} for every area of the list, adding
    the places rules 2 to 4 ship; an area's codes are those in service."""
    resolver = AreaPlaces(places, units, geo, make_place, name_of)
    areas, exchanges = defaultdict(set), defaultdict(list)
    for exchange, (area, province) in sorted(canadian_exchanges.in_service().items()):
        areas[(area, province)].add(int(exchange[:3]))
        exchanges[(area, province)].append(exchange)
    complexes = npa_report.complex_members({c: n for c, n in in_service.items() if n.use == "G"})
    areas = {key: npa_report.whole_complexes({c for c in codes if c in in_service}, complexes)
             & set(in_service) or codes for key, codes in areas.items()}
    anchors, division_zones, votes = defaultdict(list), {}, defaultdict(set)
    for place in places.values():
        if place.state in nanp.CANADIAN_CODES:
            if place.codes and place.coords:
                anchors[place.state].append((place.coords, place.codes))
            if place.unit is not None and place.unit.kind == "municipality" and place.zone:
                votes[place.unit.code[:4]].add(place.zone)
    division_zones = {d: next(iter(z)) for d, z in votes.items() if len(z) == 1}
    resolved = {}
    for (area, province), codes in sorted(areas.items()):
        place = resolver.shipped(area, province, codes)
        if place is not None:
            resolver.counts["areas of a shipped place"] += 1
        else:
            place = (resolver.municipality(area, province, codes)
                     or resolver.holder(area, province, codes)
                     or resolver.community(area, province, codes, exchanges[(area, province)],
                                           anchors, division_zones))
        # A place answers the codes of every exchange that names it (Caledon
        # is 905 at Caledon East as well as 519).
        place.codes |= codes
        resolved[(area, province)] = place
    print("Canadian exchange areas: " + ", ".join(f"{what} {n}" for what, n in sorted(resolver.counts.items())))
    if resolver.untold:
        raise SystemExit("exchange areas named like a place of other codes, to be placed in "
                         f"exchange_areas.tsv: {resolver.untold}")
    return resolved
