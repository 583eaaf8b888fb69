// Response times of the app over 200 words of the dictionary: from the
// keystroke to the painted index run, and from Enter to the painted
// definition. Reports figures; asserts nothing about time.
//
// Each sample is split on the page's own timeline: before the request left
// (page), the request to the bridge and back (bridge + event queue + engine),
// and from the answer to the painted frame (page). The request's share is then
// split with direct requests from this process: a method the bridge refuses
// (bridge alone), GetAudioFile (bridge and event queue; its engine work is a
// CRC and a stat), and the measured request itself.
//
// Uses the browser tests' harness and packages (npm ci in tests/browser):
//   BUILD=build APPDIR=build/appdir node bench/browser_perf.mjs
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { BUILD, engineRequest, hasDictionary, launchBrowser, makeAppDir, NO_DICTIONARY, startEngine } from '../tests/browser/harness.mjs';

const WORDS = 200;

function summary(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const at = (p) => sorted[Math.min(sorted.length - 1, Math.ceil((p / 100) * sorted.length) - 1)];
  return { median: at(50), p95: at(95) };
}

const ms = (value) => value.toFixed(2).padStart(7);

// Words spread over the index, typeable on a keyboard as they are.
async function sampleWords(engine) {
  const words = new Set();
  let seed = 12345;
  const letters = 'abcdefghijklmnopqrstuvwxyz';
  while (words.size < WORDS) {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    const prefix = letters[seed % 26] + letters[(seed >> 8) % 26] + letters[(seed >> 16) % 26];
    const [word] = (await engineRequest(engine, 'GetIndexWords', [prefix, 1, 1, 0])).words;
    if (word && /^[a-z]{3,}$/.test(word)) words.add(word);
  }
  return [...words];
}

async function timeRequest(url, method, params) {
  const start = performance.now();
  await (await fetch(url, { method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify({ method, params }) })).text();
  return performance.now() - start;
}

test(`response times: keystroke to index run and Enter to definition, over ${WORDS} words`,
  { skip: hasDictionary ? false : NO_DICTIONARY }, async (t) => {
  const engine = await startEngine(makeAppDir());
  const browser = await launchBrowser();
  t.after(async () => {
    await browser.close();
    await engine.stop();
  });
  const words = await sampleWords(engine);
  const page = await browser.newPage({ viewport: { width: 1100, height: 760 } });
  await page.goto(engine.url);
  await page.waitForSelector('#index-list li');
  await page.evaluate(() => {
    window.lastKeyDown = 0;
    window.addEventListener('keydown', (event) => { window.lastKeyDown = event.timeStamp; }, true);
    performance.setResourceTimingBufferSize(100000);
  });

  // Waits for the mark `name` after the last keydown and splits the time
  // around the first bridge request that followed the key.
  const measure = (name) => page.waitForFunction((mark) => {
    const since = window.lastKeyDown;
    const painted = performance.getEntriesByName(mark).find((entry) => entry.startTime > since);
    if (!painted) return null;
    const request = performance.getEntriesByType('resource')
      .find((entry) => entry.startTime > since && entry.name.endsWith('/pdl/request'));
    if (!request) return null;
    return {
      total: painted.startTime - since,
      before: request.startTime - since,
      request: request.responseEnd - request.startTime,
      after: painted.startTime - request.responseEnd,
    };
  }, name).then((handle) => handle.jsonValue());

  const index = [];
  const definition = [];
  const search = page.locator('#search');
  for (const word of words) {
    await page.evaluate(() => performance.clearMarks());
    await search.fill(word.slice(0, -1));
    await page.waitForFunction(() => performance.getEntriesByName('lexora:index-painted').length > 0);
    await page.waitForTimeout(30);  // let the run above the prefix load too
    await search.press(word.at(-1));
    index.push(await measure('lexora:index-painted'));
    await page.waitForTimeout(30);  // the run above the prefix, as before
    await search.press('Enter');
    definition.push(await measure('lexora:definition-painted'));
  }

  // The request's share, split with direct requests of the same words.
  const url = `${engine.url}pdl/request`;
  const direct = { bridge: [], bridgeAndQueue: [], indexRequest: [], definitionRequest: [] };
  for (const word of words) {
    direct.bridge.push(await timeRequest(`${engine.url}pdl/call`, 'NoSuchMethod', []));
    direct.bridgeAndQueue.push(await timeRequest(url, 'GetAudioFile', [word]));
    direct.indexRequest.push(await timeRequest(url, 'GetIndexWords', [word, 40, 1, 0]));
    direct.definitionRequest.push(await timeRequest(url, 'GetDefinition', [word]));
  }

  const report = { words: words.length, index: {}, definition: {}, direct: {} };
  for (const [name, samples] of [['index', index], ['definition', definition]]) {
    for (const part of ['total', 'before', 'request', 'after']) {
      report[name][part] = summary(samples.map((sample) => sample[part]));
    }
  }
  for (const [name, samples] of Object.entries(direct)) report.direct[name] = summary(samples);
  writeFileSync(join(BUILD, 'browser-perf.json'), `${JSON.stringify(report, null, 2)}\n`);

  t.diagnostic(`milliseconds over ${words.length} words (median / 95th percentile):`);
  for (const name of ['index', 'definition']) {
    const r = report[name];
    t.diagnostic(`${name.padEnd(10)} total ${ms(r.total.median)} /${ms(r.total.p95)}   page before request ${ms(r.before.median)}   request ${ms(r.request.median)}   page after answer ${ms(r.after.median)}`);
  }
  const d = report.direct;
  t.diagnostic(`direct: bridge alone ${ms(d.bridge.median)}   bridge + event queue ${ms(d.bridgeAndQueue.median)}   GetIndexWords ${ms(d.indexRequest.median)}   GetDefinition ${ms(d.definitionRequest.median)}`);
});
