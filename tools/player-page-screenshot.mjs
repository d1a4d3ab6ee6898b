// Takes docs/player-page.png: the player page of tools/build-web.sh in
// headless Chromium at 900 x 700, with the songs given chosen through its
// file input, the first of them playing for a few seconds.
//   node tools/player-page-screenshot.mjs SITE SONG...
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { Browser, serveFolder } from '../tests/app/web/browser.mjs';

const [site, ...songs] = process.argv.slice(2);
const out = fileURLToPath(new URL('../docs/player-page.png', import.meta.url));
const server = await serveFolder(path.resolve(site));
const browser = await Browser.launch();
try {
  const page = await browser.newPage({ width: 900, height: 700 });
  await page.goto(`${server.url}player.html`);
  await page.waitForConsole(text => text === 'Player ready');
  await page.chooseFiles('#files', songs);
  await page.clickOn('#author');  // the gesture the sound waits for
  await new Promise(resolve => setTimeout(resolve, 4000));
  await page.savePicture(out);
  console.log(`${out} written`);
} finally {
  await browser.close();
  await server.close();
}
