// Compares the output of the almanac command with the lunar-javascript
// package's answers for the same days and prints every difference by field.
//   build/native/bin/almanac 1900-01-01 2100-12-31 > /tmp/almanac.tsv
//   cd tools/gen && npm install && node compare_almanac.mjs /tmp/almanac.tsv
import { readFileSync } from 'node:fs';
import lunar from 'lunar-javascript';

const { Solar } = lunar;
const [header, ...lines] = readFileSync(process.argv[2], 'utf8').trimEnd().split('\n');
const fields = header.split('\t');
const theirs = (y, m, d) => {
  const l = Solar.fromYmd(y, m, d).getLunar();
  const list = (a) => (a.length === 1 && a[0] === '无' ? '无' : a.join(' '));
  return {
    year_pillar: l.getYearInGanZhiByLiChun(), month_pillar: l.getMonthInGanZhi(), day_pillar: l.getDayInGanZhi(),
    officer: l.getZhiXing(), deity: l.getDayTianShen(), huangdao: l.getDayTianShenType(),
    chong: `冲${l.getDayChongShengXiao()}(${l.getDayChongGan()}${l.getDayChong()})`, sha: `煞${l.getDaySha()}`,
    pengzu: `${l.getPengZuGan()} ${l.getPengZuZhi()}`, yi: list(l.getDayYi()), ji: list(l.getDayJi()),
  };
};
const differences = {};
for (const line of lines) {
  const ours = Object.fromEntries(line.split('\t').map((v, i) => [fields[i], v]));
  const [y, m, d] = ours.date.split('-').map(Number);
  const other = theirs(y, m, d);
  for (const [field, value] of Object.entries(other)) {
    if (ours[field] === value) continue;
    (differences[field] ??= []).push(`${ours.date}: ours ${ours[field]} | theirs ${value}`);
  }
}
console.log(`${lines.length} days compared`);
for (const [field, list] of Object.entries(differences)) {
  console.log(`${field}: ${list.length} differences`);
  for (const item of list.slice(0, 10)) console.log(`  ${item}`);
}
