// The player page in headless Chromium: the production's song listed first,
// a generated song chosen through the file input, its texts shown, the
// samples the worklet was sent equal to ymrender's, a click on the progress
// bar seeking exactly, a file that is no song refused with its reason, and
// nothing in the console but the page's own line. VITRELUME_WEB_SITE names
// the site of tools/build-web.sh, VITRELUME_YMRENDER and
// VITRELUME_MAKE_TEST_SONGS the native tools.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';

import { Browser, serveFolder } from '../../../app/web/browser.mjs';

const root = fileURLToPath(new URL('../../../..', import.meta.url));
const site = process.env.VITRELUME_WEB_SITE || path.join(root, 'build-web/site');
const ymrender = process.env.VITRELUME_YMRENDER || path.join(root, 'build-test/programs/ymrender/ymrender');
const makeTestSongs = process.env.VITRELUME_MAKE_TEST_SONGS || path.join(root, 'build-test/generators/make_test_songs');
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const RATE = 44100, REQUEST = 2205;
const state = 'Module.playerPage';

let server, browser, songs;
before(async () => {
  assert.ok(existsSync(path.join(site, 'player.html')), `${site} has no player page: run tools/build-web.sh`);
  songs = mkdtempSync(path.join(tmpdir(), 'vitrelume-player-'));
  execFileSync(makeTestSongs, [songs, '--seconds', '12']);
  writeFileSync(path.join(songs, 'notes.txt'), 'Not a song.\n');
  server = await serveFolder(site);
  browser = await Browser.launch();
});
after(async () => {
  await browser?.close();
  await server?.close();
  if (songs) rmSync(songs, { recursive: true, force: true });
});

const render = (...args) => execFileSync(ymrender, [...args, '--raw'], { maxBuffer: 1 << 28 });

async function waitFor(page, expression, what, ms = 15000) {
  const end = Date.now() + ms;
  while (Date.now() < end) {
    if (await page.evaluate(expression)) return;
    await sleep(50);
  }
  assert.fail(`${what}: not within ${ms} ms; console:\n${page.console.join('\n')}`);
}

// The next `frames` frames the worklet is sent from now on, once there are
// that many; `meanwhile` runs right after the recording starts.
async function recording(page, frames, meanwhile = async () => {}) {
  await page.evaluate(`${state}.record(${frames})`);
  await meanwhile();
  await waitFor(page, `${state}.recorded === ${frames}`, `${frames} frames pulled`, 30000);
  return Buffer.from(await page.evaluate(`${state}.recordingBase64()`), 'base64');
}

// Where `song` (ymrender's bytes) begins in `heard`, or -1: the first sound it
// makes is looked for, on a frame boundary.
function findSong(heard, song) {
  let first = 0;
  while (first < song.length && song.readInt32LE(first) === 0) first += 4;
  const needle = song.subarray(first, first + 16384);
  for (let at = heard.indexOf(needle); at >= 0; at = heard.indexOf(needle, at + 1)) {
    if ((at - first) % 4 === 0 && at >= first) return at - first;
  }
  return -1;
}

test('a chosen song plays as ymrender renders it, and a click on the bar seeks exactly', async () => {
  const page = await browser.newPage({ width: 900, height: 700 });
  await page.goto(server.url + 'player.html');
  await page.waitForConsole(text => text === 'Player ready');
  await waitFor(page, `document.getElementById('title').textContent === 'Vitrelume 15th Anniversary'`, 'the production\'s song shown');
  assert.match(await page.evaluate(`document.querySelector('#playlist li').textContent`), /production's own song/);

  const song = path.join(songs, 'ym6-effects.ym');
  await page.chooseFiles('#files', [path.join(songs, 'notes.txt'), song]);
  await waitFor(page, `document.getElementById('title').textContent === 'YM6! effects'`, 'the chosen song\'s title');
  assert.equal(await page.evaluate(`document.getElementById('author').textContent`), 'Vitrelume');
  assert.match(await page.evaluate(`document.getElementById('kind').textContent`), /YM 6 \(YM6!\), register song with two effect slots, 50 Hz/);
  assert.match(await page.evaluate(`document.querySelectorAll('#playlist li')[1].textContent`), /notes\.txt.*Unknow YM format !/);

  // A click is the gesture the sound waits for; the stream starts with the song.
  const heard = await recording(page, 3 * RATE, () => page.clickOn('#comment'));
  const expected = render(song, '--seconds', '3');
  const start = findSong(heard, expected);
  assert.ok(start >= 0, 'the song is not in what the worklet was sent');
  assert.ok(heard.subarray(0, start).every(byte => byte === 0), 'only silence before the song');
  const compared = heard.length - start;
  assert.ok(compared >= 2 * RATE * 4, `only ${compared / 4} frames of the song recorded`);
  assert.ok(heard.subarray(start).equals(expected.subarray(0, compared)), 'the samples differ from ymrender\'s');

  // Three quarters along the bar: the song goes on from there, as ymrender --start does.
  const after = await recording(page, RATE, () => page.clickOn('#progress', 0.75));
  const target = await page.evaluate(`${state}.lastSeek`);
  const length = await page.evaluate('Module._playerNumber(1)');
  assert.equal(target % REQUEST, 0);
  assert.ok(Math.abs(target - 0.75 * length) <= REQUEST, `seek to ${target} of ${length}`);
  assert.ok((await page.evaluate('Module._playerNumber(2)')) >= target);
  await waitFor(page, `document.getElementById('time').textContent.startsWith('0:1')`, 'the time after the seek');
  const fromThere = render(song, '--start', String(target / RATE), '--seconds', '1.5');
  const at = after.indexOf(fromThere.subarray(0, 16384));
  assert.ok(at >= 0 && at % 4 === 0, 'the song does not go on from the seek');
  assert.ok(after.subarray(at).equals(fromThere.subarray(0, after.length - at)));

  assert.ok(!page.console.some(text => /uncaught|error/i.test(text)), page.console.join('\n'));
  await page.send('Page.close');
});
