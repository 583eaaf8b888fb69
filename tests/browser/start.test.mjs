// The start screen: the word of the day with its first sense and a link to
// its entry, the words looked up last below it, on a desktop and a phone.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { hasDictionary, NO_DICTIONARY, screenshotPath, sharedEngineAndBrowser, waitForHeader } from './harness.mjs';

describe('the start screen', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  const app = sharedEngineAndBrowser();
  const todayIn = (page) => page.evaluate(async () => (await import('./js/start-screen.js')).localDay());

  async function openWithHistory(t, words, options) {
    await app.ask('SetManagedWords', 'history', JSON.stringify(words));
    const page = await app.open(t, options);
    await page.waitForSelector('#word-of-the-day:not([hidden])');
    return page;
  }

  test('shows the word of the day, its first sense and the recent words; the word opens its entry', async (t) => {
    const page = await openWithHistory(t, ['serendipity', 'glad:1']);
    const day = await todayIn(page);
    const { word } = await app.ask('GetWordOfTheDay', day);
    assert.equal((await app.ask('GetWordOfTheDay', day)).word, word, 'the same word all day');
    assert.notEqual((await app.ask('GetWordOfTheDay', day + 1)).word, word, 'a new one the next day');
    const entry = await app.ask('GetDefinition', word);
    assert.equal(await page.locator('.daily-link').textContent(), entry.word);
    const sense = (await page.locator('.daily-sense').textContent()).trim();
    assert.ok(sense.length > 3, `a sense is shown: "${sense}"`);
    const firstSense = entry.dictionary.split('<li class="definition">')[1] ?? '';
    assert.ok(firstSense.startsWith(sense.slice(0, 12)), `"${sense}" opens the first sense of ${word}`);
    assert.deepEqual(await page.locator('.recent-link').allTextContents(), ['serendipity', 'glad (sense 1)']);
    await page.screenshot({ path: screenshotPath('start.png') });

    await page.locator('.daily-link').click();
    await waitForHeader(page, entry.word);
    assert.equal(await page.locator('#welcome').isHidden(), true);
  });

  test('on a phone the word of the day stands above the index until a word is shown', async (t) => {
    const page = await openWithHistory(t, ['serendipity'], { viewport: { width: 360, height: 640 }, isMobile: true, hasTouch: true });
    assert.equal(await page.locator('.daily-link').isVisible(), true);
    assert.equal(await page.locator('#index-list li').first().isVisible(), true);
    const card = await page.locator('#word-of-the-day').boundingBox();
    assert.ok(card.x >= 0 && card.x + card.width <= 360, 'the card fits the screen');
    await page.screenshot({ path: screenshotPath('start-phone.png') });
    await page.locator('#search').fill('ser');
    assert.equal(await page.locator('.daily-link').isVisible(), false, 'typing gives the index the room');
    await page.locator('#search').fill('');

    await page.locator('.recent-link').click();
    await waitForHeader(page, 'serendipity');
    assert.equal(await page.locator('#index-list').isVisible(), false);
  });
});
