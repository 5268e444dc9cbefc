// WebKit (WebKitGTK's MiniBrowser) driven through WebKitWebDriver with selenium-webdriver,
// behind the part of puppeteer's Page and ElementHandle the scenarios use. WebKitWebDriver has
// no BiDi and no console: the page is opened as a copy with a first script that records its
// errors, requests and file choosers (in_page.mjs), and each script call takes them along.
import { Builder, Button, Key, Origin } from 'selenium-webdriver';
import { spawn } from 'node:child_process';
import { mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { ariaQuery, firstScript } from './in_page.mjs';
import { clearLanded, relayDownloads } from './downloads.mjs';

const kDriver = process.env.WEBKIT_DRIVER ?? '/usr/bin/WebKitWebDriver';
const kMiniBrowser = process.env.WEBKIT_BROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const kTimeout = 30000;
const kPoll = 25;
// The page's first tag, behind which the scenarios' first script goes.
const kCharset = '<meta charset="utf-8">';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function freePort() {
  return new Promise((resolve, reject) => {
    const server = createServer();
    server.unref();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

async function waitForDriver(url, child) {
  for (let i = 0; i < 200; ++i) {
    if (child.exitCode !== null) throw new Error(`WebKitWebDriver endete mit ${child.exitCode}`);
    try {
      const response = await fetch(`${url}/status`);
      if (response.ok) return;
    } catch {
      // not listening yet
    }
    await sleep(50);
  }
  throw new Error('WebKitWebDriver antwortet nicht');
}

// puppeteer's key names as WebDriver's key codes.
const keyCodes = {
  Enter: Key.ENTER, Escape: Key.ESCAPE, Tab: Key.TAB, Backspace: Key.BACK_SPACE, Delete: Key.DELETE,
  ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN, ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT,
  Home: Key.HOME, End: Key.END, PageUp: Key.PAGE_UP, PageDown: Key.PAGE_DOWN, Insert: Key.INSERT,
  Shift: Key.SHIFT, Control: Key.CONTROL, Alt: Key.ALT, Meta: Key.META, Space: ' ',
  '\n': Key.ENTER, '\r': Key.ENTER, '\t': Key.TAB,
};
for (let n = 1; n <= 12; ++n) keyCodes[`F${n}`] = Key[`F${n}`];

function keyCode(key) {
  const code = keyCodes[key];
  if (code !== undefined) return code;
  if ([...key].length !== 1) throw new Error(`Taste ${key} kennt der WebKit-Treiber nicht`);
  return key;
}

const buttons = { left: Button.LEFT, middle: Button.MIDDLE, right: Button.RIGHT };

// `::-p-aria(...)`: the role and name asked for, or null for a CSS selector.
function ariaSelector(selector) {
  const match = /^::-p-aria\((.*)\)$/s.exec(selector.trim());
  if (!match) return null;
  const inner = match[1].trim();
  const wanted = { name: null, role: null };
  const attribute = /\[(name|role)\s*=\s*"((?:[^"\\]|\\.)*)"\]/g;
  let found = false;
  for (const [, key, text] of inner.matchAll(attribute)) {
    wanted[key] = text.replace(/\\(.)/g, '$1');
    found = true;
  }
  if (!found) wanted.name = inner.replace(/^"(.*)"$/s, '$1');
  return wanted;
}

// The in-page half of every script call. Elements cross as numbers of a table in the page, so
// that a handle stays usable after its element left the document (WebDriver's references go
// stale then, puppeteer's do not); with the value go the errors and requests seen meanwhile.
function inPage(source, ...args) {
  const handles = window.__quarzelHandles ?? (window.__quarzelHandles = { next: 1, elements: new Map() });
  const decode = (a) => {
    if (a === null || typeof a !== 'object' || !('quarzelHandle' in a)) return a;
    const element = handles.elements.get(a.quarzelHandle);
    if (!element) throw new Error('Das Element gehört zu einer früheren Seite');
    return element;
  };
  const encode = (v) => {
    if (v instanceof Element) {
      const id = handles.next++;
      handles.elements.set(id, v);
      return { quarzelHandle: id };
    }
    return Array.isArray(v) ? v.map(encode) : v;
  };
  const fn = new Function(`return (${source})`)();
  return Promise.resolve(fn(...args.map(decode))).then((value) => {
    const seen = window.__quarzelTest;
    return [encode(value), seen ? seen.errors.splice(0) : [], seen ? seen.requests.splice(0) : []];
  });
}

class WebKitElement {
  constructor(page, id) {
    this.page = page;
    this.id = id;
  }

  // WebDriver's own reference, for typing files into a file input.
  async webElement() {
    await this.page.select();
    return this.page.browser.driver.executeScript('return window.__quarzelHandles.elements.get(arguments[0]);', this.id);
  }

  evaluate(fn, ...args) {
    return this.page.evaluate(fn, this, ...args);
  }

  $(selector) {
    return this.page.query(this, selector, false);
  }

  $$(selector) {
    return this.page.query(this, selector, true);
  }

  async $eval(selector, fn, ...args) {
    const element = await this.page.mustFind(this, selector);
    return element.evaluate(fn, ...args);
  }

  waitForSelector(selector, options) {
    return this.page.waitFor(this, selector, options);
  }

  async focus() {
    await this.evaluate((e) => e.focus());
  }

  async boundingBox() {
    const box = await this.evaluate((e) => {
      const r = e.getBoundingClientRect();
      return e.getClientRects().length === 0 ? null : { x: r.left, y: r.top, width: r.width, height: r.height };
    });
    return box;
  }

  // As puppeteer clicks: scrolled into view when not wholly visible, then the mouse at its middle.
  async click({ button = 'left', count = 1 } = {}) {
    const [x, y] = await this.evaluate((e) => {
      const r = e.getBoundingClientRect();
      if (r.top < 0 || r.left < 0 || r.bottom > innerHeight || r.right > innerWidth) {
        e.scrollIntoView({ block: 'center', inline: 'center', behavior: 'instant' });
      }
      const s = e.getBoundingClientRect();
      return [s.left + s.width / 2, s.top + s.height / 2];
    });
    await this.page.mouse.click(x, y, { button, count });
  }

  // As puppeteer types: focus (the caret stays where it is), then key by key.
  async type(text) {
    await this.evaluate((e) => {
      if (document.activeElement !== e) e.focus();
    });
    await this.page.keyboard.type(text);
  }

  async press(key) {
    await this.focus();
    await this.page.keyboard.press(key);
  }

  async dispose() {}
}

class Keyboard {
  constructor(page) {
    this.page = page;
  }

  async perform(build) {
    await this.page.select();
    const actions = this.page.browser.driver.actions({ async: true });
    build(actions);
    await actions.perform();
  }

  down(key) {
    return this.perform((a) => a.keyDown(keyCode(key)));
  }

  up(key) {
    return this.perform((a) => a.keyUp(keyCode(key)));
  }

  press(key) {
    const code = keyCode(key);
    return this.perform((a) => a.keyDown(code).keyUp(code));
  }

  type(text) {
    return this.perform((a) => {
      for (const c of text) a.keyDown(keyCode(c)).keyUp(keyCode(c));
    });
  }

  async sendCharacter(text) {
    await this.page.evaluate((t) => document.execCommand('insertText', false, t), text);
  }
}

class Mouse {
  constructor(page) {
    this.page = page;
    this.x = 0;
    this.y = 0;
  }

  async perform(build) {
    await this.page.select();
    const actions = this.page.browser.driver.actions({ async: true });
    build(actions);
    await actions.perform();
  }

  to(actions, x, y) {
    this.x = x;
    this.y = y;
    actions.move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT, duration: 0 });
  }

  move(x, y, { steps = 1 } = {}) {
    const [fromX, fromY] = [this.x, this.y];
    return this.perform((a) => {
      for (let i = 1; i <= steps; ++i) this.to(a, fromX + ((x - fromX) * i) / steps, fromY + ((y - fromY) * i) / steps);
    });
  }

  down({ button = 'left' } = {}) {
    return this.perform((a) => a.press(buttons[button]));
  }

  up({ button = 'left' } = {}) {
    return this.perform((a) => a.release(buttons[button]));
  }

  click(x, y, { button = 'left', count = 1 } = {}) {
    return this.perform((a) => {
      this.to(a, x, y);
      for (let i = 0; i < count; ++i) a.press(buttons[button]).release(buttons[button]);
    });
  }
}

class FileChooser {
  constructor(page, input) {
    this.page = page;
    this.input = input;
  }

  isMultiple() {
    return this.input.evaluate((i) => i.multiple);
  }

  async accept(paths) {
    const input = await this.input.webElement();
    await input.sendKeys(paths.map((p) => path.resolve(p)).join('\n'));
  }

  async cancel() {
    await this.input.evaluate((i) => i.dispatchEvent(new Event('cancel')));
  }
}

class WebKitPage {
  constructor(browser, handle, { keepStorage, copyUrl }) {
    this.browser = browser;
    this.handle = handle;
    this.copyUrl = copyUrl;
    this.query_ = keepStorage ? '?behalten' : '';
    this.errors = [];
    this.requests = [];
    this.leaveWarnings = [];
    this.keyboard = new Keyboard(this);
    this.mouse = new Mouse(this);
    this.closed = false;
    this.stopDownloads = null;
  }

  // Commands go to this page's window.
  async select() {
    if (this.closed) throw new Error('Die Seite ist geschlossen');
    if (this.browser.current !== this.handle) {
      await this.browser.driver.switchTo().window(this.handle);
      this.browser.current = this.handle;
    }
  }

  wrap(value) {
    if (value !== null && typeof value === 'object' && 'quarzelHandle' in value) return new WebKitElement(this, value.quarzelHandle);
    if (Array.isArray(value)) return value.map((v) => this.wrap(v));
    return value;
  }

  // A function (or its source) run in the page with the arguments, its promise awaited.
  async run(source, args) {
    await this.select();
    const encoded = args.map((a) => (a instanceof WebKitElement ? { quarzelHandle: a.id } : a));
    const [value, errors, requests] = await this.browser.driver.executeScript(
      `return (${inPage}).apply(null, arguments);`, source, ...encoded);
    this.errors.push(...errors);
    this.requests.push(...requests);
    return this.wrap(value);
  }

  evaluate(fn, ...args) {
    return this.run(typeof fn === 'function' ? fn.toString() : `() => (${fn})`, args);
  }

  query(root, selector, all) {
    const aria = ariaSelector(selector);
    if (aria) {
      return this.run(`(r, role, name, every) => (${ariaQuery})(r ?? document, role, name, every)`, [root, aria.role, aria.name, all]);
    }
    return this.evaluate((r, s, every) => (every ? Array.from((r ?? document).querySelectorAll(s)) : (r ?? document).querySelector(s)),
      root, selector, all);
  }

  async mustFind(root, selector) {
    const element = await this.query(root, selector, false);
    if (!element) throw new Error(`Failed to find element matching selector "${selector}"`);
    return element;
  }

  async waitFor(root, selector, { timeout = kTimeout, hidden = false } = {}) {
    const end = Date.now() + timeout;
    for (;;) {
      const element = await this.query(root, selector, false);
      if (hidden ? !element : element) return element;
      if (Date.now() > end) throw new Error(`Waiting for selector \`${selector}\` failed`);
      await sleep(kPoll);
    }
  }

  $(selector) {
    return this.query(null, selector, false);
  }

  $$(selector) {
    return this.query(null, selector, true);
  }

  async $eval(selector, fn, ...args) {
    const element = await this.mustFind(null, selector);
    return element.evaluate(fn, ...args);
  }

  $$eval(selector, fn, ...args) {
    return this.run(`(s, ...rest) => (${fn})(Array.from(document.querySelectorAll(s)), ...rest)`, [selector, ...args]);
  }

  waitForSelector(selector, options) {
    return this.waitFor(null, selector, options);
  }

  async waitForFunction(fn, { timeout = kTimeout, polling = kPoll } = {}, ...args) {
    const end = Date.now() + timeout;
    for (;;) {
      const value = await this.evaluate(fn, ...args);
      if (value) return value;
      if (Date.now() > end) throw new Error(`Waiting failed: ${timeout}ms exceeded`);
      await sleep(typeof polling === 'number' ? polling : kPoll);
    }
  }

  // The next file input the page opens, as the first script kept it.
  async waitForFileChooser({ timeout = kTimeout } = {}) {
    const end = Date.now() + timeout;
    for (;;) {
      const input = await this.evaluate(() => window.__quarzelTest?.choosers.shift() ?? null);
      if (input) return new FileChooser(this, input);
      if (Date.now() > end) throw new Error(`Waiting for \`FileChooser\` failed: ${timeout}ms exceeded`);
      await sleep(kPoll);
    }
  }

  // The page under test is the copy with the first script.
  async goto(url) {
    await this.select();
    const target = url === this.browser.pageUrl ? `${this.copyUrl}${this.query_}` : url;
    await this.browser.driver.get(target);
  }

  async reload() {
    await this.select();
    await this.browser.driver.navigate().refresh();
    const left = await this.evaluate(() => Number(sessionStorage.getItem('quarzel-test-leave') ?? 0));
    while (this.leaveWarnings.length < left) this.leaveWarnings.push('beforeunload');
  }

  async title() {
    await this.select();
    return this.browser.driver.getTitle();
  }

  async url() {
    await this.select();
    return this.browser.driver.getCurrentUrl();
  }

  // The window is sized so that its inner part, the page's viewport, has the size asked for.
  async setViewport({ width, height }) {
    const window = this.browser.driver.manage().window();
    for (let i = 0; i < 4; ++i) {
      const [innerWidth, innerHeight] = await this.evaluate(() => [window.innerWidth, window.innerHeight]);
      if (innerWidth === width && innerHeight === height) return;
      const outer = await window.getRect();
      await window.setRect({ width: outer.width + width - innerWidth, height: outer.height + height - innerHeight });
      await sleep(50);
    }
    const inner = await this.evaluate(() => [window.innerWidth, window.innerHeight]);
    throw new Error(`WebKit: Fenster ${inner.join(' x ')} statt ${width} x ${height}`);
  }

  // WebDriver's commands go to one window at a time: the one brought to the front.
  async bringToFront() {
    await this.select();
  }

  // Closing a window runs its leave handlers in WebKit, as `runBeforeUnload` asks of puppeteer.
  async close() {
    if (this.closed) return;
    if (this.stopDownloads) await this.stopDownloads();
    await this.select();
    await this.browser.driver.close();
    this.closed = true;
    await this.browser.driver.switchTo().window(this.browser.base);
    this.browser.current = this.browser.base;
  }

  on() {
    // WebKitWebDriver sends no events; openPage hands out what the first script records.
    return this;
  }

  createCDPSession() {
    throw new Error('WebKit hat kein DevTools-Protokoll');
  }
}

class WebKitBrowser {
  constructor(driver, child, folders, pageUrl, html) {
    this.driver = driver;
    this.child = child;
    this.home = folders.home;
    this.folders = folders;
    this.pageUrl = pageUrl;
    this.html = html;
    this.copies = new Map();
    this.base = null;
    this.current = null;
  }

  // The copy of the page with the first script and, after it, `beforeLoad` (one copy for each
  // such script; all lie in one folder, whose pages share their local storage in WebKit).
  async copyFor(beforeLoad) {
    const source = beforeLoad ? `(${beforeLoad})();` : '';
    if (!this.copies.has(source)) {
      const script = `(${firstScript})({ keepStorage: location.search === '?behalten', fileSystemAccess: false, choosers: true, observe: true });${source}`;
      const at = this.html.indexOf(kCharset) + kCharset.length;
      const copy = path.join(this.folders.copies, `quarzel-${this.copies.size}.html`);
      // A "</script" inside the scripts would end their element early.
      await writeFile(copy, `${this.html.slice(0, at)}\n<script>${script.replaceAll('</script', '<\\/script')}</script>${this.html.slice(at)}`);
      this.copies.set(source, pathToFileURL(copy).href);
    }
    return this.copies.get(source);
  }

  async newPage(options) {
    const copyUrl = await this.copyFor(options.beforeLoad);
    await this.driver.switchTo().newWindow('window');
    const handle = await this.driver.getWindowHandle();
    this.current = handle;
    return new WebKitPage(this, handle, { ...options, copyUrl });
  }

  async version() {
    return `WebKitGTK ${(await this.driver.getCapabilities()).get('browserVersion')}`;
  }
}

// One WebKitWebDriver and one MiniBrowser session; a fresh home is the download folder.
export async function launch(pagePath, pageUrl) {
  const home = await mkdtemp(path.join(tmpdir(), 'quarzel-webkit-home-'));
  const copies = await mkdtemp(path.join(tmpdir(), 'quarzel-webkit-page-'));
  const html = await readFile(pagePath, 'utf8');
  if (!html.includes(kCharset)) throw new Error(`${pagePath} hat keine Zeichensatzangabe, hinter die das erste Skript gehört`);

  const port = await freePort();
  // German as the browser's language, as the other engines are started; WebKitGTK takes it from
  // the environment.
  const env = { ...process.env, HOME: home, LANGUAGE: 'de_DE', LANG: 'de_DE.UTF-8' };
  const child = spawn(kDriver, [`--port=${port}`], { stdio: 'ignore', env });
  const server = `http://127.0.0.1:${port}`;
  const folders = { home, copies };
  try {
    await waitForDriver(server, child);
    const driver = await new Builder().usingServer(server).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: kMiniBrowser, args: ['--automation'] },
    }).build();
    const browser = new WebKitBrowser(driver, child, folders, pageUrl, html);
    browser.base = await driver.getWindowHandle();
    browser.current = browser.base;
    return browser;
  } catch (error) {
    child.kill();
    await rm(home, { recursive: true, force: true });
    await rm(copies, { recursive: true, force: true });
    throw error;
  }
}

export async function close(browser) {
  try {
    // A window that a failed test left open with a leave warning can keep the driver from
    // quitting: it gets a while, then the driver goes with its browser.
    await Promise.race([browser.driver.quit().catch(() => {}), sleep(15000)]);
  } finally {
    browser.child.kill();
    await rm(browser.folders.home, { recursive: true, force: true });
    await rm(browser.folders.copies, { recursive: true, force: true });
  }
}

export async function newPage(browser, { width, height, keepStorage, downloads, beforeLoad }) {
  const page = await browser.newPage({ keepStorage, beforeLoad });
  await page.setViewport({ width, height });
  if (downloads) {
    await clearLanded(browser.home);
    page.stopDownloads = relayDownloads(browser.home, downloads);
  }
  return page;
}

// Alt and the letter: WebKitGTK's access keys.
export async function pressAccessKey(page, letter) {
  await page.keyboard.down('Alt');
  await page.keyboard.press(letter);
  await page.keyboard.up('Alt');
}
