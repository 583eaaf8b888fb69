// Finding words in the app: suggestions for a word not found, wildcard and
// sounds-like lists in the index pane, the random word, the offensive-word
// filter, word list files, thesaurus links, the dark scheme and narrow screens.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { describe, test } from 'node:test';
import {
  hasDictionary, NO_DICTIONARY, screenshotPath, sharedEngineAndBrowser, waitFor, withoutLabels,
} from './harness.mjs';

describe('finding words', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  const app = sharedEngineAndBrowser();
  const { ask } = app;

  const open = (t, options) => app.open(t, { colorScheme: 'light', ...options });

  const indexWords = (page) => page.locator('#index-list').evaluate((ul) => [...ul.children].map((li) => li.dataset.word));
  const header = (page) => page.locator('#view .header').evaluate((h) => h.firstChild.textContent.trim());

  test('a word not found offers the spelling suggestions first, then the index neighbours', async (t) => {
    const page = await open(t);
    const { words: meant } = await ask('GetSpellingSuggestions', 'definately', 5);
    assert.ok(meant.length > 0, 'the engine has suggestions');
    await page.locator('#search').fill('definately');
    await page.locator('#search').press('Enter');
    await page.locator('#message .suggestions').waitFor();
    assert.match(await page.locator('#message').innerText(), /could not find definitions for "definately"/);
    const lines = await page.locator('#message p').evaluateAll((ps) => ps.map((p) => p.className));
    assert.deepEqual(lines.slice(1), ['did-you-mean', 'suggestions']);
    assert.deepEqual(await page.locator('#message .did-you-mean a').allInnerTexts(), meant);
    const neighbours = await page.locator('#message .suggestions a').allInnerTexts();
    assert.ok(neighbours.every((word) => !meant.includes(word)), 'no word offered twice');
    await page.locator('#message .did-you-mean a').first().click();
    await page.waitForFunction((word) => document.querySelector('#view .header')?.textContent.includes(word), meant[0]);
    assert.ok(await page.locator('#message').isHidden());
  });

  test('a pattern lists its matches in the index pane, page after page, and Enter shows the first', async (t) => {
    const page = await open(t, { viewport: { width: 1100, height: 500 } });
    const truth = (await ask('GetWildcardWords', '*ness', 200, '')).words;
    assert.equal(truth.length, 200);
    await page.locator('#search').fill('*ness');
    await page.locator('#index-caption', { hasText: 'Words matching *ness' }).waitFor();
    for (let pass = 0; pass < 3; pass++) {
      const shown = (await indexWords(page)).length;
      await page.locator('#index-list').evaluate((ul) => { ul.scrollTop = ul.scrollHeight; });
      await page.waitForFunction((count) => document.querySelectorAll('#index-list li').length > count, shown);
    }
    const words = await indexWords(page);
    assert.deepEqual(words, truth.slice(0, words.length), 'the engine\'s matches, in order, none repeated');
    assert.ok(words.length >= 120);
    await page.locator('#search').press('Enter');
    await page.waitForFunction((word) => document.querySelector('#view .header')?.textContent.includes(word), truth[0]);

    await page.locator('#search').fill('q?q?q*zz');
    await page.locator('#index-caption', { hasText: 'No word matches q?q?q*zz' }).waitFor();
    assert.deepEqual(await indexWords(page), []);
    // Without a wildcard the pane is the index again.
    await page.locator('#search').fill('mag');
    await page.waitForFunction(() => document.querySelector('#index-caption').hidden &&
      document.querySelector('#index-list [aria-selected="true"]')?.dataset.word === 'mag');
  });

  test('sounds-like lists the words that sound like the query; the random word shows a headword', async (t) => {
    const page = await open(t);
    const { words } = await ask('GetSoundsLike', 'fone', 40);
    assert.ok(words.includes('phone'));
    await page.locator('#search').fill('fone');
    await page.locator('#sounds-like').click();
    await page.locator('#index-caption', { hasText: 'Words that sound like "fone"' }).waitFor();
    await waitFor(async () => (await indexWords(page)).join() === words.join());

    await page.locator('#random-word').click();
    await page.locator('#view .header').waitFor();
    const shown = await header(page);
    assert.equal((await ask('GetDefinition', shown)).word, shown);
  });

  test('hiding offensive words reaches the engine and is kept across restarts', async (t) => {
    const pattern = 'fuck*';
    const all = (await ask('GetWildcardWords', pattern, 50, '')).words;
    assert.ok(all.length > 0);
    let page = await open(t);
    assert.equal(await page.locator('#hide-offensive').isChecked(), false, 'off by default');
    await page.locator('#settings summary').click();
    await page.locator('#hide-offensive').check();
    const filtered = async () => (await ask('GetWildcardWords', pattern, 50, '')).words.length < all.length;
    await waitFor(filtered);
    assert.deepEqual((await ask('GetManagedWords', 'settings')).words, ['hide-offensive-words']);

    assert.equal(await app.engine.stop(), 0);
    await app.restart();
    assert.equal(await filtered(), false, 'the engine starts with the filter off');
    page = await open(t);
    await waitFor(filtered);
    assert.equal(await page.locator('#hide-offensive').isChecked(), true);
    await page.locator('#settings summary').click();
    await page.locator('#hide-offensive').uncheck();
    await waitFor(async () => !(await filtered()));
  });

  test('a list is exported as a text file and a file is merged into it', async (t) => {
    const page = await open(t);
    await ask('SetManagedWords', 'favourites', JSON.stringify(['dog', 'cat']));
    await page.reload();
    await page.locator('#tab-favourites').click();
    const [download] = await Promise.all([page.waitForEvent('download'), page.locator('#export-favourites').click()]);
    assert.equal(download.suggestedFilename(), 'lexora-favourites.txt');
    assert.equal(readFileSync(await download.path(), 'latin1'), 'dog\r\ncat\r\n');

    // Unix, Windows and old Mac line ends; a duplicate; a known word; three bad lines.
    const file = '\ufeffhorse\r\n\r\ncat\nzebra\rhorse\n  owl  \ncaf\u00e9\nbad\u0001line\n' + 'x'.repeat(57) + '\n';
    await page.locator('#import-favourites-file').setInputFiles({ name: 'words.txt', mimeType: 'text/plain', buffer: Buffer.from(file) });
    await page.locator('#message.notice').waitFor();
    assert.equal(await page.locator('#message').innerText(),
      '3 words added to the favourites; 1 was there already; 3 lines skipped because they are not a word.');
    const expected = ['dog', 'cat', 'horse', 'zebra', 'owl'];
    assert.deepEqual(await page.locator('#favourites-list li').evaluateAll((items) => items.map((li) => li.dataset.word)), expected);
    assert.deepEqual((await ask('GetManagedWords', 'favourites')).words, expected);
  });

  test('thesaurus entries are word links and the rest of the view is the engine\'s', async (t) => {
    const page = await open(t);
    const answer = await ask('GetDefinition', 'happy');
    assert.ok(answer.thesaurus);
    await app.show(page, 'happy');
    await page.locator('.view-tabs [data-view="thesaurus"]').click();
    const entries = await page.locator('#view p.thes a').allInnerTexts();
    assert.ok(entries.includes('glad') && entries.includes('felicitous'), entries.join());
    // Unwrapping the links gives back the engine's HTML exactly.
    await page.screenshot({ path: screenshotPath('thesaurus.png') });
    const unwrapped = await page.locator('#view').evaluateHandle((view) => {
      const copy = view.cloneNode(true);
      for (const link of copy.querySelectorAll('p.thes a')) link.replaceWith(link.textContent);
      return copy;
    });
    const engineView = await page.evaluateHandle((html) => Object.assign(document.createElement('div'), { innerHTML: html }), answer.thesaurus);
    assert.equal(await unwrapped.evaluate(withoutLabels), await engineView.evaluate(withoutLabels));
    await page.locator('#view p.thes a', { hasText: /^glad$/ }).first().click();
    await page.waitForFunction(() => document.querySelector('#view .header')?.textContent.startsWith('glad'));
  });

  test('the dark scheme follows the system; no screen needs horizontal scrolling', async (t) => {
    const luminance = (page, selector, property) => page.locator(selector).first().evaluate((element, name) => {
      const [r, g, b] = getComputedStyle(element)[name].match(/\d+/g).map(Number);
      return (0.2126 * r + 0.7152 * g + 0.0722 * b) / 255;
    }, property);
    for (const [name, viewport] of [['desktop', { width: 1100, height: 700 }], ['phone', { width: 320, height: 480 }]]) {
      const page = await open(t, { viewport });
      const overflow = () => page.evaluate(() => [...document.querySelectorAll('html, body, #view, #index-list')]
        .filter((element) => element.scrollWidth > element.clientWidth)
        .map((element) => element.id || element.tagName));
      assert.deepEqual(await overflow(), [], `${name}: the index`);
      for (const word of ['run', 'set', 'cat']) {
        await app.show(page, word);
        assert.deepEqual(await overflow(), [], `${name}: ${word}`);
      }
      for (const colorScheme of ['light', 'dark']) {
        await page.emulateMedia({ colorScheme });
        const dark = colorScheme === 'dark';
        const background = await luminance(page, 'html', 'backgroundColor');
        assert.equal(background < 0.2, dark, `${name} ${colorScheme}: background`);
        // The engine's links carry a dark blue inline; the scheme's colour wins.
        assert.ok(Math.abs((await luminance(page, '#view .syn a', 'color')) - background) > 0.3, `${name} ${colorScheme}: link contrast`);
        await page.screenshot({ path: screenshotPath(`${name}-${colorScheme}.png`) });
      }
    }
  });
});
