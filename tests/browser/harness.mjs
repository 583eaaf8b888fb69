// Runs the real programs for the browser tests: the engine (lxcore) in a
// scratch application directory, the pronunciation server (lxaudio), and
// headless Chromium driven through playwright-core.
//
// Environment (set by tests/run.d/browser.sh): BUILD, the build folder with
// host/lxcore and tools/lxaudio/lxaudio; APPDIR, the application directory
// whose web files and data the scratch directories use. Optional: CHROMIUM.
import { spawn } from 'node:child_process';
import { cpSync, existsSync, mkdirSync, mkdtempSync, readdirSync, rmSync, symlinkSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import assert from 'node:assert/strict';
import { after, before } from 'node:test';
import { chromium } from 'playwright-core';

export const BUILD = resolve(process.env.BUILD ?? 'build');
export const APPDIR = resolve(process.env.APPDIR ?? join(BUILD, 'appdir'));
export const SCREENSHOTS = join(BUILD, 'screenshots');
const LXCORE = join(BUILD, 'host', 'lxcore');
const LXAUDIO = join(BUILD, 'tools', 'lxaudio', 'lxaudio');
const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';
// The engine's download addresses name this port (a build setting of lxcore).
const AUDIO_PORT = 7771;

export const hasDictionary = existsSync(join(APPDIR, 'data', 'wordnet.lxd'));
export const NO_DICTIONARY = `no dictionary at ${join(APPDIR, 'data', 'wordnet.lxd')}: build it with lxdbuild to run this test`;

const scratch = [];
const running = new Set();
process.on('exit', () => {
  for (const child of running) child.kill('SIGKILL');
  for (const path of scratch) rmSync(path, { recursive: true, force: true });
});

// A fresh application directory: the web files of APPDIR copied, its data
// linked (when `withData`), and empty pron/, downloads/ and list folders.
export function makeAppDir({ withData = true } = {}) {
  const base = mkdtempSync(join(tmpdir(), 'lexora-browser-'));
  scratch.push(base);
  const app = join(base, 'app');
  mkdirSync(app);
  for (const entry of readdirSync(APPDIR)) {
    if (['data', 'pron', 'downloads', 'audiocache'].includes(entry) || entry.startsWith('.')) continue;
    cpSync(join(APPDIR, entry), join(app, entry), { recursive: true });
  }
  if (withData) symlinkSync(join(APPDIR, 'data'), join(app, 'data'));
  return { app, lists: join(base, 'lists') };
}

const isAnswering = (url) => fetch(url, { signal: AbortSignal.timeout(500) }).then(() => true, () => false);

// Polls `condition` every 50 ms until it holds; throws after `timeout` ms.
export async function waitFor(condition, timeout = 5000) {
  const deadline = Date.now() + timeout;
  while (!(await condition())) {
    if (Date.now() > deadline) throw new Error('condition not met in time');
    await new Promise((done) => setTimeout(done, 50));
  }
}

// Starts a program and resolves once it says on which port it listens
// ("listening on ...127.0.0.1:PORT"); `stop()` ends it with SIGTERM (SIGKILL
// after 5 s) and resolves with its exit code.
async function startProgram(command, args, options) {
  const child = spawn(command, args, { ...options, stdio: ['ignore', 'pipe', 'pipe'] });
  running.add(child);
  child.once('exit', () => running.delete(child));
  let output = '';
  const collect = (chunk) => { output = (output + chunk).slice(-20000); };
  child.stdout.on('data', collect);
  child.stderr.on('data', collect);
  const exited = new Promise((done) => child.once('exit', (code, signal) => done(code ?? signal)));
  const listening = () => /listening on \S*127\.0\.0\.1:(\d+)\D/.exec(output)?.[1];
  try {
    await waitFor(() => child.exitCode !== null || listening(), 15000);
    if (child.exitCode !== null) throw new Error('exited');
  } catch {
    child.kill('SIGKILL');
    throw new Error(`${command} did not start:\n${output}`);
  }
  return {
    port: Number(listening()),
    async stop() {
      if (child.exitCode === null) child.kill('SIGTERM');
      const timer = setTimeout(() => child.kill('SIGKILL'), 5000);
      const code = await exited;
      clearTimeout(timer);
      return code;
    },
  };
}

export async function startEngine(dir, port = 0) {
  const env = { ...process.env, LXCORE_PORT: String(port), LXCORE_DATA_DIR: dir.lists, SDL_VIDEODRIVER: 'dummy' };
  const engine = await startProgram(LXCORE, [], { cwd: dir.app, env });
  return { ...engine, url: `http://127.0.0.1:${engine.port}/` };
}

// The pronunciation server on the port the engine's download addresses name;
// null (with the reason) when that port is taken by another program.
export async function startAudioServer() {
  if (await isAnswering(`http://127.0.0.1:${AUDIO_PORT}/`)) {
    return { server: null, reason: `port ${AUDIO_PORT} is already in use` };
  }
  const cwd = mkdtempSync(join(tmpdir(), 'lexora-audio-'));
  scratch.push(cwd);
  symlinkSync(join(APPDIR, 'data'), join(cwd, 'data'));
  const env = { ...process.env, LXAUDIO_PORT: String(AUDIO_PORT) };
  const server = await startProgram(LXAUDIO, [], { cwd, env });
  return { server, reason: '' };
}

export async function launchBrowser() {
  return chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--autoplay-policy=no-user-gesture-required',
    ],
  });
}

// For a suite whose tests share one engine (on a copy of the application
// directory) and one browser: started before its tests, stopped after them.
// The returned object holds `dir`, `engine` and `browser` while the tests
// run; `ask(method, ...params)` calls the engine as a script outside the page
// would, `restart()` starts a stopped engine again on its port, `open(t,
// options)` opens the app in a new context (1100x760 unless `options` say
// otherwise) and `show(page, word)` looks a word up through the search field
// and waits for the headword the engine gives for it.
export function sharedEngineAndBrowser() {
  const shared = {
    ask: (method, ...params) => engineRequest(shared.engine, method, params),
    restart: async () => { shared.engine = await startEngine(shared.dir, shared.engine.port); },
    open: (t, options) => openApp(t, shared.browser, shared.engine.url, { viewport: { width: 1100, height: 760 }, ...options }),
    async show(page, word) {
      if (await page.locator('#search').isHidden()) await page.locator('#back-to-index').click();
      await page.locator('#search').fill(word);
      await page.locator('#search').press('Enter');
      await waitForHeader(page, (await shared.ask('GetDefinition', word)).word);
    },
  };
  before(async () => {
    shared.dir = makeAppDir();
    shared.engine = await startEngine(shared.dir);
    shared.browser = await launchBrowser();
  });
  after(async () => {
    await shared.browser?.close();
    await shared.engine?.stop();
  });
  return shared;
}

// The HTML of `root` without the text of the labels the app rewords (parts
// of speech, link kinds, thesaurus annotations) and without the pronunciation
// link, whose symbol images the app writes as text; runs in the page.
export function withoutLabels(root) {
  const copy = root.cloneNode(true);
  copy.querySelector('.pron a[href="~showipa"]')?.remove();
  for (const label of copy.querySelectorAll('.wordtype, p.link > i, p.thes i')) {
    if (label.firstChild?.nodeType === Node.TEXT_NODE) label.firstChild.textContent = '';
  }
  return copy.innerHTML;
}

// Waits until the view's header shows `headword`.
export const waitForHeader = (page, headword) => page.waitForFunction(
  (text) => document.querySelector('#view .header')?.firstChild?.textContent.trim() === text, headword);

// Opens the app at `url` in a new browser context made with `options` and
// waits for `ready` (the index); script errors on the page fail the test `t`.
export async function openApp(t, browser, url, options, ready = '#index-list li') {
  const context = await browser.newContext(options);
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
  await page.goto(url);
  await page.waitForSelector(ready);
  return page;
}

// Calls the engine directly, as a script outside the page would.
export async function engineRequest(engine, method, params) {
  const response = await fetch(`${engine.url}pdl/request`, {
    method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify({ method, params }),
  });
  return JSON.parse(await response.text());
}

export function screenshotPath(name) {
  mkdirSync(SCREENSHOTS, { recursive: true });
  return join(SCREENSHOTS, name);
}
