// The browser build's frame rate standing at the start, at each quality rung, in headless
// Chromium on software WebGL 2 at 1024 × 768: the median of the game's own frame-rate reading
// (F2's) over the last seconds of each stand. Run after scripts/web.sh --no-serve:
//   node bench/web-framerate.mjs build-web [seconds]
import { mkdtemp, rm } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';

import { serve } from '../tests/web/serve.mjs';

const webBuild = resolve(process.argv[2] || 'build-web');
const seconds = Number(process.argv[3] || 25);
const puppeteer = createRequire(join(webBuild, 'node', 'package.json'))('puppeteer-core');

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted.length ? sorted[Math.floor(sorted.length / 2)] : NaN;
};
const pause = (s) => new Promise((done) => setTimeout(done, s * 1000));

const { server, port } = await serve(join(webBuild, 'site'));
const profile = await mkdtemp(join(tmpdir(), 'quillorb-framerate-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist',
         '--no-sandbox', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', '--no-first-run', `--user-data-dir=${profile}`],
});
try {
  for (const rung of ['full', 'high', 'medium', 'low']) {
    const page = await browser.newPage();
    // The stage is the window less the key line; the game draws at the stage's size.
    await page.setViewport({ width: 1024, height: 800 });
    await page.goto(`http://127.0.0.1:${port}/?quality=${rung}&width=1024&height=768`);
    await page.waitForFunction(() => document.body.dataset.state === 'ready', { timeout: 120000 });
    await page.click('#play');
    const readings = [];
    for (let second = 0; second < seconds; ++second) {
      await pause(1);
      if (second >= seconds / 2)
        readings.push((await page.evaluate(() => window.quillorb.status())).fps);
    }
    console.log(`${rung}: ${median(readings).toFixed(1)} fps (readings ${readings
      .map((fps) => fps.toFixed(1)).join(' ')})`);
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
  await rm(profile, { recursive: true, force: true });
}
