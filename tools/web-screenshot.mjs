// Takes docs/browser-screenshot.png: the page of tools/build-web.sh in headless
// Chromium at 960 x 600, started with Space and held at a frame step of the
// main scene.
//   node tools/web-screenshot.mjs [SITE]    (default: build-web/site)
import { fileURLToPath } from 'node:url';

import { Browser, KEYS, serveFolder } from '../tests/app/web/browser.mjs';

const HELD_STEP = 900;
const root = fileURLToPath(new URL('..', import.meta.url));
const out = `${root}docs/browser-screenshot.png`;
const server = await serveFolder(process.argv[2] || `${root}build-web/site`);
const browser = await Browser.launch();
try {
  const page = await browser.newPage({ width: 960, height: 600 });
  await page.goto(`${server.url}?hold=${HELD_STEP}`);
  await page.waitForConsole(text => text === 'Click or press a key to start');
  await page.pressKey(KEYS.space);
  await page.waitForConsole(text => text === `Holding frame step ${HELD_STEP}`, 30000);
  await page.savePicture(out);
  console.log(`${out} written`);
} finally {
  await browser.close();
  await server.close();
}
