// The app when the dictionary database is missing, and once it appears.
import assert from 'node:assert/strict';
import { mkdirSync, symlinkSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { APPDIR, engineRequest, hasDictionary, launchBrowser, makeAppDir, openApp, startEngine } from './harness.mjs';

const DATABASE_ERROR = 'Lexora could not open the dictionary database. Please reinstall Lexora.';

test('a missing database shows the database message; once it is there, lookups work and lists are kept', async (t) => {
  const dir = makeAppDir({ withData: false });
  mkdirSync(dir.lists);
  writeFileSync(join(dir.lists, 'history'), '["dog"]');
  const engine = await startEngine(dir);
  const browser = await launchBrowser();
  t.after(async () => {
    await browser.close();
    await engine.stop();
  });
  const page = await openApp(t, browser, engine.url, {}, '#message');
  const message = page.locator('#message');
  assert.equal(await message.innerText(), DATABASE_ERROR);
  assert.equal(await page.locator('#index-list li').count(), 0);
  await page.locator('#search').fill('cat');
  await page.locator('#search').press('Enter');
  await page.waitForTimeout(300);
  assert.equal(await message.innerText(), DATABASE_ERROR);
  assert.ok(await page.locator('#definition').isHidden());

  if (!hasDictionary) {
    t.diagnostic('no dictionary to add: the recovery part was not checked');
    return;
  }
  symlinkSync(join(APPDIR, 'data'), join(dir.app, 'data'));
  await page.locator('#search').press('Enter');
  await page.locator('#view .header').waitFor();
  assert.ok(await message.isHidden());
  // The history that could not be read before is extended, not replaced.
  await page.waitForFunction(() => document.querySelectorAll('#history-list li').length === 2);
  assert.deepEqual((await engineRequest(engine, 'GetManagedWords', ['history'])).words, ['cat', 'dog']);
});
