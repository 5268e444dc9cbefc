// The scenarios' harness: opens the built page from disk in the engine that QUARZEL_ENGINE
// names (chromium, the default; firefox; webkit), each with a fresh profile, recording every
// request that leaves the file and every error of the page; controls are found by their
// accessible names. One scenario code for all engines: Chromium and Firefox are puppeteer's own
// page, WebKit an adapter with the same methods (drivers/).
import assert from 'node:assert/strict';
import { afterEach } from 'node:test';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import * as puppeteerDrivers from './drivers/puppeteer.mjs';
import * as webkit from './drivers/webkit.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const pagePath = process.env.QUARZEL_HTML ?? path.resolve(here, '../../build-web/quarzel.html');
export const pageUrl = pathToFileURL(pagePath).href;

const engines = {
  chromium: { name: 'Chromium', driver: puppeteerDrivers.chromium },
  firefox: { name: 'Firefox', driver: puppeteerDrivers.firefox },
  webkit: { name: 'WebKit', driver: null },
};
export const engine = process.env.QUARZEL_ENGINE ?? 'chromium';
if (!(engine in engines)) throw new Error(`QUARZEL_ENGINE=${engine}: bekannt sind ${Object.keys(engines).join(', ')}`);
export const engineName = engines[engine].name;

// What a scenario may need that not every engine's driver can do, and why not.
const lacking = {
  chromium: {},
  firefox: {
    touchScreen: 'puppeteer emulates a touch screen (coarse pointer, touch events) in Chromium only',
    folderChoice: 'Firefox\'s driver puts files into a file input, never a folder (BiDi input.setFiles refuses it)',
  },
  webkit: {
    touchScreen: 'WebKitWebDriver emulates no touch screen',
    folderChoice: 'WebKitWebDriver puts files into a file input, never a folder',
    tinyViewport: 'MiniBrowser\'s window is never narrower than its toolbar (447 pixels)',
    clickAtEdge: 'while the page scrolls, WebKitGTK\'s overlay scrollbar takes the clicks in a strip of about 20 pixels at the right',
  },
};

// False where this engine can run a scenario that needs `feature`, else the reason why not:
// `it(title, { skip: unsupported('folderChoice') }, ...)` names it in the test output.
export function unsupported(feature) {
  if (!Object.values(lacking).some((reasons) => feature in reasons)) throw new Error(`Unbekannte Fähigkeit ${feature}`);
  return lacking[engine][feature] ?? false;
}

export async function launch() {
  if (engine === 'webkit') {
    const browser = await webkit.launch(pagePath, pageUrl);
    return { browser, close: () => webkit.close(browser) };
  }
  const browser = await engines[engine].driver.launch();
  return { browser, close: () => puppeteerDrivers.close(browser) };
}

// A page at the given size, with the download path (no File System Access API) unless asked;
// `downloads`: the folder the page's downloads arrive in; `keepStorage`: the local storage of
// the pages before is kept, else each page starts without it (a reload keeps its own);
// `beforeLoad` runs in the page before its own script (to stub what the browser offers).
// `url`: another build of the page (the figures compare two), for Chromium and Firefox.
// Pages a test opened and has not closed: a test that fails before its end leaves its page
// open, and a page left running (a run at "Direkt", a window in front) would slow or hide the
// next tests' pages. Each is closed after its test, under the test runner.
const leftOpen = new Set();
if (process.env.NODE_TEST_CONTEXT) {
  afterEach(async () => {
    for (const page of [...leftOpen]) await page.close().catch(() => {});
  });
}

export async function openPage(browser, { width = 800, height = 600, fileSystemAccess = false, downloads, keepStorage = false, beforeLoad, url = pageUrl } = {}) {
  const options = { width, height, fileSystemAccess, downloads, keepStorage, beforeLoad };
  let opened;
  if (engine === 'webkit') {
    const page = await webkit.newPage(browser, options);
    opened = { page, requests: page.requests, errors: page.errors, leaveWarnings: page.leaveWarnings };
  } else {
    opened = await puppeteerDrivers.newPage(engines[engine].driver, browser, options);
  }
  const { page } = opened;
  const close = page.close.bind(page);
  page.close = (...args) => {
    leftOpen.delete(page);
    return close(...args);
  };
  leftOpen.add(page);
  await opened.page.goto(url);
  await opened.page.waitForSelector('body[data-ready="true"]', { timeout: 30000 });
  return opened;
}

// The access key of a letter, pressed as this engine's users press it (Alt, or Alt+Shift).
export async function pressAccessKey(page, letter) {
  if (engine === 'webkit') return webkit.pressAccessKey(page, letter);
  return engines[engine].driver.pressAccessKey(page, letter);
}

// Elements by their accessible names, as a screen reader finds them.
export async function byName(page, role, name) {
  const handle = await page.waitForSelector(`::-p-aria([name="${name}"][role="${role}"])`, { timeout: 5000 });
  return handle;
}

export async function click(page, role, name) {
  const handle = await byName(page, role, name);
  await handle.click();
}

// The open modal box: its caption and text, after waiting for it.
export async function dialog(page) {
  await page.waitForSelector('.overlay .dialog');
  return page.$eval('.overlay .dialog', (d) => ({
    caption: d.getAttribute('aria-label'),
    text: d.querySelector('.message')?.textContent ?? '',
  }));
}

// Presses a button of the open box and waits until that box is gone.
export async function answer(page, name) {
  const boxes = await page.$$('.overlay');
  const box = boxes[boxes.length - 1];
  const button = await box.waitForSelector(`::-p-aria([name="${name}"][role="button"])`, { timeout: 5000 });
  await button.click();
  await page.waitForFunction((b) => !b.isConnected, {}, box);
}

export async function typeProgram(page, text) {
  const editor = await byName(page, 'textbox', 'Programm');
  await editor.click();
  await page.evaluate((value) => {
    const content = document.querySelector('#meProgram .cm-content');
    content.focus();
    document.execCommand('selectAll');
    document.execCommand('insertText', false, value);
  }, text);
  await page.waitForFunction((value) => window.quarzel.program() === value, {}, text);
}

// Waits until what was typed is in the browser's storage (the page keeps typing when it pauses).
export async function typingKept(page) {
  await page.waitForFunction(() => !window.quarzel.typingUnkept());
}

// The editor's whole text, its lines joined by "\n".
export async function programText(page) {
  return page.evaluate(() => window.quarzel.program());
}

export async function value(page, role, name) {
  const handle = await byName(page, role, name);
  return handle.evaluate((e) => e.value ?? e.textContent);
}

// Types into a table cell, replacing its text, as a learner does after selecting it.
export async function typeCell(page, name, text) {
  const cell = await byName(page, 'textbox', name);
  await cell.focus();
  await cell.evaluate((f) => f.select());
  await cell.type(text);
}

// Pastes `unit` repeated `count` times into the editor as the browser delivers a paste from the
// clipboard. The text is made inside the page, so that even 50 MB cross no protocol. Firefox
// hands a script's paste event no data: there the text goes through its clipboard and Ctrl+V.
export async function pasteRepeated(page, unit, count) {
  if (engine === 'firefox') {
    await page.evaluate((u, n) => {
      document.querySelector('#meProgram .cm-content').focus();
      return navigator.clipboard.writeText(u.repeat(n));
    }, unit, count);
    await page.keyboard.down('Control');
    await page.keyboard.press('v');
    await page.keyboard.up('Control');
    return;
  }
  await page.evaluate((u, n) => {
    const content = document.querySelector('#meProgram .cm-content');
    content.focus();
    const data = new DataTransfer();
    data.setData('text/plain', u.repeat(n));
    content.dispatchEvent(new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
  }, unit, count);
}

// Reads the open box, checks its caption and text, and answers it with `reply`.
export async function question(page, caption, text, reply) {
  const shown = await dialog(page);
  if (shown.caption !== caption || shown.text !== text) {
    throw new Error(`Box ${JSON.stringify(shown)} statt ${JSON.stringify({ caption, text })}`);
  }
  await answer(page, reply);
}

export async function noBoxOpen(page) {
  await page.waitForFunction(() => !document.querySelector('.overlay'));
}

// For openPage's `beforeLoad`: every note the page shows is recorded in window.notesSeen, also
// one gone again by the time a scenario asks.
export function recordNotes() {
  window.notesSeen = [];
  new MutationObserver((changes) => {
    for (const change of changes) {
      for (const node of change.addedNodes) if (node.classList?.contains('note')) window.notesSeen.push(node.textContent);
    }
  }).observe(document, { childList: true, subtree: true });
}

export async function notesSeen(page) {
  return page.evaluate(() => window.notesSeen);
}

// The box on screen says exactly this.
export async function boxSays(page, caption, text) {
  assert.deepEqual(await dialog(page), { caption, text });
}

// Start through both checks: "Programm wird geprüft", "Daten werden geprüft", then the run at
// the speed chosen.
export async function startRun(page) {
  await click(page, 'button', 'Start');
  await boxSays(page, 'Hinweis', 'Programm wird geprüft');
  await answer(page, 'OK');
  await click(page, 'button', 'Start');
  await boxSays(page, 'Hinweis', 'Daten werden geprüft');
  await answer(page, 'OK');
  await click(page, 'button', 'Start');
  await byName(page, 'button', 'Stop');
}
