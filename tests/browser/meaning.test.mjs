// The app's "By meaning" pane against the real engine and dictionary.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { hasDictionary, NO_DICTIONARY, screenshotPath, sharedEngineAndBrowser } from './harness.mjs';

describe('finding a word by its meaning', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  const app = sharedEngineAndBrowser();

  const listed = (page) => page.locator('#meaning-list li').evaluateAll(
    (items) => items.map((item) => `${item.dataset.word}:${item.dataset.sense}`));

  async function waitForResults(page, text) {
    const answer = await app.ask('SearchDefinitions', text, 25);
    const expected = answer.results.map((r) => `${r.word}:${r.sense}`);
    await page.waitForFunction((first) => {
      const item = document.querySelector('#meaning-list li');
      return item && `${item.dataset.word}:${item.dataset.sense}` === first;
    }, expected[0]);
    assert.deepEqual(await listed(page), expected);
    return answer;
  }

  test('the pane lists the engine\'s results and a result opens its sense', async (t) => {
    const page = await app.open(t);
    await page.locator('#tab-meaning').click();
    await page.locator('#search').fill('fear of spiders');
    const answer = await waitForResults(page, 'fear of spiders');
    assert.equal(answer.results[0].word, 'arachnophobia');
    assert.match(await page.locator('#meaning-list li').first().innerText(), /arachnophobia\s+noun\s+a morbid fear of spiders/);
    await page.screenshot({ path: screenshotPath('meaning.png') });

    await page.locator('#meaning-list li').first().click();
    await page.waitForSelector('#definition:not([hidden]) [data-view="links"][aria-selected="true"]');
    assert.match(await page.locator('#view').innerText(), /a morbid fear of spiders/);
    // Typing again searches again while the pane is open.
    await page.locator('#search').fill('a young cat');
    await waitForResults(page, 'a young cat');
  });

  test('several words that are no headword are searched by meaning on Enter', async (t) => {
    const page = await app.open(t);
    await page.locator('#search').fill('person who studies birds');
    await page.locator('#search').press('Enter');
    await page.waitForSelector('[data-pane="meaning"]:not([hidden])');
    await waitForResults(page, 'person who studies birds');
    assert.ok(await page.locator('#message').isHidden());
  });

  test('a description too long to search whole says so; one of stop words finds nothing', async (t) => {
    const page = await app.open(t);
    await page.locator('#tab-meaning').click();
    await page.locator('#search').fill(`${'very '.repeat(120)}small dog`);
    await page.locator('#search').press('Enter');
    await page.waitForFunction(() => /Only the first words/.test(document.querySelector('#meaning-status').textContent));
    await page.locator('#search').fill('of the and');
    await page.locator('#search').press('Enter');
    await page.waitForFunction(() => /No definition matches/.test(document.querySelector('#meaning-status').textContent));
    assert.equal(await page.locator('#meaning-list li').count(), 0);
  });
});
