// Where the module's first sound is in the browser's audio graph, against the page's clock.
//
//   tests/web/with_driver.sh node bench/web_audio_sync.js [build/web]
//
// Starts the show in headless Chromium, taps SDL's output node with an AnalyserNode and finds
// the AudioContext time at which the first non-silent sample is rendered (the module sounds from
// its first frame). The page's clock estimates when the first buffer starts in the graph; the
// difference is the clock's error before latency. The buffer's own playbackTime is printed
// beside it: a clock that trusted it would be late by the main thread's delay in handling the
// buffer's event. Also prints the latencies the clock subtracts (baseLatency + outputLatency),
// which the graph cannot see. With EVENTS=1 it also lists the first buffers' events.
'use strict';
const path = require('path');
const { openBrowser } = require('../tests/web/browser.js');

(async () => {
  const folder = process.argv[2] || path.join(__dirname, '..', 'build', 'web');
  const { browser, url, close } = await openBrowser(folder);
  const page = await browser.newPage();
  await page.setViewport({ width: 640, height: 360 });
  await page.goto(url);
  await page.waitForFunction(() => !document.getElementById('action').hidden, { timeout: 120000 });
  // Tap the output as soon as SDL has made its node, before its first buffer is rendered.
  await page.evaluate(() => {
    const attach = wispPage.clock.attach;
    window.benchOnset = new Promise((resolve) => {
      wispPage.clock.attach = function (sdl) {
        attach.call(this, sdl);
        const context = sdl.audioContext;
        const node = sdl.audio.scriptProcessorNode;
        const handler = node.onaudioprocess;
        window.benchEvents = [];
        node.onaudioprocess = function (event) {
          window.benchEvents.push([event.playbackTime, context.currentTime, performance.now()]);
          handler.call(node, event);
        };
        const analyser = context.createAnalyser();
        analyser.fftSize = 32768;
        sdl.audio.scriptProcessorNode.connect(analyser);
        const samples = new Float32Array(analyser.fftSize);
        let previousEnd = -1;
        (function poll() {
          const end = context.currentTime;
          if (end !== previousEnd) {
            previousEnd = end;
            analyser.getFloatTimeDomainData(samples);
            const first = samples.findIndex((s) => Math.abs(s) > 1e-4);
            if (first >= 0 && wispPage.clock.firstStart !== null) {
              const onset = end - (samples.length - first) / context.sampleRate;
              // The page's estimate of the first buffer's start settles over a few buffers.
              setTimeout(() => resolve({
                onset, end, firstStart: wispPage.clock.firstStart,
                measured: wispPage.clock.measured, events: window.benchEvents,
                window: samples.length / context.sampleRate,
                base: context.baseLatency, output: context.outputLatency,
                rate: context.sampleRate, buffer: sdl.audio.scriptProcessorNode.bufferSize,
              }), 3000);
              return;
            }
          }
          setTimeout(poll, 1);
        })();
      };
    });
  });
  await page.mouse.click(320, 180);
  const r = await page.evaluate(() => window.benchOnset);
  const ms = (s) => `${(1000 * s).toFixed(1)} ms`;
  console.log(`AudioContext ${r.rate} Hz, ScriptProcessorNode buffer ${r.buffer} frames ` +
    `(${ms(r.buffer / r.rate)})`);
  console.log(`first buffer's event ran at ${r.events[0][1].toFixed(4)} s with playbackTime ` +
    `${r.events[0][0].toFixed(4)} s; the page's clock puts its start at ` +
    `${r.firstStart.toFixed(4)} s (${r.measured ? 'measured' : 'assumed'})`);
  console.log(`first sound seen at ${r.onset.toFixed(4)} s (analyser window ${ms(r.window)}, ` +
    `read when currentTime was ${r.end.toFixed(4)} s)`);
  console.log(`first sound at module time ${ms(r.onset - r.firstStart)} by the page's clock, ` +
    `before latency`);
  console.log(`latency the clock subtracts: baseLatency ${ms(r.base)} + outputLatency ` +
    `${ms(r.output)} = ${ms(r.base + r.output)}`);
  if (process.env.EVENTS) {
    console.log('playbackTime, currentTime, performance.now() of the first events:');
    for (const event of r.events.slice(0, 12)) {
      console.log(event.map((x) => x.toFixed(4)).join(' '));
    }
  }
  await close();
})().catch((error) => {
  console.error(`web_audio_sync: ${error.stack || error}`);
  process.exit(1);
});
