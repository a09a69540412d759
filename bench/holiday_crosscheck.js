// Kalvo's holidays against two independent lists from the npm registry, installed by
// scripts/bench into build/ for this check only: japanese-holidays (rules and equinox
// formula, any year) and @holiday-jp/holiday_jp (a list of days, 1970-2050).
//
//   node holiday_crosscheck.js NODE_MODULES equinoxes FIRST LAST   equinox days, as holiday_list reads them
//   node holiday_crosscheck.js NODE_MODULES compare KALVO_TSV       the comparison
//
// Every difference is printed. One listed below, where the law shows the other list wrong,
// is explained and passes; any other fails the check.
'use strict';
const fs = require('fs');
const path = require('path');

const [modules, command, ...args] = process.argv.slice(2);
const load = (name) => require(path.join(modules, name));
const version = (name) => load(name + '/package.json').version;

// Where a list's name differs from the law's, with the reason; the days agree.
const explained = {
  '1989-02-24 大喪の礼': 'the law is 昭和天皇の大喪の礼の行われる日を休日とする法律 (平成元年法律第4号)',
  '1993-06-09 結婚の儀': 'the law is 皇太子徳仁親王の結婚の儀の行われる日を休日とする法律 (平成5年法律第32号)',
  '2019-05-01 即位の日': 'the law names 天皇の即位の日 (平成30年法律第99号)',
  '2019-05-01 休日（祝日扱い）': 'the law names 天皇の即位の日 (平成30年法律第99号)',
  '2019-10-22 休日（祝日扱い）': 'the law names 即位礼正殿の儀 (平成30年法律第99号)',
  '2019-10-14 体育の日（スポーツの日）': 'スポーツの日 is the name from 2020-01-01 (平成30年法律第57号); in 2019 the day was 体育の日',
};

const pad = (n) => String(n).padStart(2, '0');

// japanese-holidays: {month, date, name} per year.
function japaneseHolidays(first, last) {
  const lib = load('japanese-holidays');
  const days = new Map();
  for (let y = first; y <= last; y++) {
    for (const h of lib.getHolidaysOf(y)) days.set(`${y}-${pad(h.month)}-${pad(h.date)}`, h.name);
  }
  return days;
}

// @holiday-jp/holiday_jp writes "元日 振替休日" for a 振替休日 and "休日" for a 国民の休日.
function holidayJp(first, last) {
  const lib = load('@holiday-jp/holiday_jp');
  const days = new Map();
  for (const h of lib.between(new Date(`${first}-01-01`), new Date(`${last}-12-31`))) {
    const name = h.name.endsWith(' 振替休日') ? '振替休日' : h.name === '休日' ? '国民の休日' : h.name;
    days.set(h.date.toISOString().slice(0, 10), name);
  }
  return days;
}

function compare(label, theirs, ours, first, last) {
  const inRange = [...ours.keys()].filter((d) => +d.slice(0, 4) >= first && +d.slice(0, 4) <= last);
  const dates = [...new Set([...inRange, ...theirs.keys()])].sort();
  let same = 0;
  let unexplained = 0;
  const lines = [];
  for (const d of dates) {
    const a = ours.get(d);
    const b = theirs.get(d);
    if (a === b) {
      same++;
      continue;
    }
    const reason = a !== undefined && b !== undefined ? explained[`${d} ${b}`] : undefined;
    if (!reason) unexplained++;
    lines.push(`  ${d}: Kalvo ${a ?? '(none)'}, ${label} ${b ?? '(none)'}: ` +
               (reason ? `Kalvo is right: ${reason}` : 'NOT EXPLAINED'));
  }
  console.log(`holidays ${first}-${last} against ${label}: ${dates.length} days, ${same} the same, ` +
              `${lines.length - unexplained} named differently where the law gives Kalvo's name, ` +
              `${unexplained} unexplained`);
  for (const l of lines) console.log(l);
  return unexplained;
}

if (command === 'equinoxes') {
  const [first, last] = args.map(Number);
  const lib = load('japanese-holidays');
  for (let y = first; y <= last; y++) {
    const list = lib.getHolidaysOf(y);
    const day = (name) => (list.find((h) => h.name === name) || { date: 0 }).date;
    console.log(`${y}\t${day('春分の日')}\t${day('秋分の日')}`);
  }
} else if (command === 'compare') {
  const ours = new Map();
  for (const line of fs.readFileSync(args[0], 'utf8').split('\n')) {
    if (line) ours.set(line.slice(0, 10), line.split('\t')[1]);
  }
  const bad = compare(`japanese-holidays ${version('japanese-holidays')}`, japaneseHolidays(1948, 2099), ours, 1948, 2099) +
              compare(`@holiday-jp/holiday_jp ${version('@holiday-jp/holiday_jp')}`, holidayJp(1970, 2050), ours, 1970, 2050);
  process.exit(bad ? 1 : 0);
} else {
  console.error('usage: holiday_crosscheck.js NODE_MODULES equinoxes FIRST LAST | compare KALVO_TSV');
  process.exit(2);
}
