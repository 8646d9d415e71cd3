// Frame rate of each scene in the built page, in headless Chromium with SwiftShader WebGL.
//
//   tests/web/with_driver.sh node bench/web_frame_rate.js [build/web]
//
// Holds the clock with `?t=` in each scene (the page still draws every animation frame) and
// counts the frames drawn over a few seconds, at 640x360 and 1280x720, side by side in one run.
// Beside each rate: the CPU time the browser's GPU process (where SwiftShader draws) spent per
// frame, in ms. It moves much less with the machine's load than the frame rate does, so compare
// builds by it.
'use strict';
const fs = require('fs');
const path = require('path');
const { openBrowser, frameRate } = require('../tests/web/browser.js');

const kScenes = [
  { name: 'title', time: 10.0 },
  { name: 'metaballs', time: 46.0 }, // the march's heaviest moment
  { name: 'metaballs + greetings', time: 80.0 },
];
const kSizes = [[640, 360], [1280, 720]];
const kMeasureMs = 4000;
const kTicksPerSecond = 100; // Linux's USER_HZ, the unit of /proc/PID/stat's CPU times

// CPU time (ms) used so far by the GPU processes among the descendants of process `root`.
function gpuProcessMs(root) {
  const children = new Map(); // parent pid -> child pids
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const parent = /\nPPid:\t(\d+)\n/.exec(fs.readFileSync(`/proc/${pid}/status`, 'utf8'))[1];
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(pid);
    } catch (error) {
      // The process ended while it was read.
    }
  }
  let ticks = 0;
  const pending = [String(root)];
  while (pending.length > 0) {
    const pid = pending.pop();
    pending.push(...(children.get(pid) || []));
    try {
      if (!fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=gpu-process')) continue;
      const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      ticks += Number(fields[11]) + Number(fields[12]); // utime, stime
    } catch (error) {
      // The process ended while it was read.
    }
  }
  return (1000 * ticks) / kTicksPerSecond;
}

(async () => {
  const folder = process.argv[2] || path.join(__dirname, '..', 'build', 'web');
  const { browser, url, close } = await openBrowser(folder);
  const page = await browser.newPage();
  const header = kSizes.map(([w, h]) => `${w}x${h}`.padStart(16)).join('');
  console.log(`${'scene'.padEnd(24)}${header}  (frames per second, GPU process ms per frame)`);
  for (const scene of kScenes) {
    const rates = [];
    for (const [width, height] of kSizes) {
      await page.setViewport({ width, height, deviceScaleFactor: 1 });
      await page.goto(`${url}?t=${scene.time}`);
      await page.waitForFunction((t) => window.demoTime === t, { timeout: 120000 }, scene.time);
      const gpuBefore = gpuProcessMs(browser.process().pid);
      const { fps } = await frameRate(page, kMeasureMs);
      const frames = (fps * kMeasureMs) / 1000;
      const gpuMs = (gpuProcessMs(browser.process().pid) - gpuBefore) / frames;
      rates.push(`${fps.toFixed(1)} (${gpuMs.toFixed(1)})`);
    }
    console.log(`${scene.name.padEnd(24)}${rates.map((r) => r.padStart(16)).join('')}`);
  }
  await close();
})().catch((error) => {
  console.error(`web_frame_rate: ${error.stack || error}`);
  process.exit(1);
});
