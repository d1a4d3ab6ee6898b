// The production's page in headless Chromium: the start gesture, the 60 Hz
// frame steps, the pulled sound, a held frame against the native capture,
// and both ways to the end. VITRELUME_WEB_SITE names the folder
// tools/build-web.sh wrote; VITRELUME_CAPTURE the native capture tool.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';

import { Browser, KEYS, serveFolder } from './browser.mjs';
import { decodePng } from './png.mjs';

const root = fileURLToPath(new URL('../../..', import.meta.url));
const site = process.env.VITRELUME_WEB_SITE || path.join(root, 'build-web/site');
const captureTool = process.env.VITRELUME_CAPTURE || path.join(root, 'build-test/programs/capture/vitrelume-capture');
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const SHIFT = { key: 'Shift', code: 'ShiftLeft', keyCode: 16 };
const PROMPT = 'Click or press a key to start';
const state = 'Module.vitrelumePage';

let server, browser, captures;
before(async () => {
  assert.ok(existsSync(path.join(site, 'index.html')), `${site} has no page: run tools/build-web.sh`);
  captures = mkdtempSync(path.join(tmpdir(), 'vitrelume-capture-'));
  server = await serveFolder(site);
  // No autoplay flag: the page's sound must start from the key press alone.
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
  await server?.close();
  if (captures) rmSync(captures, { recursive: true, force: true });
});

// A new tab of `on` showing the start prompt; `query` is added to the address.
async function openPage({ query = '', on = browser, ...size } = {}) {
  const page = await on.newPage(size);
  await page.goto(server.url + query);
  await page.waitForConsole(text => text === PROMPT);
  return page;
}

async function start(page) {
  await page.pressKey(KEYS.space);
  await page.waitForConsole(text => text.startsWith('Application started '));
}

// Counts per second over `ms` of the page's own clock: frame steps, sound
// frames pulled, and any `extra` counter expressions.
async function ratesOver(page, ms, extra = {}) {
  const counters = { fps: `${state}.steps`, sound: `${state}.soundFrames`, ...extra };
  const read = `({ time: performance.now(), ${Object.entries(counters).map(([k, v]) => `${k}: ${v}`).join(', ')} })`;
  const first = await page.evaluate(read);
  await sleep(ms);
  const last = await page.evaluate(read);
  const seconds = (last.time - first.time) / 1000;
  return Object.fromEntries(Object.keys(counters).map(k => [k, (last[k] - first[k]) / seconds]));
}

// Frame steps of the title's fade in and of the main scene, held on the page
// and compared with the native capture of the same steps.
const HELD_STEPS = { title: 30, mainScene: 600 };

// The native capture's pictures of HELD_STEPS (320 x 200), from one run of
// vitrelume-capture.
function captureHeldSteps() {
  const steps = Object.values(HELD_STEPS), last = Math.max(...steps);
  const shots = steps.flatMap(step => ['--shot', String(step)]);
  execFileSync(captureTool, ['--frames', String(last), '--scale', '1', '--png', captures, ...shots], { stdio: 'ignore' });
  const file = step => path.join(captures, `${String(step).padStart(6, '0')}.png`);
  return Object.fromEntries(steps.map(step => [step, decodePng(readFileSync(file(step)))]));
}

// Screen pixels that differ from `frame` scaled by the largest whole number,
// centred on black (an odd margin leaves the extra row at the top, as GL's
// bottom-left origin places it).
function countWrongPixels(shot, frame) {
  const { width, height, rgba } = shot;
  const scale = Math.max(1, Math.min(Math.floor(width / frame.width), Math.floor(height / frame.height)));
  const left = Math.floor((width - frame.width * scale) / 2);
  const top = height - Math.floor((height - frame.height * scale) / 2) - frame.height * scale;
  let wrong = 0;
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const fx = Math.floor((x - left) / scale), fy = Math.floor((y - top) / scale);
      const inside = x >= left && y >= top && fx < frame.width && fy < frame.height;
      const f = (fy * frame.width + fx) * 4, i = (y * width + x) * 4;
      for (let c = 0; c < 3; c++) {
        if (rgba[i + c] !== (inside ? frame.rgba[f + c] : 0)) {
          wrong++;
          break;
        }
      }
    }
  }
  return wrong;
}

async function expectEnded(page) {
  assert.equal(await page.evaluate(`${state}.exitCode`), 0);
  assert.equal(await page.evaluate(`document.getElementById('end').hidden`), false);
  assert.equal(await page.evaluate(`${state}.audioState()`), 'none');
  const steps = await page.evaluate(`${state}.steps`);
  await sleep(300);
  assert.equal(await page.evaluate(`${state}.steps`), steps, 'frame steps after the end');
  assert.ok(!page.console.some(text => text.startsWith('uncaught')), page.console.join('\n'));
}

test('start gesture, 60 frame steps and 44,100 sound frames a second', async () => {
  const page = await openPage();
  // A lone modifier is no user activation: it would leave the sound locked.
  await page.pressKey(SHIFT);
  await sleep(300);
  assert.ok(!page.console.some(text => text.startsWith('Application started')));
  await start(page);
  assert.equal(await page.evaluate('document.title'), 'Vitrelume 15th Anniversary');
  await sleep(1000);
  assert.equal(await page.evaluate(`${state}.audioState()`), 'running');
  const { fps, sound } = await ratesOver(page, 4000);
  assert.ok(fps >= 55 && fps <= 62, `${fps.toFixed(1)} frame steps per second`);
  assert.ok(Math.abs(sound - 44100) <= 44100 * 0.03, `${sound.toFixed(0)} sound frames per second`);
  await page.send('Page.close');
});

test('animation frames faster than 60 Hz do not speed the frame steps up', async () => {
  const fast = await Browser.launch({ flags: ['--disable-frame-rate-limit'] });
  try {
    const page = await openPage({ on: fast, width: 640, height: 400 });
    await start(page);
    await page.evaluate('window.ticks = 0; (function tick() { ticks++; requestAnimationFrame(tick); })()');
    await sleep(500);
    const { fps, ticks } = await ratesOver(page, 3000, { ticks: 'ticks' });
    assert.ok(ticks > 66, `only ${ticks.toFixed(1)} animation frames per second: nothing to pace`);
    // Only the upper bound is the point here; the machine's load decides the lower one.
    assert.ok(fps >= 45 && fps <= 62, `${fps.toFixed(1)} frame steps per second from ${ticks.toFixed(1)} animation frames`);
  } finally {
    await fast.close();
  }
});

// The starting Space must not reach the demo either: it would end the title early.
test('a held frame step equals the native capture, scaled and centred, at device pixel ratios 1 and 2', async () => {
  const captured = captureHeldSteps();
  for (const [ratio, step] of [[1, HELD_STEPS.mainScene], [2, HELD_STEPS.title]]) {
    const page = await openPage({ query: `?hold=${step}`, width: 801, height: 603, ratio });
    await start(page);
    await page.waitForConsole(text => text === `Holding frame step ${step}`, 20000);
    await page.evaluate('new Promise(resolve => requestAnimationFrame(() => requestAnimationFrame(resolve)))');
    const shot = await page.screenshot();
    assert.deepEqual([shot.width, shot.height], [801 * ratio, 603 * ratio]);
    assert.equal(countWrongPixels(shot, captured[step]), 0, `step ${step} at ratio ${ratio}`);
    await page.send('Page.close');
  }
});

test('Space ends the title, Space ends the scene, then the end line and the end on the page', async () => {
  const page = await openPage();
  await start(page);
  await sleep(1500);
  await page.pressKey(KEYS.space);
  await sleep(1500);
  await page.pressKey(KEYS.space);
  await page.waitForConsole(text => text.startsWith('Application terminated '), 5000);
  await expectEnded(page);
  await page.send('Page.close');
});

test('Escape ends at once, in fullscreen too', async () => {
  const page = await openPage();
  await start(page);
  await sleep(1000);
  assert.equal(await page.evaluate('document.fullscreenElement !== null'), true);
  await page.pressKey(KEYS.escape);
  await sleep(500);
  await expectEnded(page);
  assert.ok(!page.console.some(text => text.startsWith('Application terminated')), 'no end line after Escape');
  await page.send('Page.close');
});

test('without WebGL the start fails: the log line, exit code 255, the failure on the page', async () => {
  const plain = await Browser.launch({ flags: ['--disable-webgl'] });
  try {
    const page = await openPage({ on: plain });
    await start(page);
    await page.waitForConsole(text => text.startsWith('Application terminated '));
    assert.ok(page.console.includes('Failed to create OpenGL context'), page.console.join('\n'));
    assert.equal(await page.evaluate(`${state}.exitCode`), 255);
    assert.match(await page.evaluate(`document.getElementById('end').hidden ? '' : document.getElementById('end').textContent`), /could not start/);
    // The audio start-up, cut short by the failed start, says nothing more.
    await sleep(1000);
    const end = page.console.findIndex(text => text.startsWith('Application terminated '));
    assert.deepEqual(page.console.slice(end + 1), [], 'no console line after the end line');
  } finally {
    await plain.close();
  }
});
