#!/usr/bin/env node
// Writes Kalendo's named-dates table, data/DateScan.DAT, from the date-holidays library: public
// holidays and well-known observances of each section's country for the years 1990 to 2100, with
// English names. Nothing here knows a holiday; every date and name comes from the library.
//
//   npm ci && node make-datescan.mjs [OUTPUT]      (OUTPUT defaults to ../../data/DateScan.DAT)

import Holidays from 'date-holidays';

import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const libraryVersion = JSON.parse(readFileSync(join(here, 'node_modules/date-holidays/package.json'), 'utf8')).version;

const FIRST_YEAR = 1990;
const LAST_YEAR = 2100;

// Section headers are the English country names the program looks for: Qt's territory names,
// except Australia, which the program reads from the traditional "Austrailia" section.
const SECTIONS = [
  ['United Kingdom', 'GB'],
  ['Ireland', 'IE'],
  ['United States', 'US'],
  ['Canada', 'CA'],
  ['Austrailia', 'AU'],
  ['New Zealand', 'NZ'],
  ['South Africa', 'ZA'],
  ['India', 'IN'],
  ['Germany', 'DE'],
  ['France', 'FR'],
  ['Netherlands', 'NL'],
  ['Sweden', 'SE'],
  ['Japan', 'JP'],
];

// The library's types, in the order rows of one year are written. The decoder takes the first
// row whose name starts with the typed words, so the main public holidays come first ("christmas"
// finds Christmas Day, not the bank holiday Christmas Eve), then bank holidays, then substitute
// days (typing a holiday's whole name finds the holiday itself), then observances. Optional days
// (kept by some groups only) and school holidays are left out.
const TIER_OF_TYPE = { public: 0, bank: 1, observance: 3 };
const SUBSTITUTE_TIER = 2;
const SUBSTITUTE_SUFFIX = ' (substitute day)';
// Written after the date, where the program's reader ignores it: the holiday engine reads it to
// tell a named day that is no day off (Mother's Day) from a holiday.
const OBSERVANCE_MARK = ' observance';

// A name as the file format and the decoder can carry it: straight apostrophes (the program drops
// "'s" from names), no commas (a row is read from its first comma), no full stops or slashes (the
// decoder reads them as separators, so "St. Patrick's Day" could never be typed), one line,
// single spaces.
function fileName(name) {
  const cleaned = name
    .replace(/[\u2018\u2019]/g, "'")
    .replace(/\./g, '')
    .replace(/[,/]/g, ' ')
    .replace(/\s+/g, ' ')
    .trim();
  if (cleaned === '' || cleaned.startsWith('[')) throw new Error(`unusable holiday name '${name}'`);
  if (/[^\x20-\x7e]/.test(cleaned)) throw new Error(`holiday name '${name}' is not plain ASCII`);
  return cleaned;
}

// One year of one country as rows of the file, in tier order and by date within a tier.
function yearRows(holidays, year) {
  const rows = [];
  const seen = new Set();
  const rules = new Set();
  for (const holiday of holidays.getHolidays(year, 'en')) {
    let tier = TIER_OF_TYPE[holiday.type];
    if (tier === undefined) continue;
    let name = fileName(holiday.name);
    // The library marks most substitute days; a rule of the form "X and if saturday then next
    // monday" instead yields a second day of the same name and rule, which is the substitute.
    const ruleKey = `${holiday.name}\u0000${holiday.rule}`;
    const substitute = holiday.substitute === true || (rules.has(ruleKey) && / and if /.test(holiday.rule));
    rules.add(ruleKey);
    if (substitute && tier < SUBSTITUTE_TIER) {
      tier = SUBSTITUTE_TIER;
      if (!name.endsWith(SUBSTITUTE_SUFFIX)) name += SUBSTITUTE_SUFFIX;
    }
    const date = holiday.date.slice(0, 10).replace(/-/g, '/');
    if (!date.startsWith(`${year}/`)) throw new Error(`${name} of ${year} falls on ${date}`);
    const key = `${name}\u0000${date}`;
    if (seen.has(key)) continue;
    seen.add(key);
    rows.push({ tier, date, text: `${name}, ${date}${tier === TIER_OF_TYPE.observance ? OBSERVANCE_MARK : ''}` });
  }
  rows.sort((a, b) => a.tier - b.tier || a.date.localeCompare(b.date));
  return rows.map((row) => row.text);
}

function sectionLines(section, country) {
  // National days only: no state or region is chosen.
  const holidays = new Holidays(country, { languages: ['en'] });
  const lines = [`[${section}]`];
  for (let year = FIRST_YEAR; year <= LAST_YEAR; ++year) {
    const rows = yearRows(holidays, year);
    if (rows.length === 0) throw new Error(`${section} has no holidays in ${year}`);
    lines.push(...rows);
  }
  return lines;
}

const output = process.argv[2] ?? join(here, '../../data/DateScan.DAT');
const lines = [
  `; Kalendo's named dates: public holidays and well-known observances, ${FIRST_YEAR} to ${LAST_YEAR}.`,
  `; Made by scripts/make-datescan from date-holidays ${libraryVersion}: change the generator, not this file.`,
  '; A row is a name, a comma, a space and the date as YYYY/MM/DD; "observance" after the date marks',
  '; a named day that is no day off. Within a year, holidays come before observances.',
];
for (const [section, country] of SECTIONS) lines.push(...sectionLines(section, country));
writeFileSync(output, `${lines.join('\n')}\n`);
console.log(`${output}: ${SECTIONS.length} sections, ${lines.length} lines`);
