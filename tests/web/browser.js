// Headless Chromium with SwiftShader WebGL on a locally served page, shared by the page tests
// and the browser benchmarks.
'use strict';
const puppeteer = require('puppeteer-core');
const { serve } = require('../../web/serve.js');

// Serves `folder` on a free local port and starts the browser. Returns { browser, url, close },
// where close() ends both.
async function openBrowser(folder) {
  const server = await serve(folder);
  const url = `http://127.0.0.1:${server.address().port}/`;
  let browser;
  try {
    browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
    });
  } catch (error) {
    server.close();
    throw error;
  }
  return {
    browser,
    url,
    close: async () => {
      await browser.close();
      server.close();
    },
  };
}

// Frames per second the page draws over the next `milliseconds`, counted through its frame hook,
// and the demo time (seconds) of the last frame counted: { fps, at }.
async function frameRate(page, milliseconds) {
  return page.evaluate((milliseconds) => new Promise((resolve) => {
    const drawn = wispPage.frameDrawn;
    const start = performance.now();
    let frames = 0;
    wispPage.frameDrawn = function (seconds) {
      drawn.call(this, seconds);
      frames++;
      const elapsed = performance.now() - start;
      if (elapsed >= milliseconds) {
        wispPage.frameDrawn = drawn;
        resolve({ fps: (1000 * frames) / elapsed, at: seconds });
      }
    };
  }), milliseconds);
}

module.exports = { openBrowser, frameRate };
