// A form that is a headword of its own (ate: the goddess Ate) shows the line
// "past tense of eat" under its header; the base is a word link that opens it.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import {
  engineRequest, hasDictionary, launchBrowser, makeAppDir, NO_DICTIONARY, screenshotPath, startEngine,
} from './harness.mjs';

describe('form-of lines', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  let engine, browser;

  before(async () => {
    engine = await startEngine(makeAppDir());
    browser = await launchBrowser();
  });

  after(async () => {
    await browser?.close();
    await engine?.stop();
  });

  test('ate shows a styled line whose link opens eat', async () => {
    const page = await (await browser.newContext({ viewport: { width: 1100, height: 760 } })).newPage();
    await page.goto(engine.url);
    await page.waitForSelector('#index-list li');
    await page.locator('#search').fill('ate');
    await page.locator('#search').press('Enter');
    const line = page.locator('#view .formof', { hasText: 'past tense of' });
    await line.waitFor();
    // The line sits right under the header lines (headword, pronunciation)
    // and is styled apart from the senses.
    const above = await page.evaluate(() => document.querySelector('#view .formof').previousElementSibling.className);
    assert.ok(['header', 'pron'].includes(above), above);
    assert.equal(await line.evaluate((node) => getComputedStyle(node).fontStyle), 'italic');
    await page.screenshot({ path: screenshotPath('formof.png') });

    await line.locator('a[href="eat"]').click();
    const eat = (await engineRequest(engine, 'GetDefinition', ['eat'])).word;
    await page.waitForFunction((text) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === text, eat);
    await page.context().close();
  });
});
