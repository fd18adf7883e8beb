// Converts the corpus with the two peer libraries, once untimed and then
// five times each, and
// prints the Han characters per second: median, min and max.
//   node peers.mjs CORPUS NODE_MODULES
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

const [corpusPath, modules] = process.argv.slice(2);
const require = createRequire(path.join(modules, 'package.json'));
const text = readFileSync(corpusPath, 'utf8');
const han = [...text].filter((c) => c >= '\u4e00' && c <= '\u9fff').length;

const napi = require('@napi-rs/pinyin');
const pinyinPro = require('pinyin-pro');
const withToneNumEnd = 3;  // PINYIN_STYLE.WithToneNumEnd: "zhong1"

const peers = {
  '@napi-rs/pinyin': () => napi.pinyin(text, { style: withToneNumEnd }).length,
  'pinyin-pro': () => pinyinPro.pinyin(text, { toneType: 'num', type: 'array' }).length,
};

for (const [name, convert] of Object.entries(peers)) {
  convert();  // one untimed run first, as for Kelvaro
  const rates = [];
  for (let run = 0; run < 5; run++) {
    const start = process.hrtime.bigint();
    convert();
    const seconds = Number(process.hrtime.bigint() - start) / 1e9;
    rates.push(han / seconds);
  }
  rates.sort((a, b) => a - b);
  console.log(`${name} ${rates[2].toFixed(0)} ${rates[0].toFixed(0)} ${rates[4].toFixed(0)} ${han}`);
}
