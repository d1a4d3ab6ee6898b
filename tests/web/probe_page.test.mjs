// The browser probe page in headless Chromium: the start gesture, the 60 Hz
// frame loop, the pulled sound, the picture on screen and the keys.
// VITRELUME_WEB_SITE names the folder tools/build-web.sh wrote.
import assert from 'node:assert/strict';
import { existsSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';

import { Browser, KEYS, serveFolder } from './browser.mjs';

const site = process.env.VITRELUME_WEB_SITE || fileURLToPath(new URL('../../build-web/site', import.meta.url));
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const SHIFT = { key: 'Shift', code: 'ShiftLeft', keyCode: 16 };

let server, browser;
before(async () => {
  assert.ok(existsSync(path.join(site, 'index.html')), `${site} has no page: run tools/build-web.sh`);
  server = await serveFolder(site);
  // No autoplay flag: the page's sound must start from the key press alone.
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// A new tab of `on` (the shared browser by default) showing the start line.
async function openPage(options = {}, on = browser) {
  const page = await on.newPage(options);
  await page.goto(server.url);
  await page.waitForConsole(text => text === 'Click or press a key to start');
  return page;
}

async function start(page) {
  await page.pressKey(KEYS.space);
  await page.waitForConsole(text => text === 'probe: running');
}

// Frames (and other counters) per second over `ms` of the page's own clock.
async function ratesOver(page, ms, counters) {
  const read = `({ time: performance.now(), ${Object.entries(counters).map(([k, v]) => `${k}: ${v}`).join(', ')} })`;
  const first = await page.evaluate(read);
  await sleep(ms);
  const last = await page.evaluate(read);
  const seconds = (last.time - first.time) / 1000;
  return Object.fromEntries(Object.keys(counters).map(k => [k, (last[k] - first[k]) / seconds]));
}

// The probe's picture: red runs along x, green along y, blue tells the two
// 256-column halves and the checkerboard parity apart.
function texel(x, y) {
  return [x & 255, y, (x >> 8) * 128 + ((x + y) & 1) * 64 + 32];
}

// Counts the screen pixels that differ from the picture scaled by the largest
// whole number, centred (an odd margin leaves the extra row at the top, as GL's
// bottom-left origin places it) on black, every channel times level / 255.
function countWrongPixels({ width, height, rgba }, level) {
  const scale = Math.max(1, Math.min(Math.floor(width / 320), Math.floor(height / 200)));
  const left = Math.floor((width - 320 * scale) / 2);
  const top = height - Math.floor((height - 200 * scale) / 2) - 200 * scale;
  let wrong = 0;
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const tx = Math.floor((x - left) / scale), ty = Math.floor((y - top) / scale);
      const inside = x >= left && y >= top && tx < 320 && ty < 200;
      const want = inside ? texel(tx, ty).map(v => Math.round((v * level) / 255)) : [0, 0, 0];
      const i = (y * width + x) * 4;
      if (rgba[i] !== want[0] || rgba[i + 1] !== want[1] || rgba[i + 2] !== want[2]) wrong++;
    }
  }
  return wrong;
}

test('probe page: gesture, 60 Hz frames, 44,100 Hz sound, keys', async () => {
  const page = await openPage();
  // A lone modifier is no user activation: it would leave the sound locked.
  await page.pressKey(SHIFT);
  await sleep(300);
  assert.equal(await page.evaluate('Module.probe.frames'), 0);
  await start(page);
  await sleep(1000);
  assert.equal(await page.evaluate('Module.probe.audioState'), 'running');
  // The starting press is the gesture only; it does not reach the program.
  assert.ok(!page.console.some(text => text.startsWith('probe: key down')));

  const { fps, sound } = await ratesOver(page, 4000, { fps: 'Module.probe.frames', sound: 'Module.probe.soundFrames' });
  assert.ok(fps >= 55 && fps <= 62, `${fps.toFixed(1)} frames per second`);
  assert.ok(Math.abs(sound - 44100) <= 44100 * 0.03, `${sound.toFixed(0)} sound frames per second`);

  await page.pressKey(KEYS.space);
  await page.waitForConsole(text => text === 'probe: key down 32 Space');
  await page.pressKey(KEYS.escape);
  await page.waitForConsole(text => text === 'probe: key down 27 Escape');
  await page.waitForConsole(text => text === 'probe: ended');
  const ended = await page.evaluate('Module.probe.frames');
  await sleep(200);
  assert.equal(await page.evaluate('Module.probe.frames'), ended);
});

test('probe page: animation frames faster than 60 Hz do not speed the loop up', async () => {
  const fast = await Browser.launch({ flags: ['--disable-frame-rate-limit'] });
  try {
    const page = await openPage({ width: 640, height: 400 }, fast);
    await start(page);
    await sleep(500);
    const { fps, ticks } = await ratesOver(page, 3000, { fps: 'Module.probe.frames', ticks: 'Module.probe.animationFrames' });
    assert.ok(ticks > 66, `only ${ticks.toFixed(1)} animation frames per second: nothing to pace`);
    assert.ok(fps >= 55 && fps <= 62, `${fps.toFixed(1)} frames per second from ${ticks.toFixed(1)} animation frames`);
  } finally {
    await fast.close();
  }
});

test('probe page: crisp whole-number scale, centred, at device pixel ratios 1 and 2', async () => {
  for (const [ratio, level] of [[1, 255], [2, 128]]) {
    const page = await openPage({ width: 801, height: 603, ratio });
    await start(page);
    await page.evaluate(`Module.probe.modulate = ${level} / 255`);
    const frame = await page.evaluate('Module.probe.frames');
    while ((await page.evaluate('Module.probe.frames')) < frame + 2) await sleep(20);
    const shot = await page.screenshot();
    assert.deepEqual([shot.width, shot.height], [801 * ratio, 603 * ratio]);
    assert.equal(countWrongPixels(shot, level), 0, `ratio ${ratio}, level ${level}`);
    await page.send('Page.close');
  }
});
