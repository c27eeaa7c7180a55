// Headless Chromium driven over the DevTools protocol on a pipe (no port, no extra package).
import { spawn } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const CANDIDATES = ['chromium', 'chromium-browser', 'google-chrome'];

export function findChromium() {
  if (process.env.VANTOR_CHROMIUM) return process.env.VANTOR_CHROMIUM;
  for (const dir of (process.env.PATH ?? '').split(':')) {
    for (const name of CANDIDATES) {
      if (dir && existsSync(join(dir, name))) return join(dir, name);
    }
  }
  return null;
}

export class Chromium {
  // extraFlags: more command-line switches (e.g. --allow-file-access-from-files).
  static async launch(executable, extraFlags = []) {
    const profile = mkdtempSync(join(tmpdir(), 'vantor-chromium-'));
    const flags = [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`, '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--remote-debugging-pipe', '--hide-scrollbars', '--mute-audio', ...extraFlags, 'about:blank',
    ];
    const child = spawn(executable, flags, { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Chromium(child, profile);
    await browser.send('Browser.getVersion');
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = new Set();
    this.stderr = '';
    child.stderr.on('data', (chunk) => { this.stderr = (this.stderr + chunk).slice(-4000); });
    let buffered = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      let end;
      while ((end = buffered.indexOf(0)) >= 0) {
        const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
        buffered = buffered.subarray(end + 1);
        this.dispatch(message);
      }
    });
    child.on('exit', () => {
      for (const { reject } of this.pending.values()) reject(new Error(`chromium exited\n${this.stderr}`));
      this.pending.clear();
    });
  }

  dispatch(message) {
    if (message.id && this.pending.has(message.id)) {
      const { resolve, reject } = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error) reject(new Error(`${message.error.message} ${message.error.data ?? ''}`));
      else resolve(message.result);
    } else if (message.method) {
      for (const listener of this.listeners) listener(message);
    }
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.child.stdio[3].write(`${JSON.stringify(message)}\0`);
    });
  }

  async newPage(width, height) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, targetId, sessionId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
    return page;
  }

  async close() {
    const exited = this.child.exitCode !== null ? Promise.resolve()
      : new Promise((resolve) => this.child.once('exit', resolve));
    this.send('Browser.close').catch(() => {});
    const late = await Promise.race([exited, new Promise((resolve) => setTimeout(resolve, 5000, 'late'))]);
    if (late === 'late') {
      this.child.kill('SIGKILL');
      await exited;
    }
    // The browser's helper processes may still be writing to the profile for a moment.
    for (let attempt = 0; ; attempt++) {
      try {
        rmSync(this.profile, { recursive: true, force: true });
        return;
      } catch (error) {
        if (attempt === 30) throw error;
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    }
  }
}

class Page {
  constructor(browser, targetId, sessionId) {
    this.browser = browser;
    this.targetId = targetId;
    this.sessionId = sessionId;
    this.errors = [];
    this.console = [];
    this.listener = (message) => {
      if (message.sessionId !== sessionId) return;
      if (message.method === 'Runtime.exceptionThrown') {
        this.errors.push(message.params.exceptionDetails.exception?.description ?? message.params.exceptionDetails.text);
      } else if (message.method === 'Runtime.consoleAPICalled') {
        const text = message.params.args.map((arg) => arg.value ?? arg.description ?? '').join(' ');
        this.console.push(`${message.params.type}: ${text}`);
        if (message.params.type === 'error') this.errors.push(text);
      }
    };
    browser.listeners.add(this.listener);
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  navigate(url) {
    return this.send('Page.navigate', { url });
  }

  async evaluate(expression) {
    const result = await this.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
    if (result.exceptionDetails) throw new Error(result.exceptionDetails.exception?.description ?? result.exceptionDetails.text);
    return result.result.value;
  }

  // Evaluates expression until it gives a truthy value; returns that value.
  async waitFor(expression, timeoutMs = 20000) {
    const end = Date.now() + timeoutMs;
    for (;;) {
      const value = await this.evaluate(expression);
      if (value) return value;
      if (Date.now() > end) throw new Error(`timed out waiting for ${expression}`);
      await new Promise((resolve) => setTimeout(resolve, 25));
    }
  }

  // PNG of a page rectangle { x, y, width, height } in CSS pixels.
  async screenshot(clip) {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png', clip: { ...clip, scale: 1 } });
    return Buffer.from(data, 'base64');
  }

  async close() {
    this.browser.listeners.delete(this.listener);
    await this.browser.send('Target.closeTarget', { targetId: this.targetId });
  }
}
