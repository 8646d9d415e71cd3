// Plays the built page in headless Chromium (SwiftShader WebGL) and compares what it shows with
// the desktop's offscreen capture of the same demo time and size.
//
//   node page_test.js stills|live --page build/web --capture one-quill-wisp-capture --out DIR
//
// stills: `?t=` frames in both scenes, at 16:9 and not, after a resize, and at two device pixels
//         per CSS pixel; the link preview: the page's description, and the image its meta tags
//         name, in the page's folder at the size they state.
// live:   the start screen; Play, which goes fullscreen, then in the window, then where
//         fullscreen is refused; each time running and audible sound, a live frame against the
//         capture at the demo time the page reports, and Escape. In fullscreen, F and a
//         double-click switch it off and on, and the first Escape only leaves it. Prints the
//         frame rate.
// Pictures that differ are written to DIR for a look. Exit status 0 when every check passes.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { openBrowser, frameRate } = require('./browser.js');

const kTolerance = 12;   // per channel, out of 255
const kShare = 0.99;     // of the pixels within the tolerance
const kWaitMs = 120000;  // a bound for waits on a loaded machine, never a measurement

// Demo times (seconds) of the stills: title elements fading in and out, the star, the metaballs
// before and during the greetings overlay.
const kStillTimes = [2.5, 9.5, 15.8, 24.0, 70.5, 101.25];
const kShowEnd = 114;    // seconds
const kPageBytes = 3 * 1024 * 1024;
const kWide = { width: 640, height: 360, ratio: 1 };
const kSquare = { width: 480, height: 480, ratio: 1 };
const kDense = { width: 320, height: 180, ratio: 2 }; // 640x360 device pixels

function parseArguments() {
  const [mode, ...rest] = process.argv.slice(2);
  const options = {};
  for (let i = 0; i + 1 < rest.length; i += 2) options[rest[i].replace(/^--/, '')] = rest[i + 1];
  if (!['stills', 'live'].includes(mode) || !options.page || !options.capture || !options.out) {
    console.error('usage: page_test.js stills|live --page DIR --capture BIN --out DIR');
    process.exit(2);
  }
  if (!fs.existsSync(path.join(options.page, 'index.html'))) {
    console.error(`page_test: ${options.page}/index.html is missing; build it with scripts/web`);
    process.exit(1);
  }
  return { mode, ...options };
}

const failures = [];
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

// What the pages said on their consoles (the demo's stderr among it), printed when a check fails.
const said = [];
function watch(page) {
  page.on('pageerror', (error) => check(false, `page error: ${error.message}`));
  page.on('console', (message) => said.push(`${message.type()}: ${message.text()}`));
}
function printConsoles() {
  console.log(`the pages' consoles:\n${said.map((line) => `  ${line}`).join('\n')}`);
}

// The desktop's picture at `time` on a window of width x height device pixels, as PNG bytes.
function capture(binary, time, width, height) {
  const file = path.join(os.tmpdir(), `wisp-capture-${process.pid}-${width}x${height}.png`);
  try {
    // Nanoseconds are far finer than the shaders' single-precision time.
    const seconds = time.toFixed(9).replace(/\.?0+$/, '');
    execFileSync(binary, ['--time', seconds, '--size', `${width}x${height}`, '--out', file],
      { stdio: ['ignore', 'inherit', 'inherit'] });
    return fs.readFileSync(file);
  } finally {
    fs.rmSync(file, { force: true });
  }
}

// Decodes two PNGs in a blank page and measures how many pixels agree within the tolerance.
async function compare(browser, pngA, pngB) {
  const page = await browser.newPage();
  try {
    return await page.evaluate(async (a, b, tolerance) => {
      async function pixels(base64) {
        const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
        const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
          { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        const context = canvas.getContext('2d', { willReadFrequently: true });
        context.drawImage(bitmap, 0, 0);
        return context.getImageData(0, 0, bitmap.width, bitmap.height);
      }
      const [x, y] = [await pixels(a), await pixels(b)];
      if (x.width !== y.width || x.height !== y.height)
        return { sizes: `${x.width}x${x.height} against ${y.width}x${y.height}`, share: 0,
                 worst: 255 };
      let within = 0, worst = 0;
      for (let i = 0; i < x.data.length; i += 4) {
        const difference = Math.max(Math.abs(x.data[i] - y.data[i]),
          Math.abs(x.data[i + 1] - y.data[i + 1]), Math.abs(x.data[i + 2] - y.data[i + 2]));
        if (difference <= tolerance) within++;
        worst = Math.max(worst, difference);
      }
      return { share: within / (x.width * x.height), worst };
    }, pngA.toString('base64'), pngB.toString('base64'), kTolerance);
  } finally {
    await page.close();
  }
}

async function expectMatch(options, browser, label, shown, time, width, height) {
  const desktop = capture(options.capture, time, width, height);
  const result = await compare(browser, shown, desktop);
  const ok = result.share >= kShare;
  check(ok, `${label}: ${(100 * result.share).toFixed(2)} % of pixels within ${kTolerance}/255 ` +
    `of the capture at ${time} s, ${width}x${height}` +
    (result.sizes ? ` (sizes differ: ${result.sizes})` : ` (largest difference ${result.worst})`));
  if (!ok) {
    fs.mkdirSync(options.out, { recursive: true });
    const stem = path.join(options.out, label.replace(/[^A-Za-z0-9.]+/g, '-'));
    fs.writeFileSync(`${stem}-page.png`, shown);
    fs.writeFileSync(`${stem}-capture.png`, desktop);
    console.log(`     pictures in ${stem}-{page,capture}.png`);
  }
}

// Resolves with the next frame the page draws: its demo time and the canvas's pixels as PNG,
// read in the same task as the drawing.
function nextFrame(page) {
  return page.evaluate(() => new Promise((resolve) => {
    const drawn = wispPage.frameDrawn;
    wispPage.frameDrawn = function (seconds) {
      drawn.call(this, seconds);
      wispPage.frameDrawn = drawn;
      resolve({ time: seconds, png: document.getElementById('canvas').toDataURL('image/png') });
    };
  })).then((frame) => ({ time: frame.time, png: Buffer.from(frame.png.split(',')[1], 'base64') }));
}

async function setView(page, view) {
  await page.setViewport({ width: view.width, height: view.height, deviceScaleFactor: view.ratio });
}

// What a link to the page previews: its title and description for Open Graph and Twitter cards,
// and one image, which the page's folder holds at the size the tags state.
async function linkPreview(options, page) {
  const tags = await page.evaluate(() => Object.fromEntries(
    [...document.querySelectorAll('meta[name], meta[property]')]
      .map((meta) => [meta.getAttribute('property') || meta.name, meta.content])));
  const texts = ['description', 'og:title', 'og:description', 'twitter:title',
    'twitter:description'].map((name) => tags[name] || '');
  check(texts.every((text) => text.length >= 10) && tags['og:title'] === tags['twitter:title'] &&
    tags['twitter:card'] === 'summary_large_image',
  `the page has a description and Open Graph and Twitter card titles and descriptions`);

  const image = tags['og:image'] || '';
  const file = path.join(options.page, path.basename(new URL(image, 'http://page/').pathname));
  let size = 'missing';
  if (image && fs.existsSync(file)) {
    // A PNG's IHDR chunk: width and height, 32-bit big-endian, at bytes 16 and 20.
    const head = fs.readFileSync(file).subarray(0, 24);
    size = head.subarray(1, 4).toString() === 'PNG' ?
      `${head.readUInt32BE(16)}x${head.readUInt32BE(20)}` : 'not a PNG';
  }
  const stated = `${tags['og:image:width']}x${tags['og:image:height']}`;
  check(size === stated && tags['twitter:image'] === image && tags['og:image:type'] === 'image/png',
    `og:image and twitter:image name ${image || 'no image'}: ${size} in ${options.page}, ` +
    `stated ${stated}`);
}

async function stills(options, browser, url) {
  const bytes = fs.readdirSync(options.page)
    .reduce((sum, name) => sum + fs.statSync(path.join(options.page, name)).size, 0);
  check(bytes <= kPageBytes, `the page is ${bytes} bytes, at most ${kPageBytes}`);
  const page = await browser.newPage();
  watch(page);
  await page.goto(url);
  await linkPreview(options, page);
  for (const [index, time] of kStillTimes.entries()) {
    // Each time is shown at one size on load and at the other after a resize.
    const [first, second] = index % 2 ? [kSquare, kWide] : [kWide, kSquare];
    await setView(page, first);
    await page.goto(`${url}?t=${time}`);
    await page.waitForFunction((t) => window.demoTime === t, { timeout: kWaitMs }, time);
    await expectMatch(options, browser, `t=${time} ${first.width}x${first.height}`,
      await page.screenshot(), time, first.width, first.height);

    await setView(page, second);
    await page.waitForFunction((w, h) => {
      const canvas = document.getElementById('canvas');
      return canvas.width === w && canvas.height === h;
    }, { timeout: kWaitMs }, second.width, second.height);
    await nextFrame(page);
    await expectMatch(options, browser,
      `t=${time} resized to ${second.width}x${second.height}`, await page.screenshot(), time,
      second.width, second.height);
  }
  // The show's end: nothing more to draw, and a way to play it again.
  await page.goto(`${url}?t=${kShowEnd}`);
  await page.waitForFunction(() => document.getElementById('action').textContent === 'Play again' &&
    !document.getElementById('screen').hidden, { timeout: kWaitMs });
  check(await page.evaluate(() => window.demoTime === undefined),
    `at ${kShowEnd} s the show is over and offers to play again`);
  await page.goto(`${url}?t=soon`);
  await page.waitForFunction(() => document.getElementById('message').dataset.error === '1',
    { timeout: kWaitMs });
  const refusal = await page.evaluate(() => document.getElementById('message').textContent);
  check(refusal.includes('"soon"') && await page.evaluate(() => window.demoTime === undefined),
    `a ?t= that is not a number of seconds is refused on the page ("${refusal}")`);

  const time = kStillTimes[3];
  await setView(page, kDense);
  await page.goto(`${url}?t=${time}`);
  await page.waitForFunction((t) => window.demoTime === t, { timeout: kWaitMs }, time);
  await expectMatch(options, browser,
    `t=${time} ${kDense.width}x${kDense.height} at 2 pixels per px`, await page.screenshot(), time,
    kDense.width * 2, kDense.height * 2);
  await page.close();
}

// The audio path's state, the page clock's latency, and the loudest sample an analyser on SDL's
// output node saw within `milliseconds`.
function listen(page, milliseconds) {
  return page.evaluate((milliseconds) => new Promise((resolve) => {
    const sdl = Module.SDL2;
    const context = sdl.audioContext;
    const analyser = context.createAnalyser();
    analyser.fftSize = 2048;
    sdl.audio.scriptProcessorNode.connect(analyser);
    const samples = new Float32Array(analyser.fftSize);
    const start = performance.now();
    let peak = 0;
    (function poll() {
      analyser.getFloatTimeDomainData(samples);
      for (const sample of samples) peak = Math.max(peak, Math.abs(sample));
      if (peak > 0.01 || performance.now() - start > milliseconds) {
        sdl.audio.scriptProcessorNode.disconnect(analyser);
        resolve({ state: context.state, peak, rate: context.sampleRate,
                  measured: wispPage.clock.measured,
                  baseLatency: context.baseLatency, outputLatency: context.outputLatency,
                  buffer: sdl.audio.scriptProcessorNode.bufferSize });
      } else {
        setTimeout(poll, 20);
      }
    })();
  }), milliseconds);
}

async function startScreenShown(page) {
  await page.waitForFunction(() => !document.getElementById('screen').hidden &&
    !document.getElementById('action').hidden, { timeout: kWaitMs });
}

function fullscreenIs(page, expected) {
  return page.waitForFunction((id) => (document.fullscreenElement || { id: null }).id === id,
    { timeout: kWaitMs }, expected ? 'stage' : null).then(() => true, () => false);
}

// Waits until the show has moved on by half a second, or has stopped; says whether it goes on.
async function goesOn(page) {
  const from = await page.evaluate(() => window.demoTime);
  await page.waitForFunction((from) => window.demoTime > from + 0.5 ||
    !document.getElementById('screen').hidden, { timeout: kWaitMs }, from);
  return page.evaluate(() => document.getElementById('screen').hidden);
}

// Fullscreen switches during the show: F and a double-click, each off and on again.
async function switchFullscreen(page, round) {
  const middle = { x: kWide.width / 2, y: kWide.height / 2 };
  for (const [how, on] of [['F', false], ['F', true], ['a double-click', false],
    ['a double-click', true]]) {
    if (how === 'F') await page.keyboard.press('f');
    else await page.mouse.click(middle.x, middle.y, { count: 2 });
    check(await fullscreenIs(page, on) && await goesOn(page),
      `${round}: ${how} ${on ? 'enters' : 'leaves'} fullscreen and the show goes on`);
  }
  await page.keyboard.press('Escape');
  check(await fullscreenIs(page, false) && await goesOn(page),
    `${round}: Escape in fullscreen leaves it and the show goes on`);
}

async function live(options, browser, url) {
  const page = await browser.newPage();
  watch(page);
  // The orientations the page asks to lock (the desktop refuses them all).
  await page.evaluateOnNewDocument(() => {
    window.orientationLocks = [];
    const lock = screen.orientation.lock.bind(screen.orientation);
    screen.orientation.lock = (orientation) => {
      window.orientationLocks.push(orientation);
      return lock(orientation);
    };
  });
  await setView(page, kWide);
  await page.goto(url);
  await startScreenShown(page);
  check(await page.evaluate(() =>
    window.demoTime === undefined && !(Module.SDL2 || {}).audioContext),
  'nothing plays before the click');

  // Play (fullscreen), the quieter choice of the window, and Play where fullscreen is refused.
  const rounds = [
    { name: 'first play', choice: '#action', fullscreen: true },
    { name: 'playing again in the window', choice: '#windowed', fullscreen: false },
    { name: 'fullscreen refused', choice: '#action', fullscreen: false, refuse: true },
  ];
  for (const { name: round, choice, fullscreen, refuse } of rounds) {
    if (refuse) {
      await page.evaluate(() => {
        document.getElementById('stage').requestFullscreen =
          () => Promise.reject(new TypeError('Permissions check failed'));
      });
    }
    await page.click(choice);
    await page.waitForFunction(() => window.demoTime > 0.2, { timeout: kWaitMs });
    if (fullscreen) {
      check(await fullscreenIs(page, true), `${round}: the stage is the fullscreen element`);
      const locks = await page.evaluate(() => window.orientationLocks);
      check(locks.includes('landscape'), `${round}: fullscreen asks for landscape ` +
        `(${JSON.stringify(locks)})`);
      // Before the checks below, whose pages of their own would take the fullscreen away.
      await switchFullscreen(page, round);
    } else {
      // By now a fullscreen asked for on the click would have come.
      const playing = await goesOn(page);
      const state = await page.evaluate(() => ({
        fullscreen: !!document.fullscreenElement,
        error: document.getElementById('message').dataset.error,
      }));
      check(playing && !state.fullscreen && !state.error,
        `${round}: it plays in the window, without an error`);
    }
    const sound = await listen(page, 30000);
    check(sound.state === 'running', `${round}: the AudioContext runs (${sound.state})`);
    check(sound.peak > 0.01, `${round}: the sound is not silent (peak ${sound.peak.toFixed(3)})`);
    check(sound.measured, `${round}: the clock found the module's first sound in the audio graph`);
    console.log(`     audio: ${sound.rate} Hz, ${sound.buffer}-frame buffers, baseLatency ` +
      `${sound.baseLatency} s, outputLatency ${sound.outputLatency} s`);

    const rate = await frameRate(page, 3000);
    console.log(`     frame rate ${rate.fps.toFixed(1)} fps at ${kWide.width}x${kWide.height} ` +
      `around ${rate.at.toFixed(1)} s (reported, not checked)`);
    // From 4 s the star pulses, so a frame paired with the wrong time shows it.
    await page.waitForFunction(() => window.demoTime > 4.5, { timeout: kWaitMs });
    const frame = await nextFrame(page);
    await expectMatch(options, browser, `${round}: live frame`, frame.png, frame.time,
      kWide.width, kWide.height);

    await page.keyboard.press('Escape');
    await startScreenShown(page);
    const ended = await page.evaluate(() => ({
      label: document.getElementById('action').textContent,
      audio: !!(Module.SDL2 || {}).audioContext,
    }));
    check(ended.label === 'Play again' && !ended.audio,
      `${round}: Escape in the window ends the show and its sound, offering to play again`);
  }
  await page.close();
}

(async () => {
  const options = parseArguments();
  const { browser, url, close } = await openBrowser(options.page);
  try {
    await (options.mode === 'stills' ? stills : live)(options, browser, url);
  } finally {
    await close();
  }
  if (failures.length) {
    printConsoles();
    console.log(`${failures.length} check(s) failed`);
    process.exit(1);
  }
})().catch((error) => {
  printConsoles();
  console.error(`page_test: ${error.stack || error}`);
  process.exit(1);
});
