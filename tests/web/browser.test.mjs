// The browser build as a player meets it: headless Chromium on software WebGL 2 opens the page
// from a server on 127.0.0.1, clicks to play and reads the race through the page's
// window.quillorb.status(). Prints the bytes the page downloads and the time to the first race
// frame. Run as: node browser.test.mjs WEB_BUILD_DIR (the test writes only below
// WEB_BUILD_DIR/web-test).
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { cp, mkdir, readFile, rm, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { join, resolve } from 'node:path';

import { serve } from './serve.mjs';

const webBuild = resolve(process.argv[2] || 'build-web');
const site = join(webBuild, 'site');
const scratch = join(webBuild, 'web-test');
const puppeteer = createRequire(join(webBuild, 'node', 'package.json'))('puppeteer-core');

const browserFlags = [
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist',
  '--no-sandbox', '--disable-background-networking', '--disable-component-update',
  '--disable-sync', '--no-first-run', '--window-size=1024,768',
];
const downloadLimit = 8 * 1024 * 1024;
const demoVerdict = '/quillorb/replays/demo.qbr": ended as recorded';

let profiles = 0;
async function launch(extraFlags = []) {
  const profile = join(scratch, `profile-${++profiles}`);
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [...browserFlags, ...extraFlags, `--user-data-dir=${profile}`],
    defaultViewport: { width: 1024, height: 768 },
    protocolTimeout: 300000,
  });
}

let server;
let browser;

before(async () => {
  await rm(scratch, { recursive: true, force: true });
  await mkdir(scratch, { recursive: true });
  server = await serve(site);
  browser = await launch();
});

after(async () => {
  await browser?.close();
  server?.server.close();
});

// Opens the page, clicks to play once it may and waits for the race's first frames. The
// game's console lines are kept in page.lines.
async function openGame(url, { play = true } = {}) {
  const page = await browser.newPage();
  page.lines = [];
  page.on('console', (message) => page.lines.push(message.text()));
  await page.goto(url);
  if (!play)
    return page;
  await page.waitForFunction(() => ['ready', 'failed', 'ended'].includes(document.body.dataset.state),
                             { timeout: 60000 });
  assert.deepEqual(await status(page), {}, 'nothing of the game runs before the click');
  await page.click('#play');
  await page.waitForFunction(() => document.body.dataset.state !== 'playing' ||
                                   window.quillorb.status().frames >= 1,
                             { timeout: 90000, polling: 100 });
  return page;
}

const status = (page) => page.evaluate(() => window.quillorb.status());
const distance = (a, b) => Math.hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);

// Waits until the race's status s meets a condition (JavaScript over s). Software WebGL on a
// busy machine may take seconds a frame, so the test waits on frames, never on the clock.
const waitForStatus = (page, condition, seconds = 90) => page.waitForFunction(
  (source) => new Function('s', `return ${source};`)(window.quillorb.status()),
  { timeout: seconds * 1000, polling: 100 }, condition);

// The canvas as the player sees it (a screenshot: WebGL keeps no picture after showing it),
// shrunk: how many colours it holds.
const coloursShown = async (page) => page.evaluate(async (png) => {
  const shown = new Image();
  shown.src = 'data:image/png;base64,' + png;
  await shown.decode();
  const small = document.createElement('canvas');
  small.width = 64;
  small.height = 48;
  const context = small.getContext('2d');
  context.drawImage(shown, 0, 0, 64, 48);
  const pixels = context.getImageData(0, 0, 64, 48).data;
  const colours = new Set();
  for (let i = 0; i < pixels.length; i += 4)
    colours.add((pixels[i] >> 3) << 10 | (pixels[i + 1] >> 3) << 5 | pixels[i + 2] >> 3);
  return colours.size;
}, await (await page.$('#canvas')).screenshot({ encoding: 'base64' }));

const pause = (seconds) => new Promise((done) => setTimeout(done, seconds * 1000));

async function waitForLine(page, text, seconds) {
  for (let waited = 0; waited < seconds; waited += 0.5) {
    if (page.lines.some((line) => line.includes(text)))
      return;
    await pause(0.5);
  }
  assert.fail(`no console line with "${text}" after ${seconds} s; the last ones:\n` +
              page.lines.slice(-8).join('\n'));
}

// Escape ends the game; the page reports it once the player's files are written back.
async function endGame(page) {
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 30000 });
  await page.waitForFunction(() => window.quillorb.filesKept > 0 && !window.quillorb.keeping(),
                             { timeout: 30000 });
}

test('the page downloads at most 8 MB and the race draws, its clock runs and W rolls the marble',
     async () => {
  server.sent.clear();
  const opened = Date.now();
  const page = await openGame(`http://127.0.0.1:${server.port}/`);
  const firstFrame = (Date.now() - opened) / 1000;
  const bytes = ['/quillorb.wasm', '/quillorb.js', '/quillorb.data']
                  .map((path) => server.sent.get(path) || 0);
  const total = bytes.reduce((sum, size) => sum + size, 0);
  console.log(`downloaded: wasm ${bytes[0]} + js ${bytes[1]} + data ${bytes[2]} = ${total} bytes ` +
              `(${(total / 1048576).toFixed(2)} MB); first race frame ${firstFrame.toFixed(1)} s ` +
              'after opening the page');
  assert.ok(bytes.every((size) => size > 0), 'the program, its script and its data are fetched');
  assert.ok(total <= downloadLimit, `${total} bytes downloaded, more than 8 MB`);

  assert.ok(await coloursShown(page) > 20, 'the picture is not blank');
  const start = await status(page);
  await waitForStatus(page, `s.remaining < ${start.remaining} && s.frames >= ${start.frames + 5}`);
  const idle = await status(page);
  assert.ok(distance(idle.marble, start.marble) < 0.5, 'the marble waits without a key');
  await page.keyboard.down('w');
  await waitForStatus(page, `Math.hypot(...s.marble.map((v, i) => v - ${JSON.stringify(idle.marble)}[i])) > 2`);
  await page.keyboard.up('w');
  await page.close();
});

test('the demo replay plays in the page and ends as recorded, with the same win', async () => {
  const page = await openGame(`http://127.0.0.1:${server.port}/?replay=demo`);
  await waitForLine(page, demoVerdict, 240);
  const end = await status(page);
  console.log(`demo in the browser: won at ${end.winningTime.toFixed(2)} s of race time`);
  assert.equal(end.outcome, 'won');
  await page.close();
});

test('settings, the last race and best times survive a reload', async () => {
  const origin = `http://127.0.0.1:${server.port}/`;
  const written = await openGame(`${origin}?write-settings&quality=high`);
  await written.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 30000 });
  await written.waitForFunction(() => window.quillorb.filesKept > 0 && !window.quillorb.keeping());
  await written.close();

  const played = await openGame(origin);
  const settled = await status(played);
  assert.equal(settled.quality, 'high', 'the settings file written before is read');
  // A best time as an earlier race leaves it, put in the player's folder the way the game does.
  await played.evaluate(() => {
    const folder = '/home/web_user/.local/share/quillorb';
    Module.FS.writeFile(folder + '/best-times.toml.tmp',
                        '[[best]]\ndate = 2026-01-02\nseconds = 61.25\n');
    Module.FS.rename(folder + '/best-times.toml.tmp', folder + '/best-times.toml');
  });
  const before = await status(played);
  await played.keyboard.down('w');
  await waitForStatus(played, `s.frames >= ${before.frames + 10}`);
  await played.keyboard.up('w');
  await endGame(played);
  await played.close();

  const again = await openGame(`${origin}?replay=last`);
  assert.equal((await status(again)).best, 61.25, 'the best time is read back');
  const lastReplay = '/home/web_user/.local/share/quillorb/replays/last.qbr';
  await waitForLine(again, `Replay "${lastReplay}": ended as recorded`, 60);
  await again.close();
});

test('a data file missing from the bundle is named once and the race goes on', async () => {
  const missing = 'texture/Ziel.bmp';
  const copy = join(scratch, 'site-without-file');
  await cp(site, copy, { recursive: true });
  const script = await readFile(join(copy, 'quillorb.js'), 'utf8');
  const entry = new RegExp(`\\{"filename":"/quillorb/${missing}"[^}]*\\},?`);
  assert.match(script, entry, 'the bundle lists the file');
  await writeFile(join(copy, 'quillorb.js'), script.replace(entry, ''));
  const other = await serve(copy);
  try {
    const page = await openGame(`http://127.0.0.1:${other.port}/`);
    const before = await status(page);
    await waitForStatus(page, `s.remaining < ${before.remaining} && s.frames >= ${before.frames + 5}`);
    // F4 loads the level's textures again, with the other filter: still named only once.
    await page.keyboard.press('F4');
    await waitForStatus(page, `s.frames >= ${before.frames + 10}`);
    assert.equal(page.lines.filter((line) => line.includes(missing)).length, 1,
                 `named once:\n${page.lines.join('\n')}`);
    await page.close();
  } finally {
    other.server.close();
  }
});

test('without WebGL 2 the page says so in one line', async () => {
  const withoutWebGl2 = await launch(['--disable-webgl2']);
  try {
    const page = await withoutWebGl2.newPage();
    await page.goto(`http://127.0.0.1:${server.port}/`);
    await page.waitForFunction(() => document.body.dataset.state === 'failed');
    const said = await page.$eval('#message', (message) => message.innerText);
    assert.match(said, /^[^\n]*WebGL 2[^\n]*$/);
  } finally {
    await withoutWebGl2.close();
  }
});
