#!/usr/bin/env node
// Builds data/area.txt, the area-code list of the Area Codes screen.
//
// Each line: three-digit area code, one space, two-letter state or province,
// one space, the main city or region; CR LF line ends; printable ASCII only;
// ascending by code; the whole file well under 28000 bytes.
//
// The United States codes come from the npm package "areacodes" (MIT,
// Copyright (c) 2014 BlueRival Software), version 0.2.1, which holds a code,
// a state and one city per code; its toll-free codes carry no place and are
// left out. Canada and Puerto Rico, which it does not list, are added from
// the table below.
//
// Usage (the package is installed outside the source tree):
//   npm install --prefix /tmp/areagen areacodes@0.2.1
//   node tools/make_area_txt.js /tmp/areagen
// The output goes to data/area.txt beside this folder, or to the path given
// as a second argument.
'use strict';

const fs = require('fs');
const path = require('path');

const FILE_LIMIT = 28000;

const EXTRA_CODES = [
    ['204', 'MB', 'Winnipeg, Brandon'],
    ['236', 'BC', 'Vancouver, Victoria, Kelowna'],
    ['249', 'ON', 'Sudbury, Barrie, North Bay'],
    ['250', 'BC', 'Victoria, Kelowna, Kamloops, Prince George'],
    ['226', 'ON', 'London, Kitchener, Windsor'],
    ['263', 'QC', 'Montreal'],
    ['289', 'ON', 'Hamilton, Mississauga, Niagara Falls'],
    ['306', 'SK', 'Regina, Saskatoon'],
    ['343', 'ON', 'Ottawa, Kingston'],
    ['354', 'QC', 'Laval, Longueuil, Saint-Jerome'],
    ['365', 'ON', 'Hamilton, Mississauga, Niagara Falls'],
    ['367', 'QC', 'Quebec City, Saguenay, Rimouski'],
    ['368', 'AB', 'Calgary, Edmonton'],
    ['382', 'ON', 'London, Kitchener, Windsor'],
    ['403', 'AB', 'Calgary, Red Deer, Lethbridge'],
    ['416', 'ON', 'Toronto'],
    ['418', 'QC', 'Quebec City, Saguenay, Rimouski'],
    ['428', 'NB', 'Moncton, Saint John, Fredericton'],
    ['431', 'MB', 'Winnipeg, Brandon'],
    ['437', 'ON', 'Toronto'],
    ['438', 'QC', 'Montreal'],
    ['450', 'QC', 'Laval, Longueuil, Saint-Jerome'],
    ['468', 'QC', 'Sherbrooke, Gatineau, Trois-Rivieres'],
    ['474', 'SK', 'Regina, Saskatoon'],
    ['506', 'NB', 'Moncton, Saint John, Fredericton'],
    ['514', 'QC', 'Montreal'],
    ['519', 'ON', 'London, Kitchener, Windsor'],
    ['548', 'ON', 'London, Kitchener, Windsor'],
    ['579', 'QC', 'Laval, Longueuil, Saint-Jerome'],
    ['581', 'QC', 'Quebec City, Saguenay, Rimouski'],
    ['584', 'MB', 'Winnipeg, Brandon'],
    ['587', 'AB', 'Calgary, Edmonton'],
    ['604', 'BC', 'Vancouver, Surrey, Burnaby'],
    ['613', 'ON', 'Ottawa, Kingston'],
    ['639', 'SK', 'Regina, Saskatoon'],
    ['647', 'ON', 'Toronto'],
    ['672', 'BC', 'Vancouver, Victoria, Kelowna'],
    ['683', 'ON', 'Sudbury, Barrie, North Bay'],
    ['705', 'ON', 'Sudbury, Barrie, North Bay'],
    ['709', 'NL', "St. John's"],
    ['742', 'ON', 'Hamilton, Mississauga, Niagara Falls'],
    ['753', 'ON', 'Ottawa, Kingston'],
    ['778', 'BC', 'Vancouver, Victoria, Kelowna'],
    ['780', 'AB', 'Edmonton, Grande Prairie'],
    ['782', 'NS', 'Halifax, Charlottetown (Nova Scotia, Prince Edward Island)'],
    ['787', 'PR', 'San Juan'],
    ['807', 'ON', 'Thunder Bay, Kenora'],
    ['819', 'QC', 'Sherbrooke, Gatineau, Trois-Rivieres'],
    ['825', 'AB', 'Calgary, Edmonton'],
    ['867', 'YT', 'Whitehorse, Yellowknife, Iqaluit (Yukon, Northwest Territories, Nunavut)'],
    ['873', 'QC', 'Sherbrooke, Gatineau, Trois-Rivieres'],
    ['879', 'NL', "St. John's"],
    ['902', 'NS', 'Halifax, Charlottetown (Nova Scotia, Prince Edward Island)'],
    ['905', 'ON', 'Hamilton, Mississauga, Niagara Falls'],
    ['939', 'PR', 'San Juan'],
];

// The package writes a few places in lower case ("ann arbor").
function titleCase(place) {
    if (place !== place.toLowerCase()) return place;
    return place.replace(/(^|[\s-])([a-z])/g, (m, gap, letter) => gap + letter.toUpperCase());
}

function fail(message) {
    process.stderr.write('make_area_txt: ' + message + '\n');
    process.exit(1);
}

function main() {
    const prefix = process.argv[2];
    const output = process.argv[3] || path.join(__dirname, '..', 'data', 'area.txt');
    if (!prefix) fail('usage: node tools/make_area_txt.js <npm prefix holding areacodes> [output]');
    const AreaCodes = require(path.resolve(prefix, 'node_modules', 'areacodes'));

    new AreaCodes().getAll((err, all) => {
        if (err) fail(String(err));
        const entries = new Map();
        const add = (code, state, place, source) => {
            if (entries.has(code)) fail('code ' + code + ' twice (' + source + ')');
            entries.set(code, code + ' ' + state + ' ' + place);
        };
        for (const code of Object.keys(all)) {
            const record = all[code];
            if (record.type !== 'local') continue;
            if (!record.stateCode || !record.city) fail('code ' + code + ' has no place');
            add(code, record.stateCode.toUpperCase(), titleCase(record.city.trim()), 'package');
        }
        for (const [code, state, place] of EXTRA_CODES) add(code, state, place, 'extra table');

        const lines = [...entries.keys()].sort().map((code) => entries.get(code));
        for (const line of lines) {
            if (!/^\d{3} [A-Z]{2} [\x21-\x7e][\x20-\x7e]*$/.test(line)) fail('bad line: ' + line);
        }
        const text = lines.map((line) => line + '\r\n').join('');
        if (Buffer.byteLength(text, 'latin1') >= FILE_LIMIT) fail('file reaches ' + FILE_LIMIT + ' bytes');
        fs.writeFileSync(output, text, 'latin1');
        process.stdout.write(output + ': ' + lines.length + ' codes, ' + text.length + ' bytes\n');
    });
}

main();
