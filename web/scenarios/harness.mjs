// Starts Debian's Chromium headless with a fresh profile and opens the built page from disk,
// recording every request that leaves the file.
import puppeteer from 'puppeteer-core';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const pagePath = process.env.QUARZEL_HTML ?? path.resolve(here, '../../build-web/quarzel.html');
export const pageUrl = pathToFileURL(pagePath).href;

export async function launch() {
  const profile = await mkdtemp(path.join(tmpdir(), 'quarzel-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', '--lang=de-DE'],
  });
  return {
    browser,
    async close() {
      await browser.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
}

// A page at the given size, with the download path (no File System Access API) unless asked.
// `beforeLoad` runs in the page before its own script (to stub what the browser offers).
export async function openPage(browser, { width = 800, height = 600, fileSystemAccess = false, downloads, keepStorage = false, beforeLoad } = {}) {
  const page = await browser.newPage();
  // Leaving a page with unsaved work raises the browser's leave warning; it is counted and
  // accepted, so that a scenario can go on.
  const leaveWarnings = [];
  page.on('dialog', async (d) => {
    leaveWarnings.push(d.type());
    await d.accept();
  });
  const requests = [];
  page.on('request', (request) => {
    if (!request.url().startsWith('file:') && !request.url().startsWith('data:') && !request.url().startsWith('blob:')) {
      requests.push(request.url());
    }
  });
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.setViewport({ width, height });
  if (!fileSystemAccess) {
    await page.evaluateOnNewDocument(() => {
      delete window.showOpenFilePicker;
      delete window.showSaveFilePicker;
    });
  }
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  if (downloads) {
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  }
  if (!keepStorage) {
    // Each scenario starts without the work of the one before; a reload within it keeps its own.
    const storage = await page.createCDPSession();
    await storage.send('Storage.clearDataForOrigin', { origin: 'file://', storageTypes: 'local_storage' });
    await storage.detach();
  }
  await page.goto(pageUrl);
  await page.waitForSelector('body[data-ready="true"]', { timeout: 20000 });
  return { page, requests, errors, leaveWarnings };
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
// clipboard. The text is made inside the page, so that even 50 MB cross no protocol.
export async function pasteRepeated(page, unit, count) {
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
