// Reads a corpus line by line with pinyin-pro and @napi-rs/pinyin (both
// choosing readings from context) and writes, for each line, the two
// readings of every code point: "pinyin-pro<TAB>@napi-rs/pinyin", each a
// space-separated list with "-" where a library gives no reading.
//   node reference_readings.mjs CORPUS NODE_MODULES > READINGS
// The first line names the versions.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

const [corpusPath, modules] = process.argv.slice(2);
const require = createRequire(path.join(modules, 'package.json'));
const pinyinPro = require('pinyin-pro');
const napi = require('@napi-rs/pinyin');
const version = (name) => require(`${name}/package.json`).version;
const withTone = 1;  // PINYIN_STYLE.WithTone
const napiOptions = { style: withTone, segment: true, segmenter: 'phrase' };

// pinyin-pro gives one item per character, with the character as its origin.
function pinyinProReadings(line) {
  const readings = [];
  for (const item of pinyinPro.pinyin(line, { type: 'all' })) {
    const count = [...item.origin].length;
    if (count !== 1 && item.pinyin) throw new Error(`pinyin-pro read ${item.origin} as one`);
    readings.push(item.pinyin || '-', ...Array(count - 1).fill('-'));
  }
  return readings;
}

// @napi-rs/pinyin gives a syllable for each character it reads, and each run
// of other characters unchanged, as one item.
function napiReadings(line) {
  const chars = [...line];
  const readings = [];
  let at = 0;
  for (const item of napi.pinyin(line, napiOptions)) {
    const run = [...item];
    if (run.length > 0 && chars.slice(at, at + run.length).join('') === item) {
      readings.push(...Array(run.length).fill('-'));
      at += run.length;
    } else {
      readings.push(item);
      at += 1;
    }
  }
  if (at !== chars.length) throw new Error(`@napi-rs/pinyin output does not match: ${line}`);
  return readings;
}

const lines = readFileSync(corpusPath, 'utf8').split('\n');
if (lines.at(-1) === '') lines.pop();
const out = [`pinyin-pro ${version('pinyin-pro')}\t@napi-rs/pinyin ${version('@napi-rs/pinyin')} (segmenter ${napiOptions.segmenter})`];
for (const line of lines) {
  const pro = pinyinProReadings(line);
  if (pro.length !== [...line].length) throw new Error(`pinyin-pro output does not match: ${line}`);
  out.push(`${pro.join(' ')}\t${napiReadings(line).join(' ')}`);
}
process.stdout.write(out.join('\n') + '\n');
