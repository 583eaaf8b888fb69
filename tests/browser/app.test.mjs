// The web app against the real engine and dictionary, in headless Chromium.
import assert from 'node:assert/strict';
import { existsSync, readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  engineRequest, hasDictionary, launchBrowser, makeAppDir, NO_DICTIONARY, screenshotPath,
  startAudioServer, startEngine,
} from './harness.mjs';

describe('the dictionary app', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  let dir;
  let engine;
  let browser;
  let audio;

  before(async () => {
    dir = makeAppDir();
    engine = await startEngine(dir);
    browser = await launchBrowser();
    audio = await startAudioServer();
  });

  after(async () => {
    await browser?.close();
    await engine?.stop();
    await audio?.server?.stop();
  });

  // A page of the app; script errors on it fail the test that opened it.
  async function openApp(t, viewport = { width: 1100, height: 760 }) {
    const context = await browser.newContext({ viewport });
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('console', (message) => {
      // Refused connections while the engine is stopped are expected.
      if (message.type() === 'error' && !message.text().startsWith('Failed to load resource')) errors.push(message.text());
    });
    t.after(async () => {
      await context.close();
      assert.deepEqual(errors, [], 'no script errors on the page');
    });
    await page.goto(engine.url);
    await page.waitForSelector('#index-list li');
    return page;
  }

  const headword = (page) => page.locator('#view .header').evaluate((p) => p.firstChild.textContent.trim());

  async function showWord(page, word) {
    if (await page.locator('#search').isHidden()) await page.locator('#back-to-index').click();
    await page.locator('#search').fill(word);
    await page.locator('#search').press('Enter');
    await page.waitForFunction(
      (expected) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === expected,
      (await engineRequest(engine, 'GetDefinition', [word])).word,
    );
  }

  // The page shows `html` exactly as the browser parses it.
  async function assertShows(page, html) {
    const expected = await page.evaluate((text) => {
      const holder = document.createElement('div');
      holder.innerHTML = text;
      return holder.innerHTML;
    }, html);
    assert.equal(await page.locator('#view').innerHTML(), expected);
  }

  test('typing an inflected form and Enter shows its headword; arrows pick from the index', async (t) => {
    const page = await openApp(t);
    await page.locator('#search').pressSequentially('cats');
    await page.waitForFunction(() => document.querySelector('#index-list [aria-selected="true"]'));
    await page.locator('#search').press('Enter');
    await page.locator('#view .header').waitFor();
    assert.equal(await headword(page), 'cat');
    const answer = await engineRequest(engine, 'GetDefinition', ['cats']);
    await assertShows(page, answer.dictionary);
    assert.equal(await page.locator('.view-tabs [data-view="dictionary"]').getAttribute('aria-selected'), 'true');
    for (const view of ['thesaurus', 'links']) {
      assert.equal(await page.locator(`.view-tabs [data-view="${view}"]`).isVisible(), Boolean(answer[view]), `${view} tab`);
    }
    await page.screenshot({ path: screenshotPath('dictionary.png') });

    // The index shows the run at the typed prefix, selected from its first word.
    const run = await engineRequest(engine, 'GetIndexWords', ['mag', 5, 1, 0]);
    await page.locator('#search').fill('mag');
    await page.waitForFunction((first) => document.querySelector('#index-list [aria-selected="true"]')?.dataset.word === first, run.words[0]);
    await page.locator('#search').press('ArrowDown');
    await page.locator('#search').press('ArrowDown');
    await page.locator('#search').press('Enter');
    await page.waitForFunction((word) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === word,
      (await engineRequest(engine, 'GetDefinition', [run.words[2]])).word);

    // Escape empties the search and the index starts from the beginning again.
    await page.locator('#search').press('Escape');
    assert.equal(await page.locator('#search').inputValue(), '');
    const first = await engineRequest(engine, 'GetIndexWords', ['', 1, 1, 0]);
    await page.waitForFunction((word) => document.querySelector('#index-list [aria-selected="true"]')?.dataset.word === word, first.words[0]);
  });

  test('a synonym link looks its word up and a link icon opens the links of that sense', async (t) => {
    const page = await openApp(t);
    await showWord(page, 'cat');
    const synonym = page.locator('#view .syn a').first();
    const word = await synonym.getAttribute('href');
    await synonym.click();
    await page.waitForFunction((expected) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === expected,
      (await engineRequest(engine, 'GetDefinition', [word])).word);
    // The browser's Back returns to the word before.
    await page.goBack();
    await page.waitForFunction(() => document.querySelector('#view .header')?.firstChild?.textContent.trim() === 'cat');

    await showWord(page, 'cat');
    const icon = page.locator('#view .definition a[href$="%3A2"] img');
    await icon.click();
    await page.waitForFunction(() => document.querySelector('.view-tabs [data-view="links"]').getAttribute('aria-selected') === 'true');
    const sense = await engineRequest(engine, 'GetDefinition', ['cat:2']);
    assert.equal(sense.singleSynset, '2');
    await assertShows(page, sense.links);
    assert.equal(await page.locator('#view .linkdefinition').count(), 1);
    await page.screenshot({ path: screenshotPath('links.png') });

    // The sense's links are words too.
    const linked = page.locator('#view .link a').first();
    const target = await linked.getAttribute('href');
    await linked.click();
    await page.waitForFunction((expected) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === expected,
      (await engineRequest(engine, 'GetDefinition', [target])).word);

    // The pronunciation key opens from the header and closes with Escape.
    await showWord(page, 'cat');
    const key = page.locator('#view a[href="~showipa"]');
    if (await key.count()) {
      await key.click();
      assert.ok(await page.locator('#ipa-key').isVisible());
      await page.keyboard.press('Escape');
      assert.ok(!(await page.locator('#ipa-key').isVisible()));
    }
  });

  test('the thesaurus view is shown when a word has one', async (t) => {
    const page = await openApp(t);
    const candidates = ['happy', 'good', 'big', 'cat', 'run', 'house'];
    let found = '';
    for (const word of candidates) {
      if ((await engineRequest(engine, 'GetDefinition', [word])).thesaurus) {
        found = word;
        break;
      }
    }
    if (!found) {
      t.skip(`none of ${candidates.join(', ')} has a thesaurus view in this dictionary`);
      return;
    }
    await showWord(page, found);
    await page.locator('.view-tabs [data-view="thesaurus"]').click();
    await assertShows(page, (await engineRequest(engine, 'GetDefinition', [found])).thesaurus);
    await page.screenshot({ path: screenshotPath('thesaurus.png') });
  });

  test('scrolling the index both ways gives the engine\'s order with no word repeated or left out', async (t) => {
    const page = await openApp(t, { width: 1100, height: 600 });
    const anchor = 'mag';
    // The oracle: one long run each way, asked for in a single request.
    const after = (await engineRequest(engine, 'GetIndexWords', [anchor, 1500, 1, 0])).words;
    const before = (await engineRequest(engine, 'GetIndexWords', [anchor, 1500, 0, 0])).words;
    const truth = [...before].reverse().concat(after);
    const list = page.locator('#index-list');
    const shown = () => list.evaluate((ul) => [...ul.children].map((li) => li.dataset.word));

    async function assertContiguous(label) {
      const words = await shown();
      const start = truth.indexOf(words[0]);
      assert.ok(start >= 0, `${label}: first word ${words[0]} is in the index`);
      assert.deepEqual(words, truth.slice(start, start + words.length), `${label}: one unbroken stretch`);
      return { start, end: start + words.length };
    }

    async function scrollTo(end, passes) {
      for (let i = 0; i < passes; i++) {
        const before = await shown();
        await list.evaluate((ul, bottom) => { ul.scrollTop = bottom ? ul.scrollHeight : 0; }, end === 'bottom');
        await page.waitForFunction(
          ([first, last, count]) => {
            const items = document.querySelectorAll('#index-list li');
            return items.length !== count || items[0].dataset.word !== first || items[items.length - 1].dataset.word !== last;
          },
          [before[0], before.at(-1), before.length],
        );
        await assertContiguous(`${end} pass ${i}`);
      }
    }

    await page.locator('#search').fill(anchor);
    await page.waitForFunction((first) => document.querySelector('#index-list [aria-selected="true"]')?.dataset.word === first, after[0]);
    await assertContiguous('after typing');
    await scrollTo('bottom', 12);
    const down = await assertContiguous('after scrolling down');
    assert.ok(down.end - before.length >= 400, 'scrolled well past the first runs');
    await scrollTo('top', 18);
    const up = await assertContiguous('after scrolling up');
    assert.ok(before.length - up.start >= 300, 'scrolled well above the typed prefix');

    // The wheel scrolls the list as well.
    const top = (await shown())[0];
    await list.hover();
    for (let i = 0; i < 5; i++) await page.mouse.wheel(0, -4000);
    await page.waitForFunction((first) => document.querySelector('#index-list li').dataset.word !== first, top);
    await assertContiguous('after the wheel');
  });

  test('a favourite survives an engine restart, and history records lookups', async (t) => {
    let page = await openApp(t);
    await showWord(page, 'dog');
    await page.locator('#favourite').click();
    assert.equal(await page.locator('#favourite').getAttribute('aria-pressed'), 'true');
    await page.waitForFunction(() => document.querySelector('#favourites-list li[data-word="dog"]'));
    // The stored list is the page's JSON array, read back through the engine.
    await waitFor(async () => (await engineRequest(engine, 'GetManagedWords', ['favourites'])).words?.includes('dog'));

    assert.equal(await engine.stop(), 0, 'the engine stopped cleanly');
    await page.locator('#search').fill('do');
    await page.locator('#message').waitFor();
    assert.match(await page.locator('#message').innerText(), /The dictionary engine is not running/);
    engine = await startEngine(dir, engine.port);
    await page.reload();
    await page.locator('#tab-favourites').click();
    await page.locator('#favourites-list li[data-word="dog"]').waitFor();
    await page.locator('#tab-history').click();
    await page.locator('#history-list li[data-word="dog"]').waitFor();

    await page.locator('#tab-favourites').click();
    await page.locator('#favourites-list li[data-word="dog"] .word').click();
    await page.waitForFunction(() => document.querySelector('#favourite').getAttribute('aria-pressed') === 'true');
    await page.locator('#favourite').click();
    await waitFor(async () => !(await engineRequest(engine, 'GetManagedWords', ['favourites'])).words.includes('dog'));
  });

  test('the speaker plays a recording fetched from the pronunciation server', async (t) => {
    if (!audio.server) {
      t.skip(`pronunciation server not started: ${audio.reason}`);
      return;
    }
    const page = await openApp(t);
    await showWord(page, 'cat');
    const first = await engineRequest(engine, 'GetAudioFile', ['cat']);
    assert.ok(first.downloadUrl, 'the cache starts empty');
    await page.locator('#LXSpeaker').click();
    await page.waitForFunction(() => /\/pron\/vox_/.test(document.querySelector('#player').src));
    const source = await page.locator('#player').evaluate((audio) => new URL(audio.src).pathname);
    const file = join(dir.app, source.slice(1));
    assert.ok(existsSync(file), `${source} exists in the application directory`);
    assert.equal(readFileSync(file).subarray(0, 4).toString('latin1'), 'RIFF');
    assert.deepEqual(readdirSync(join(dir.app, 'downloads')), [], 'the download was consumed');
    await page.waitForFunction(() => document.querySelector('#player').duration > 0);
    assert.equal((await engineRequest(engine, 'GetAudioFile', ['cat'])).playUrl, source.slice(1));

    await page.locator('#clear-audio').click();
    await page.locator('#message.notice').waitFor();
    assert.ok(!existsSync(join(dir.app, 'pron')), 'the audio cache was removed');
  });

  test('a damaged download is reported and leaves nothing behind', async (t) => {
    const page = await openApp(t);
    const word = 'dog';
    const { downloadUrl } = await engineRequest(engine, 'GetAudioFile', [word]);
    assert.ok(downloadUrl, 'not in the cache');
    await page.route(downloadUrl, (route) => route.fulfill({
      status: 200, body: 'not a compressed recording', headers: { 'Access-Control-Allow-Origin': '*' },
    }));
    await showWord(page, word);
    await page.locator('#LXSpeaker').click();
    await page.locator('#message').waitFor();
    assert.equal(await page.locator('#message').innerText(), 'Lexora could not open the audio file.');
    assert.deepEqual(readdirSync(join(dir.app, 'downloads')), [], 'the download was consumed');
    assert.ok((await engineRequest(engine, 'GetAudioFile', [word])).downloadUrl, 'nothing was cached');
  });

  test('a word that is not in the dictionary offers the nearest index words', async (t) => {
    const page = await openApp(t);
    await page.locator('#search').fill('catz"q');
    await page.locator('#search').press('Enter');
    await page.locator('#message .suggestions a').first().waitFor();
    assert.match(await page.locator('#message').innerText(), /could not find definitions for "catz"q"/);
    const suggestion = page.locator('#message .suggestions a').first();
    const word = await suggestion.innerText();
    await suggestion.click();
    await page.waitForFunction((expected) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === expected,
      (await engineRequest(engine, 'GetDefinition', [word])).word);
    assert.ok(await page.locator('#message').isHidden());
  });

  test('a phone-sized screen needs no horizontal scrolling', async (t) => {
    const page = await openApp(t, { width: 320, height: 480 });
    const overflow = () => page.evaluate(() => [...document.querySelectorAll('html, body, #view, #index-list')]
      .filter((element) => element.scrollWidth > element.clientWidth)
      .map((element) => element.id || element.tagName));
    assert.deepEqual(await overflow(), []);
    for (const word of ['run', 'set', 'cat']) {
      await showWord(page, word);
      assert.deepEqual(await overflow(), [], word);
    }
    await page.screenshot({ path: screenshotPath('phone.png') });
    await page.locator('#back-to-index').click();
    assert.ok(await page.locator('#search').isVisible());
  });
});

async function waitFor(condition, timeout = 5000) {
  const deadline = Date.now() + timeout;
  while (!(await condition())) {
    if (Date.now() > deadline) throw new Error('condition not met in time');
    await new Promise((done) => setTimeout(done, 50));
  }
}
