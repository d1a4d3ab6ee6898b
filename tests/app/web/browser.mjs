// Headless Chromium driven over the DevTools protocol, with node's own
// modules only: the browser talks on a pipe (fd 3 in, fd 4 out, one JSON
// message per NUL), and a tiny HTTP server serves the site from 127.0.0.1.
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import http from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';

import { decodePng } from './png.mjs';

const CONTENT_TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png' };

// Serves the files of `root` on a free port of 127.0.0.1; resolves to { url, close }.
export async function serveFolder(root) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    let body = null;
    if (file.startsWith(path.resolve(root) + path.sep)) {
      try { if (statSync(file).isFile()) body = readFileSync(file); } catch { body = null; }
    }
    if (!body) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': CONTENT_TYPES[path.extname(file)] || 'application/octet-stream' });
    response.end(body);
  });
  server.listen(0, '127.0.0.1');
  await once(server, 'listening');
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise(r => server.close(r)) };
}

// Without the networking flags Chromium keeps reaching for hosts that this
// closed network refuses; SwiftShader gives WebGL without a GPU.
const BASE_FLAGS = [
  '--headless', '--remote-debugging-pipe', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
  '--no-default-browser-check', '--disable-quic', '--disable-extensions', '--mute-audio',
];

export class Browser {
  // `flags`: extra command-line flags (an autoplay policy, a frame rate limit).
  static async launch({ flags = [], executable = process.env.CHROMIUM || '/usr/bin/chromium' } = {}) {
    const profile = mkdtempSync(path.join(tmpdir(), 'vitrelume-chromium-'));
    const args = [...BASE_FLAGS, `--user-data-dir=${profile}`, ...flags, 'about:blank'];
    if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');  // the sandbox refuses root
    const child = spawn(executable, args, { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Browser(child, profile);
    await browser.send('Target.setDiscoverTargets', { discover: true });
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.waiting = new Map();
    this.listeners = new Set();
    this.stderr = '';
    this.exited = new Promise(resolve => child.once('exit', resolve));
    child.stderr.on('data', chunk => { this.stderr = (this.stderr + chunk).slice(-4000); });
    let pending = '';
    child.stdio[4].on('data', chunk => {
      const parts = (pending + chunk.toString('utf8')).split('\0');
      pending = parts.pop();
      for (const part of parts) this.receive(JSON.parse(part));
    });
    this.exited.then(() => {
      for (const { reject } of this.waiting.values()) reject(new Error(`Chromium exited:\n${this.stderr}`));
      this.waiting.clear();
    });
  }

  receive(message) {
    if (message.id !== undefined) {
      const call = this.waiting.get(message.id);
      this.waiting.delete(message.id);
      if (!call) return;
      if (message.error) call.reject(new Error(`${call.method}: ${message.error.message}`));
      else call.resolve(message.result);
      return;
    }
    for (const listener of this.listeners) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, { method, resolve, reject });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  // A new tab of `width` x `height` CSS pixels at device pixel ratio `ratio`.
  async newPage({ width = 800, height = 600, ratio = 1 } = {}) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId, targetId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: ratio, mobile: false });
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), new Promise(r => setTimeout(r, 3000))]);
    } catch { /* already gone */ }
    const timer = setTimeout(() => this.child.kill('SIGKILL'), 5000);
    if (this.child.exitCode === null && this.child.signalCode === null) await this.exited;
    clearTimeout(timer);
    rmSync(this.profile, { recursive: true, force: true });
  }
}

export class Page {
  constructor(browser, sessionId, targetId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.targetId = targetId;
    this.console = [];  // every console message, as text
    this.consoleWaiters = [];
    browser.listeners.add(message => {
      if (message.sessionId !== sessionId) return;
      if (message.method === 'Runtime.consoleAPICalled') {
        const text = message.params.args.map(a => (a.value !== undefined ? String(a.value) : a.description || '')).join(' ');
        this.console.push(text);
        this.consoleWaiters = this.consoleWaiters.filter(w => !w(text));
      } else if (message.method === 'Runtime.exceptionThrown') {
        const d = message.params.exceptionDetails;
        this.console.push(`uncaught: ${d.exception?.description || d.text}`);
      }
    });
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  async goto(url) {
    const loaded = new Promise(resolve => {
      const listener = m => {
        if (m.sessionId === this.sessionId && m.method === 'Page.loadEventFired') {
          this.browser.listeners.delete(listener);
          resolve();
        }
      };
      this.browser.listeners.add(listener);
    });
    await this.send('Page.navigate', { url });
    await loaded;
  }

  // Resolves with the first console line (seen before or after) that `test` accepts.
  waitForConsole(test, timeoutMs = 10000) {
    const seen = this.console.find(test);
    if (seen !== undefined) return Promise.resolve(seen);
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error(`no such console line in ${timeoutMs} ms; seen:\n${this.console.join('\n')}`)), timeoutMs);
      this.consoleWaiters.push(text => {
        if (!test(text)) return false;
        clearTimeout(timer);
        resolve(text);
        return true;
      });
    });
  }

  // The value of `expression` in the page (awaited when it is a promise). Not
  // a user gesture: the page's own gesture rules stay in force.
  async evaluate(expression) {
    const { result, exceptionDetails } = await this.send('Runtime.evaluate', {
      expression, awaitPromise: true, returnByValue: true, userGesture: false,
    });
    if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.exception?.description || exceptionDetails.text}`);
    return result.value;
  }

  // A real key press (down, up) as the keyboard would give it; the DOM
  // keyCode is the Windows virtual-key code.
  async pressKey({ key, code, keyCode }) {
    const common = { key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
    await this.send('Input.dispatchKeyEvent', { type: 'keyDown', ...common, text: key.length === 1 ? key : undefined });
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
  }

  // Gives the file input that `selector` finds these files, as a user's
  // choice in the file dialog would (the page gets its change event).
  async chooseFiles(selector, files) {
    const { root } = await this.send('DOM.getDocument');
    const { nodeId } = await this.send('DOM.querySelector', { nodeId: root.nodeId, selector });
    await this.send('DOM.setFileInputFiles', { nodeId, files });
  }

  // A click at `fraction` (0 to 1) of the width of the element `selector`
  // finds, half way down.
  async clickOn(selector, fraction = 0.5) {
    const box = await this.evaluate(`(() => { const b = document.querySelector(${JSON.stringify(selector)}).getBoundingClientRect();
      return { x: b.left + b.width * ${fraction}, y: b.top + b.height / 2 }; })()`);
    await this.click(box.x, box.y);
  }

  async click(x, y) {
    for (const type of ['mousePressed', 'mouseReleased'])
      await this.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
  }

  // Writes the page as shown to a PNG file.
  async savePicture(file) {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    writeFileSync(file, Buffer.from(data, 'base64'));
  }

  // The page as shown, in device pixels: { width, height, rgba }.
  async screenshot() {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    return decodePng(Buffer.from(data, 'base64'));
  }
}

export const KEYS = {
  space: { key: ' ', code: 'Space', keyCode: 32 },
  escape: { key: 'Escape', code: 'Escape', keyCode: 27 },
};
