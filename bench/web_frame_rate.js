// Frame rate of each scene in the built page, in headless Chromium with SwiftShader WebGL.
//
//   tests/web/with_driver.sh node bench/web_frame_rate.js [build/web]
//
// Holds the clock with `?t=` in each scene (the page still draws every animation frame) and
// counts the frames drawn over a few seconds, at 640x360 and 1280x720, side by side in one run.
'use strict';
const path = require('path');
const { openBrowser, frameRate } = require('../tests/web/browser.js');

const kScenes = [
  { name: 'title', time: 10.0 },
  { name: 'metaballs', time: 40.0 },
  { name: 'metaballs + greetings', time: 80.0 },
];
const kSizes = [[640, 360], [1280, 720]];
const kMeasureMs = 4000;

(async () => {
  const folder = process.argv[2] || path.join(__dirname, '..', 'build', 'web');
  const { browser, url, close } = await openBrowser(folder);
  const page = await browser.newPage();
  const header = kSizes.map(([w, h]) => `${w}x${h}`.padStart(10)).join('');
  console.log(`${'scene'.padEnd(24)}${header}  (frames per second)`);
  for (const scene of kScenes) {
    const rates = [];
    for (const [width, height] of kSizes) {
      await page.setViewport({ width, height, deviceScaleFactor: 1 });
      await page.goto(`${url}?t=${scene.time}`);
      await page.waitForFunction((t) => window.demoTime === t, { timeout: 120000 }, scene.time);
      rates.push((await frameRate(page, kMeasureMs)).fps);
    }
    console.log(`${scene.name.padEnd(24)}${rates.map((r) => r.toFixed(1).padStart(10)).join('')}`);
  }
  await close();
})().catch((error) => {
  console.error(`web_frame_rate: ${error.stack || error}`);
  process.exit(1);
});
