// Pronunciations in the app: the engine's symbol images become text in the
// line's own font, copy as IPA, carry a label and are explained by the key.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { hasDictionary, NO_DICTIONARY, screenshotPath, sharedEngineAndBrowser } from './harness.mjs';

const SCREENS = [['desktop', { width: 1100, height: 760 }], ['phone', { width: 320, height: 480 }]];
// water from the CMU list; podcast from eSpeak NG; tv announcer word by word.
const WORDS = [['water', 'ˈwɔtɚ'], ['podcast', null], ['tv announcer', null]];

describe('pronunciations', { skip: hasDictionary ? false : NO_DICTIONARY }, () => {
  const app = sharedEngineAndBrowser();

  async function keySymbols(page) {
    await page.locator('#view a[href="~showipa"]').click();
    const symbols = await page.locator('#ipa-symbols .symbol').allTextContents();
    await page.keyboard.press('Escape');
    return symbols;
  }

  test('image names that are no symbol stay images; the rest of the line is still text', async (t) => {
    const page = await app.open(t);
    const cases = [
      ['<img src="images/ipa/02C8.svg">k<img src="images/ipa/00E6.svg">t', 'ˈkæt', 0],
      ['k<img src="images/ipa/110000.svg">t', 'kt', 1],  // beyond Unicode
      ['k<img src="images/other.svg">t', 'kt', 1],
    ];
    const shown = await page.evaluate(async (lines) => {
      const { showPronunciationAsText } = await import('./js/pronunciation.js');
      return lines.map(([html]) => {
        const view = Object.assign(document.createElement('div'), { innerHTML: `<p class="pron"><a href="~showipa">cat /${html}/</a></p>` });
        showPronunciationAsText(view);
        return [view.querySelector('a').textContent, view.querySelectorAll('img').length];
      });
    }, cases);
    assert.deepEqual(shown, cases.map(([, text, images]) => [`cat /${text}/`, images]));
  });

  for (const [screen, viewport] of SCREENS) {
    test(`are text in the line's font, copy as IPA and use only the key's symbols (${screen})`, async (t) => {
      const page = await app.open(t, { viewport });
      for (const [word, known] of WORDS) {
        await app.show(page, word);
        const line = await page.locator('#view .pron a[href="~showipa"]').evaluate((link) => {
          const ipa = link.querySelector('.ipa');
          const style = (node) => ['fontFamily', 'fontSize', 'color', 'verticalAlign'].map((p) => getComputedStyle(node)[p]);
          getSelection().selectAllChildren(link);
          return {
            images: link.querySelectorAll('img').length, ipa: ipa?.textContent, label: link.getAttribute('aria-label'),
            copied: getSelection().toString(), sameStyle: JSON.stringify(style(ipa)) === JSON.stringify(style(link)),
            fits: document.documentElement.scrollWidth <= innerWidth,
          };
        });
        assert.equal(line.images, 0, word);
        if (known) assert.equal(line.ipa, known);
        assert.ok(line.copied.includes(`/${line.ipa}/`), `${word} copies as ${line.copied}`);
        assert.ok(line.label.includes(`/${line.ipa}/`), line.label);
        assert.ok(line.sameStyle && line.fits, word);
        const symbols = await keySymbols(page);
        // Letters read as in English need no key.
        const explained = [...symbols.sort((a, b) => b.length - a.length), '[bdfhklmnpstvwz\\s]'];
        const unexplained = line.ipa.replace(new RegExp(explained.join('|'), 'g'), '');
        assert.equal(unexplained, '', `${word} /${line.ipa}/`);
        await page.mouse.move(0, 0);
        await page.evaluate(() => { getSelection().removeAllRanges(); document.activeElement.blur(); });
        await page.screenshot({ path: screenshotPath(`pronunciation-${word.replace(' ', '-')}-${screen}.png`) });
      }
    });
  }
});
