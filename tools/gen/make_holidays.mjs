// Writes resources/holidays.txt, the statutory days off and make-up workdays
// as the State Council published them, from the chinese-days package's data.
//   cd tools/gen && npm install && node make_holidays.mjs [--published YYYY-MM-DD]
// --published is the date of the newest notice in the data (default: the
// notice of the newest year below); the calendar takes a file whose date is
// later than its own.
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const data = JSON.parse(readFileSync(require.resolve('chinese-days/dist/chinese-days.json'), 'utf8'));

// The 2026 arrangement, published on 2025-11-04.
let published = '2025-11-04';
const at = process.argv.indexOf('--published');
if (at > 0) published = process.argv[at + 1];
if (!/^\d{4}-\d{2}-\d{2}$/.test(published)) throw new Error(`bad date ${published}`);

const NAMES = {
  '元旦': '元旦', '春节': '春节', '清明': '清明节', '劳动节': '劳动节', '端午': '端午节',
  '中秋': '中秋节', '国庆节': '国庆节',
  '中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日': '抗战胜利纪念日',
};
const lines = [];
for (const [kind, mark] of [['holidays', '休'], ['workdays', '班']]) {
  for (const [date, value] of Object.entries(data[kind])) {
    const name = NAMES[value.split(',')[1]];
    if (!name) throw new Error(`unknown holiday ${value}`);
    lines.push(`${date} ${mark} ${name}`);
  }
}
lines.sort();
const years = lines.map((l) => Number(l.slice(0, 4)));
const first = Math.min(...years), last = Math.max(...years);

const out = [
  '# Torvane: statutory days off (休) and make-up workdays (班), as published.',
  '# One date a line: YYYY-MM-DD, 休 or 班, the holiday. Weekends not listed',
  '# are days off; every other day not listed is a workday.',
  `published ${published}`,
  `years ${first} ${last}`,
  ...lines,
  '',
].join('\n');
const target = fileURLToPath(new URL('../../resources/holidays.txt', import.meta.url));
writeFileSync(target, out);
console.log(`wrote ${target}: ${lines.length} days, ${first}-${last}`);
