// Reads a JSON array of [latitude, longitude] pairs on stdin and writes a
// JSON array of IANA zone names (or null) on stdout, one per pair, using the
// time zone boundaries shipped with the npm package geo-tz.
'use strict';

const { find } = require('geo-tz');

let input = '';
process.stdin.setEncoding('utf8');
process.stdin.on('data', (chunk) => { input += chunk; });
process.stdin.on('end', () => {
  const zones = JSON.parse(input).map(([lat, lon]) => {
    const found = find(lat, lon);
    return found.length > 0 ? found[0] : null;
  });
  process.stdout.write(JSON.stringify(zones));
});
