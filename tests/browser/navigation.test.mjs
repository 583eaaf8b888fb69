// Moving around the app: the tab's history, addresses opened from outside,
// the keyboard, saved lists as people read them, printing and sharing, the
// reader's labels and the phone layout.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { describe, test } from 'node:test';
import { hasDictionary, NO_DICTIONARY, screenshotPath, sharedEngineAndBrowser, waitForHeader } from './harness.mjs';

const DESKTOP = { viewport: { width: 1280, height: 800 } };

describe('moving around the app', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  const app = sharedEngineAndBrowser();
  const { ask } = app;

  const shown = (page) => page.evaluate(() => ({
    search: document.querySelector('#search').value,
    selected: document.querySelector('#index-list [aria-selected="true"]')?.dataset.word,
    view: document.querySelector('#view').dataset.view,
    scroll: Math.round(document.querySelector('#view').scrollTop),
    title: document.title,
    start: !document.querySelector('#welcome').hidden && document.querySelector('#definition').hidden,
  }));
  const waitForStart = (page) => page.waitForFunction(() => !document.querySelector('#welcome').hidden);
  const waitForSelected = (page, word) => page.waitForFunction(
    (text) => document.querySelector('#index-list [aria-selected="true"]')?.dataset.word === text, word);

  test('Back and Forward restore the word, its view and scroll; the field and index follow', async (t) => {
    const page = await app.open(t, DESKTOP);
    await app.show(page, 'run');
    await page.locator('.view-tabs [data-view="thesaurus"]').click();
    const scroll = await page.locator('#view').evaluate((view) => { view.scrollTop = 900; return Math.round(view.scrollTop); });
    assert.ok(scroll > 300, 'the thesaurus of run is long');
    // A link in sight, followed without scrolling the view.
    const target = await page.locator('#view').evaluate((view) => {
      const link = [...view.querySelectorAll('p.thes a')].find((a) => a.getBoundingClientRect().top > view.getBoundingClientRect().top);
      link.click();
      return link.textContent;
    });
    await waitForHeader(page, (await ask('GetDefinition', target)).word);
    await page.goBack();
    await waitForHeader(page, 'run');
    await page.waitForFunction(() => document.querySelector('#view').scrollTop > 0);
    await waitForSelected(page, 'run');
    assert.deepEqual(await shown(page), { search: 'run', selected: 'run', view: 'thesaurus', scroll, title: 'run - Lexora', start: false });
    await page.locator('#back').click();
    await waitForStart(page);
    const [first] = (await ask('GetIndexWords', '', 1, 1, 0)).words;
    await waitForSelected(page, first);
    assert.deepEqual(await shown(page), { search: '', selected: first, view: 'thesaurus', scroll: 0, title: 'Lexora', start: true });
    await page.goForward();
    await page.waitForFunction(() => document.querySelector('#search').value === 'run' && !document.querySelector('#definition').hidden);
  });

  test('word addresses open the word from anywhere; bad ones open the start or did-you-mean page', async (t) => {
    const page = await app.open(t, DESKTOP);
    const url = app.engine.url;
    for (const [address, header] of [['?q=serendipity', 'serendipity'], ['cat', 'cat'], ['cat%3A2', 'cat'], ['#dogs', 'dog']]) {
      await page.goto(url + address);
      await waitForHeader(page, header);
      if (address !== '#dogs') assert.equal(page.url(), `${url}#${address.replace('?q=', '')}`);
    }
    // A word link opened in a new tab (Control and click) opens the word there.
    const link = page.locator('#view .syn a').first();
    const [tab] = await Promise.all([page.context().waitForEvent('page'), link.click({ modifiers: ['Control'] })]);
    await waitForHeader(tab, (await ask('GetDefinition', await link.getAttribute('href'))).word);
    for (const address of ['#%%', `?q=${'x'.repeat(2000)}`, '?q=nosuchwordzz', '?q=', '%%']) {
      await page.goto('about:blank');
      await page.goto(url + address);
      await page.waitForFunction(() => !document.querySelector('#welcome').hidden || document.querySelector('#message.notice'));
      assert.ok(await page.locator('#definition').isHidden(), address);
    }
  });

  test('the keyboard opens a typed beginning, walks results by meaning, and Escape closes the settings', async (t) => {
    const page = await app.open(t, DESKTOP);
    const search = page.locator('#search');
    await search.fill('recei');
    await page.waitForFunction(() => /^recei./.test(document.querySelector('#index-list [aria-selected="true"]')?.dataset.word));
    const row = await page.locator('#index-list [aria-selected="true"]').getAttribute('data-word');
    await search.press('Enter');
    await waitForHeader(page, row);

    await page.locator('#tab-meaning').click();
    await search.fill('fear of spiders');
    await search.press('Enter');
    const { results } = await ask('SearchDefinitions', 'fear of spiders', 25);
    await page.waitForFunction((word) => document.querySelector('#meaning-list li')?.dataset.word === word, results[0].word);
    for (const key of ['ArrowDown', 'ArrowDown', 'ArrowUp', 'ArrowDown', 'Enter']) await search.press(key);
    await page.waitForFunction((gloss) => document.querySelector('#view').innerText.includes(gloss), results[1].gloss);
    assert.ok(await page.locator('#meaning-list').isVisible(), 'the arrows stayed in the results');
    // Tab reaches the results; Enter opens the one focused.
    await search.focus();
    for (let presses = 0; presses < 10 && !(await page.evaluate(() => document.activeElement.matches('#meaning-list li'))); presses++) {
      await page.keyboard.press('Tab');
    }
    await page.keyboard.press('Enter');
    await page.waitForFunction((gloss) => document.querySelector('#view').innerText.includes(gloss), results[0].gloss);

    await page.locator('#settings summary').click();
    await page.locator('#hide-offensive').focus();
    await page.keyboard.press('Escape');
    assert.deepEqual(await page.evaluate(() => [document.querySelector('#settings').open, document.activeElement.tagName]), [false, 'SUMMARY']);
  });

  test('lists show and export senses as written, import only headwords, and clearing can be undone', async (t) => {
    const page = await app.open(t, DESKTOP);
    await ask('SetManagedWords', 'history', JSON.stringify(['glad:1', 'cat']));
    await page.reload();
    await page.locator('#tab-history').click();
    const labels = () => page.locator('#history-list .word').allInnerTexts();
    await page.locator('#history-list li').first().waitFor();
    assert.deepEqual(await labels(), ['glad (sense 1)', 'cat']);
    const [download] = await Promise.all([page.waitForEvent('download'), page.locator('#export-history').click()]);
    assert.equal(readFileSync(await download.path(), 'latin1'), 'glad (sense 1)\r\ncat\r\n');

    const file = 'dog\r\n123 not a word!!\r\nzzzzqqq\r\ncats\r\nhappy (sense 2)\r\n';
    await page.locator('#import-history-file').setInputFiles({ name: 'words.txt', mimeType: 'text/plain', buffer: Buffer.from(file) });
    await page.locator('#message.notice').waitFor();
    assert.equal(await page.locator('#message').innerText(),
      '2 words added to the history; 1 was there already; 2 lines skipped because they are not a word.');
    assert.deepEqual((await ask('GetManagedWords', 'history')).words, ['glad:1', 'cat', 'dog', 'happy:2']);

    await page.locator('#clear-history').click();
    await page.locator('#message button', { hasText: 'Undo' }).click();
    await page.waitForFunction(() => document.querySelectorAll('#history-list li').length === 4);
    assert.deepEqual(await labels(), ['glad (sense 1)', 'cat', 'dog', 'happy (sense 2)']);
  });

  test('an entry prints alone over its pages, copies as text and shares its address', async (t) => {
    const page = await app.open(t, DESKTOP);
    await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
    await app.show(page, 'run');
    const clipboard = () => page.evaluate(() => navigator.clipboard.readText());
    await page.locator('#copy-entry').click();
    await page.locator('#message.notice').waitFor();
    const text = await clipboard();
    assert.ok(text.startsWith('run') && text.includes(await page.locator('#view .definition').last().innerText()), 'the whole entry');
    assert.doesNotMatch(text, /<\w/);
    await page.locator('#share-word').click();
    await page.waitForFunction(() => /address/.test(document.querySelector('#message').textContent));
    assert.equal(await clipboard(), `${app.engine.url}#run`);

    await page.emulateMedia({ media: 'print' });
    assert.deepEqual(await page.evaluate(() => ['.topbar', '.browser', '.entry-bar', '#message']
      .filter((selector) => document.querySelector(selector).checkVisibility())), []);
    assert.ok(await page.locator('#view').evaluate((view) => view.scrollHeight <= view.clientHeight + 1), 'nothing cut off');
    const pdf = screenshotPath('print-run.pdf');
    await page.pdf({ path: pdf });
    if (existsSync('/usr/bin/pdfinfo')) {
      assert.ok(Number(/Pages:\s+(\d+)/.exec(execFileSync('pdfinfo', [pdf], { encoding: 'utf8' }))[1]) > 3, 'every sense, over pages');
      execFileSync('pdftoppm', ['-png', '-r', '60', '-f', '1', '-l', '2', pdf, screenshotPath('print-run')]);
    }
  });

  test('the views use a reader\'s labels; on a phone the tabs fit a row and the key opens at its top', async (t) => {
    for (const viewport of [{ width: 320, height: 568 }, { width: 360, height: 640 }]) {
      const page = await app.open(t, { viewport });
      await app.show(page, 'glad');
      const tabTops = await page.locator('.view-tabs [role="tab"]:not([hidden])').evaluateAll((tabs) => tabs.map((tab) => tab.offsetTop));
      assert.equal(new Set(tabTops).size, 1, `one row at ${viewport.width} px`);
      assert.ok(await page.locator('#back').isVisible());
      let texts = '';
      for (const view of ['thesaurus', 'links']) {
        await page.locator(`.view-tabs [data-view="${view}"]`).click();
        texts += await page.locator('#view').innerText();
      }
      await app.show(page, 'beaming');
      texts += await page.locator('#view').innerText();
      assert.doesNotMatch(texts, /satellite|hypernym|holonym|similar term/);
      for (const label of ['broader terms:', 'member of:', 'happy, willing (similar)', '\nadjective\n']) assert.ok(texts.includes(label), label);
      await page.screenshot({ path: screenshotPath(`phone-${viewport.width}.png`) });
      await page.locator('#view a[href="~showipa"]').click();
      assert.equal(await page.locator('#ipa-key').evaluate((dialog) => dialog.scrollTop), 0);
      assert.ok(await page.locator('#ipa-key-title').isVisible());
    }
  });
});
