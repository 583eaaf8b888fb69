// A form that is a headword of its own (ate: the goddess Ate) shows the line
// "past tense of eat" under its header; the base is a word link that opens it.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import {
  engineRequest, hasDictionary, NO_DICTIONARY, openApp, screenshotPath, sharedEngineAndBrowser,
} from './harness.mjs';

describe('form-of lines', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  const app = sharedEngineAndBrowser();

  test('ate shows a styled line whose link opens eat', async (t) => {
    const page = await openApp(t, app.browser, app.engine.url, { viewport: { width: 1100, height: 760 } });
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
    const eat = (await engineRequest(app.engine, 'GetDefinition', ['eat'])).word;
    await page.waitForFunction((text) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === text, eat);
  });
});
