#!/usr/bin/env node
// Writes Kalendo's holiday data from the date-holidays library and the reviewed rules.json beside
// this script, for the years 1990 to 2100:
//  - data/holidays/: places.txt, the index of every country and subdivision the library knows,
//    and one file per country (GB.txt) holding the country's days and each subdivision's
//    differences from them, so one place is read without reading the world;
//  - data/DateScan.DAT: the named-dates file of the countries the program has always read, in
//    the format a user's own file keeps.
// Nothing here knows a holiday: dates and names come from the library, decisions from rules.json.
//
//   npm ci && node make-datescan.mjs [DATA_FOLDER]      (DATA_FOLDER defaults to ../../data)

import Holidays from 'date-holidays';

import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const libraryVersion = JSON.parse(readFileSync(join(here, 'node_modules/date-holidays/package.json'), 'utf8')).version;
const rules = JSON.parse(readFileSync(join(here, 'rules.json'), 'utf8'));

const FIRST_YEAR = 1990;
const LAST_YEAR = 2100;
const SUBSTITUTE_SUFFIX = ' (substitute day)';

// The sections of DateScan.DAT: the English country names the program has always looked for.
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

// A place's rule applies to the place and everything under it: GB holds GB-ENG.
const appliesTo = (rulePlace, place) => place === rulePlace || place.startsWith(`${rulePlace}-`);

// A name as the files and the decoder can carry it: straight apostrophes (the program drops "'s"
// from names), no commas (a row is read from its first comma), no full stops, slashes or tabs
// (the decoder reads them as separators, so "St. Patrick's Day" could never be typed), one line,
// single spaces. Any other character, accented or not Latin at all, is kept as UTF-8.
function cleanName(name) {
  const cleaned = name
    .replace(/[\u2018\u2019\u02bc]/g, "'")
    .replace(/[\u0000-\u001f\u007f]/g, ' ')
    .replace(/\./g, '')
    .replace(/[,/]/g, ' ')
    .replace(/\s+/g, ' ')
    .trim();
  return cleaned === '' || cleaned.startsWith('[') || cleaned.startsWith(';') ? null : cleaned;
}

function renamed(place, name) {
  for (const rule of rules.rename) if (appliesTo(rule.place, place) && rule.from === name) return rule.to;
  return name;
}

function isDayOff(place, type, baseName, substitute) {
  let dayOff = rules.dayOffByType[type];
  for (const rule of rules.dayOff) {
    if (!appliesTo(rule.place, place)) continue;
    if (rule.type !== undefined && rule.type !== type) continue;
    if (rule.name !== undefined && rule.name !== baseName) continue;
    if (rule.substitute !== undefined && rule.substitute !== substitute) continue;
    dayOff = rule.dayOff;
  }
  return dayOff;
}

const firstRank = (name) => {
  const rank = rules.first.names.indexOf(name.replace(SUBSTITUTE_SUFFIX, ''));
  return rank < 0 ? rules.first.names.length : rank;
};

// One year of one place: {md: 'MMDD', name, dayOff, tier}, unordered. Tier 0 days off, 1 their
// substitutes (typing a holiday's whole name finds the holiday itself), 2 named days worked.
function yearDays(holidays, place, year) {
  const days = [];
  const seen = new Set();
  const ruleKeys = new Set();
  for (const holiday of holidays.getHolidays(year, 'en')) {
    if (rules.dayOffByType[holiday.type] === undefined) continue;
    const baseName = cleanName(holiday.name.replace(SUBSTITUTE_SUFFIX, ''));
    if (baseName === null) throw new Error(`${place} ${year}: unusable holiday name '${holiday.name}'`);
    // The library marks most substitute days; a rule of the form "X and if saturday then next
    // monday" instead yields a second day of the same name and rule, which is the substitute.
    const ruleKey = `${holiday.name}\u0000${holiday.rule}`;
    const substitute =
      holiday.substitute === true || holiday.name.endsWith(SUBSTITUTE_SUFFIX) || (ruleKeys.has(ruleKey) && / and if /.test(holiday.rule));
    ruleKeys.add(ruleKey);
    const dayOff = isDayOff(place, holiday.type, baseName, substitute);
    let name = renamed(place, baseName);
    if (substitute) name += SUBSTITUTE_SUFFIX;
    const date = holiday.date.slice(0, 10);
    if (!date.startsWith(`${year}-`)) throw new Error(`${place}: ${name} of ${year} falls on ${date}`);
    const md = date.slice(5, 7) + date.slice(8, 10);
    const key = `${name}\u0000${md}`;
    if (seen.has(key)) continue;
    seen.add(key);
    days.push({ md, name, dayOff, tier: !dayOff ? 2 : substitute ? 1 : 0 });
  }
  for (const rule of rules.add) {
    if (!appliesTo(rule.place, place)) continue;
    const md = rule.date.replace('-', '');
    if (!seen.has(`${rule.name}\u0000${md}`)) days.push({ md, name: rule.name, dayOff: true, tier: 0 });
  }
  return days;
}

// The order of a country's names, shared by all its places: a year's days are written, and read,
// in this order, date order within one name. The decoder takes the first that a typed name begins.
function nameOrder(allDays) {
  const byKey = new Map();
  for (const day of allDays) {
    const key = `${day.dayOff ? 'h' : 'o'}\t${day.name}`;
    const known = byKey.get(key);
    if (known === undefined || day.md < known.md) byKey.set(key, { key, name: day.name, tier: day.tier, md: day.md });
  }
  const entries = [...byKey.values()];
  entries.sort((a, b) => firstRank(a.name) - firstRank(b.name) || a.tier - b.tier || a.md.localeCompare(b.md) || a.name.localeCompare(b.name));
  return new Map(entries.map((entry, index) => [entry.key, index]));
}

const entryKey = (day) => `${day.dayOff ? 'h' : 'o'}\t${day.name}`;

function placeName(code, libraryName) {
  const names = rules.placeNames[code];
  const name = cleanName(names ? names[0] : libraryName);
  if (name === null) throw new Error(`${code}: unusable place name '${libraryName}'`);
  return name;
}

// Every place of one country: [{code, name, years: Map(year -> days)}], the country first.
function countryPlaces(code, libraryName) {
  const places = [{ code, name: placeName(code, libraryName), holidays: new Holidays(code, { languages: ['en'] }) }];
  const holidays = new Holidays();
  for (const [state, stateName] of Object.entries(holidays.getStates(code, 'en') ?? {})) {
    const stateCode = `${code}-${state}`;
    places.push({ code: stateCode, name: placeName(stateCode, stateName), holidays: new Holidays(code, state, { languages: ['en'] }) });
    for (const [region, regionName] of Object.entries(holidays.getRegions(code, state, 'en') ?? {})) {
      const regionCode = `${stateCode}-${region}`;
      places.push({ code: regionCode, name: placeName(regionCode, regionName), holidays: new Holidays(code, state, region, { languages: ['en'] }) });
    }
  }
  for (const place of places) {
    place.years = new Map();
    for (let year = FIRST_YEAR; year <= LAST_YEAR; ++year) place.years.set(year, yearDays(place.holidays, place.code, year));
  }
  return places;
}

function sortedDays(days, order) {
  return [...days].sort((a, b) => order.get(entryKey(a)) - order.get(entryKey(b)) || a.md.localeCompare(b.md));
}

// A country's file: its names, its own days year by year, then each subdivision's differences.
function countryFile(code, places) {
  const all = places.flatMap((place) => [...place.years.values()].flat());
  const order = nameOrder(all);
  const entries = [...order.keys()];
  const country = places[0];
  const lines = [
    `; Kalendo's holidays of ${country.name} (${code}), ${FIRST_YEAR} to ${LAST_YEAR}, and of its subdivisions.`,
    `; Made by scripts/make-datescan from date-holidays ${libraryVersion} and rules.json: change those, not this file.`,
    '; "name N h|o Name": name number N, h a day off, o a named day that is worked; lower numbers are found first.',
    '; "[CODE]" starts a place; "YYYY MMDD:N ..." lists a year; a subdivision lists only "+MMDD:N" added to',
    "; and \"-MMDD:N\" taken from the country's days of that year.",
  ];
  entries.forEach((key, index) => lines.push(`name ${index} ${key.replace('\t', ' ')}`));
  const token = (day) => `${day.md}:${order.get(entryKey(day))}`;
  lines.push(`[${code}]`);
  for (const [year, days] of country.years) lines.push(`${year} ${sortedDays(days, order).map(token).join(' ')}`);
  for (const place of places.slice(1)) {
    lines.push(`[${place.code}]`);
    for (const [year, days] of place.years) {
      const national = new Set(country.years.get(year).map(token));
      const own = new Set(days.map(token));
      const added = sortedDays(days, order).map(token).filter((t) => !national.has(t));
      const removed = sortedDays(country.years.get(year), order).map(token).filter((t) => !own.has(t));
      if (added.length + removed.length > 0)
        lines.push(`${year} ${[...added.map((t) => `+${t}`), ...removed.map((t) => `-${t}`)].join(' ')}`);
    }
  }
  return lines;
}

function dateScanSection(section, country) {
  const lines = [`[${section}]`];
  const order = nameOrder([...country.years.values()].flat());
  for (const [year, days] of country.years) {
    if (!days.some((day) => day.dayOff)) throw new Error(`${section} has no days off in ${year}`);
    for (const day of sortedDays(days, order))
      lines.push(`${day.name}, ${year}/${day.md.slice(0, 2)}/${day.md.slice(2)}${day.dayOff ? '' : ' observance'}`);
  }
  return lines;
}

const dataFolder = process.argv[2] ?? join(here, '../../data');
const holidaysFolder = join(dataFolder, 'holidays');
rmSync(holidaysFolder, { recursive: true, force: true });
mkdirSync(holidaysFolder, { recursive: true });

const index = [
  `; Kalendo's places: every country and subdivision of date-holidays ${libraryVersion}, made by scripts/make-datescan.`,
  '; "CODE<tab>Name<tab>Other name..." one place a line, each country before its subdivisions;',
  '; "partial<tab>CODE<tab>Note" says what the list of the place before it lacks. The days are in the country\'s CODE.txt.',
];
const countries = new Holidays().getCountries('en');
const legacy = new Map();
let placeCount = 0;
for (const [code, libraryName] of Object.entries(countries)) {
  const places = countryPlaces(code, libraryName);
  placeCount += places.length;
  writeFileSync(join(holidaysFolder, `${code}.txt`), `${countryFile(code, places).join('\n')}\n`);
  for (const place of places) {
    const names = (rules.placeNames[place.code] ?? []).slice(1).map(cleanName).filter((n) => n !== null);
    index.push([place.code, place.name, ...names].join('\t'));
    for (const partial of rules.partial)
      if (partial.wholeCountryOnly ? partial.place === place.code : appliesTo(partial.place, place.code))
        index.push(`partial\t${place.code}\t${partial.note}`);
  }
  legacy.set(code, places[0]);
}
writeFileSync(join(holidaysFolder, 'places.txt'), `${index.join('\n')}\n`);

const dateScan = [
  `; Kalendo's named dates: public holidays and well-known observances, ${FIRST_YEAR} to ${LAST_YEAR}.`,
  `; Made by scripts/make-datescan from date-holidays ${libraryVersion}: change the generator, not this file.`,
  '; A row is a name, a comma, a space and the date as YYYY/MM/DD; "observance" after the date marks',
  '; a named day that is no day off. Within a year, the day a short name means comes first.',
];
for (const [section, code] of SECTIONS) dateScan.push(...dateScanSection(section, legacy.get(code)));
writeFileSync(join(dataFolder, 'DateScan.DAT'), `${dateScan.join('\n')}\n`);
console.log(`${holidaysFolder}: ${Object.keys(countries).length} countries, ${placeCount} places; ${SECTIONS.length} sections in DateScan.DAT`);
