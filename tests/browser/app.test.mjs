// The web app against the real engine and dictionary, in headless Chromium.
import assert from 'node:assert/strict';
import { existsSync, readdirSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  hasDictionary, NO_DICTIONARY, screenshotPath, sharedEngineAndBrowser, startAudioServer, waitFor, waitForHeader,
  withoutLabels,
} from './harness.mjs';

describe('the dictionary app', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  const app = sharedEngineAndBrowser();
  const { ask, show: showWord } = app;
  let audio;

  before(async () => { audio = await startAudioServer(); });
  after(async () => { await audio?.server?.stop(); });

  const waitForHeadword = async (page, word) => waitForHeader(page, (await ask('GetDefinition', word)).word);
  const waitForSelected = (page, word) => page.waitForFunction(
    (text) => document.querySelector('#index-list [aria-selected="true"]')?.dataset.word === text, word);

  // The page shows `html` as the browser parses it, apart from what the app rewrites
  // (labels, and the pronunciation's symbol images as text).
  async function assertShows(page, html) {
    const engineView = await page.evaluateHandle((text) => Object.assign(document.createElement('div'), { innerHTML: text }), html);
    assert.equal(await page.locator('#view').evaluate(withoutLabels), await engineView.evaluate(withoutLabels));
  }

  test('typing and Enter show the headword with its views; arrows and Escape work the index', async (t) => {
    const page = await app.open(t);
    await page.locator('#search').pressSequentially('cats');
    await page.waitForFunction(() => document.querySelector('#index-list [aria-selected="true"]'));
    await page.locator('#search').press('Enter');
    await waitForHeadword(page, 'cat');
    const answer = await ask('GetDefinition', 'cats');
    assert.equal(answer.word, 'cat');
    await assertShows(page, answer.dictionary);
    assert.equal(await page.locator('.view-tabs [data-view="dictionary"]').getAttribute('aria-selected'), 'true');
    for (const view of ['thesaurus', 'links']) {
      assert.equal(await page.locator(`.view-tabs [data-view="${view}"]`).isVisible(), Boolean(answer[view]), `${view} tab`);
    }
    await page.screenshot({ path: screenshotPath('dictionary.png') });

    // The index shows the run at the typed prefix, selected from its first word.
    const run = await ask('GetIndexWords', 'mag', 5, 1, 0);
    await page.locator('#search').fill('mag');
    await waitForSelected(page, run.words[0]);
    await page.locator('#search').press('ArrowDown');
    await page.locator('#search').press('ArrowDown');
    await page.locator('#search').press('Enter');
    await waitForHeadword(page, run.words[2]);
    // Escape empties the search and the index starts from the beginning again.
    await page.locator('#search').press('Escape');
    assert.equal(await page.locator('#search').inputValue(), '');
    await waitForSelected(page, (await ask('GetIndexWords', '', 1, 1, 0)).words[0]);

  });

  test('word links, link icons, Back, the pronunciation key and form-of lines navigate', async (t) => {
    const page = await app.open(t);
    await showWord(page, 'cat');
    const synonym = page.locator('#view .syn a').first();
    const word = await synonym.getAttribute('href');
    await synonym.click();
    await waitForHeadword(page, word);
    await page.goBack();
    await waitForHeadword(page, 'cat');

    await showWord(page, 'cat');
    await page.locator('#view .definition a[href$="%3A2"] img').click();
    await page.waitForFunction(() => document.querySelector('.view-tabs [data-view="links"]').getAttribute('aria-selected') === 'true');
    const sense = await ask('GetDefinition', 'cat:2');
    assert.equal(sense.singleSynset, '2');
    await assertShows(page, sense.links);
    assert.equal(await page.locator('#view .linkdefinition').count(), 1);
    await page.screenshot({ path: screenshotPath('links.png') });
    // The sense's links are words too.
    const linked = page.locator('#view .link a').first();
    const target = await linked.getAttribute('href');
    await linked.click();
    await waitForHeadword(page, target);

    await showWord(page, 'cat');
    const key = page.locator('#view a[href="~showipa"]');
    if (await key.count()) {
      await key.click();
      assert.ok(await page.locator('#ipa-key').isVisible());
      await page.keyboard.press('Escape');
      assert.ok(!(await page.locator('#ipa-key').isVisible()));
    }

    // A form that is a headword of its own (ate: the goddess Ate) names its
    // base in a line right under the header lines, styled apart from the
    // senses; the base is a word link.
    await showWord(page, 'ate');
    const line = page.locator('#view .formof', { hasText: 'past tense of' });
    assert.ok(['header', 'pron'].includes(await line.evaluate((node) => node.previousElementSibling.className)));
    assert.equal(await line.evaluate((node) => getComputedStyle(node).fontStyle), 'italic');
    await page.screenshot({ path: screenshotPath('formof.png') });
    await line.locator('a[href="eat"]').click();
    await waitForHeadword(page, 'eat');
  });

  test('scrolling the index both ways gives the engine\'s order with no word repeated or left out', async (t) => {
    const page = await app.open(t, { viewport: { width: 1100, height: 600 } });
    const anchor = 'mag';
    // The oracle: one long run each way, asked for in a single request.
    const after = (await ask('GetIndexWords', anchor, 1500, 1, 0)).words;
    const before = (await ask('GetIndexWords', anchor, 1500, 0, 0)).words;
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

    // Scrolls to one end `passes` times, waiting each time for the list to change.
    async function scrollTo(end, passes) {
      for (let i = 0; i < passes; i++) {
        const before = await shown();
        await list.evaluate((ul, bottom) => { ul.scrollTop = bottom ? ul.scrollHeight : 0; }, end === 'bottom');
        await page.waitForFunction(([first, last, count]) => {
          const items = document.querySelectorAll('#index-list li');
          return items.length !== count || items[0].dataset.word !== first || items[items.length - 1].dataset.word !== last;
        }, [before[0], before.at(-1), before.length]);
        await assertContiguous(`${end} pass ${i}`);
      }
    }

    await page.locator('#search').fill(anchor);
    await waitForSelected(page, after[0]);
    await assertContiguous('after typing');
    await scrollTo('bottom', 12);
    assert.ok((await assertContiguous('down')).end - before.length >= 400, 'scrolled well past the first runs');
    await scrollTo('top', 18);
    assert.ok(before.length - (await assertContiguous('up')).start >= 300, 'scrolled well above the typed prefix');

    // The wheel scrolls the list as well.
    const top = (await shown())[0];
    await list.hover();
    for (let i = 0; i < 5; i++) await page.mouse.wheel(0, -4000);
    await page.waitForFunction((first) => document.querySelector('#index-list li').dataset.word !== first, top);
    await assertContiguous('after the wheel');
  });

  test('a favourite survives an engine restart, and history records lookups', async (t) => {
    const page = await app.open(t);
    const favourites = async () => (await ask('GetManagedWords', 'favourites')).words ?? [];
    await showWord(page, 'dog');
    await page.locator('#favourite').click();
    assert.equal(await page.locator('#favourite').getAttribute('aria-pressed'), 'true');
    await page.locator('#favourites-list li[data-word="dog"]').waitFor({ state: 'attached' });
    // The stored list is the page's JSON array, read back through the engine.
    await waitFor(async () => (await favourites()).includes('dog'));

    assert.equal(await app.engine.stop(), 0, 'the engine stopped cleanly');
    await page.locator('#search').fill('do');
    await page.locator('#message').waitFor();
    assert.match(await page.locator('#message').innerText(), /The dictionary engine is not running/);
    await app.restart();
    await page.reload();
    for (const list of ['favourites', 'history']) {
      await page.locator(`#tab-${list}`).click();
      await page.locator(`#${list}-list li[data-word="dog"]`).waitFor();
    }
    await page.locator('#tab-favourites').click();
    await page.locator('#favourites-list li[data-word="dog"] .word').click();
    await page.waitForFunction(() => document.querySelector('#favourite').getAttribute('aria-pressed') === 'true');
    await page.locator('#favourite').click();
    await waitFor(async () => !(await favourites()).includes('dog'));
  });

  test('the speaker reports a damaged download and plays a recording from the pronunciation server', async (t) => {
    const page = await app.open(t);
    const downloads = () => readdirSync(join(app.dir.app, 'downloads'));
    const { downloadUrl } = await ask('GetAudioFile', 'dog');
    assert.ok(downloadUrl, 'not in the cache');
    await page.route(downloadUrl, (route) => route.fulfill({
      status: 200, body: 'not a compressed recording', headers: { 'Access-Control-Allow-Origin': '*' },
    }));
    await showWord(page, 'dog');
    await page.locator('#LXSpeaker').click();
    await page.locator('#message').waitFor();
    assert.equal(await page.locator('#message').innerText(), 'Lexora could not open the audio file.');
    assert.deepEqual(downloads(), [], 'the download was consumed');
    assert.ok((await ask('GetAudioFile', 'dog')).downloadUrl, 'nothing was cached');

    if (!audio.server) {
      t.skip(`pronunciation server not started: ${audio.reason}`);
      return;
    }
    await showWord(page, 'cat');
    assert.ok((await ask('GetAudioFile', 'cat')).downloadUrl, 'the cache starts empty');
    await page.locator('#LXSpeaker').click();
    await page.waitForFunction(() => /\/pron\/vox_/.test(document.querySelector('#player').src));
    await page.waitForFunction(() => document.querySelector('#player').duration > 0);
    assert.ok((await ask('GetAudioFile', 'cat')).playUrl, 'the recording is cached');

    await page.locator('#settings summary').click();
    await page.locator('#clear-audio').click();
    await page.locator('#message.notice').waitFor();
    assert.ok(!existsSync(join(app.dir.app, 'pron')), 'the audio cache was removed');
  });
});
