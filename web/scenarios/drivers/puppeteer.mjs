// Chromium (through its DevTools protocol) and Firefox (through WebDriver BiDi), both driven by
// puppeteer-core, whose Page is the scenarios' page as it is.
import puppeteer, { ElementHandle, Frame, Page, Puppeteer } from 'puppeteer-core';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { ariaQuery, firstScript } from './in_page.mjs';
import { clearLanded, relayDownloads } from './downloads.mjs';

export const chromium = {
  async launch() {
    const profile = await mkdtemp(path.join(tmpdir(), 'quarzel-chromium-'));
    const browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      userDataDir: profile,
      // Shared memory in /tmp rather than /dev/shm, which a container may keep at 64 MB.
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', '--lang=de-DE'],
    });
    browser.quarzelFolders = [profile];
    return browser;
  },

  async downloadsTo(page, folder) {
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  },

  // The pages' local storage emptied through the DevTools protocol, before the page opens: the
  // first script's mark in the session storage is not always there after a reload in Chromium.
  async clearStorage(page) {
    const session = await page.createCDPSession();
    await session.send('Storage.clearDataForOrigin', { origin: 'file://', storageTypes: 'local_storage' });
    await session.detach();
  },

  // Alt and the letter, with the letter's text, as Chromium's access keys take it; puppeteer's
  // keyboard leaves the text out while a modifier is held. The keys go through the page's own
  // session, after what was sent there before: a file chooser the scenario waits for has its
  // interception switched on there, and a session of its own could overtake it.
  async pressAccessKey(page, letter) {
    const session = page._client();
    const key = { key: letter, code: `Key${letter.toUpperCase()}`, windowsVirtualKeyCode: letter.toUpperCase().charCodeAt(0), modifiers: 1 };
    await session.send('Input.dispatchKeyEvent', { type: 'keyDown', ...key, text: letter, unmodifiedText: letter });
    await session.send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
  },
};

// Firefox answers puppeteer's `::-p-aria(...)` from its accessibility tree through BiDi, about
// two seconds a lookup on a page with the table's thousand fields: too slow for the scenarios'
// hundreds of lookups. There the lookup is the in-page one that WebKit uses, the selectors
// rewritten on their way into puppeteer.
let inPageAria = false;
function useInPageAria() {
  if (inPageAria) return;
  inPageAria = true;
  const handler = (all) => new Function('node', 'selector', `
    const wanted = { name: null, role: null };
    for (const [, key, text] of selector.matchAll(/\\[(name|role)\\s*=\\s*"((?:[^"\\\\]|\\\\.)*)"\\]/g)) {
      wanted[key] = text.replace(/\\\\(.)/g, '$1');
    }
    return (${ariaQuery})(node, wanted.role, wanted.name, ${all});`);
  Puppeteer.registerCustomQueryHandler('qzaria', { queryOne: handler(false), queryAll: handler(true) });
  const rewrite = (selector) => (typeof selector === 'string' ? selector.replaceAll('::-p-aria(', '::-p-qzaria(') : selector);
  for (const type of [Page, Frame, ElementHandle]) {
    for (const method of ['$', '$$', '$eval', '$$eval', 'waitForSelector']) {
      const original = type.prototype[method];
      type.prototype[method] = function rewritten(selector, ...rest) {
        return original.call(this, rewrite(selector), ...rest);
      };
    }
  }
}

export const firefox = {
  // Downloads go without asking into one folder of the profile's, moved on from there into the
  // folder a scenario names.
  async launch() {
    useInPageAria();
    const landing = await mkdtemp(path.join(tmpdir(), 'quarzel-firefox-downloads-'));
    const browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
      headless: true,
      extraPrefsFirefox: {
        'browser.download.dir': landing,
        'browser.download.folderList': 2,
        'browser.download.useDownloadDir': true,
        'browser.download.always_ask_before_handling_new_types': false,
        'browser.download.start_downloads_in_tmp_dir': false,
        'browser.download.alwaysOpenPanel': false,
        'browser.download.manager.addToRecentDocs': false,
        'intl.accept_languages': 'de-DE, de',
      },
    });
    browser.quarzelFolders = [landing];
    browser.quarzelLanding = landing;
    return browser;
  },

  async downloadsTo(page, folder) {
    const landing = page.browser().quarzelLanding;
    await clearLanded(landing);
    const stop = relayDownloads(landing, folder);
    page.once('close', () => void stop());
  },

  // The file input the first script kept, filled through BiDi's input.setFiles.
  async waitForFileChooser(page, { timeout = 30000 } = {}) {
    const kept = await page.waitForFunction(() => window.__quarzelTest.choosers.shift(), { timeout, polling: 25 });
    const input = kept.asElement();
    return {
      isMultiple: () => input.evaluate((i) => i.multiple),
      accept: (paths) => input.uploadFile(...paths.map((p) => path.resolve(p))),
      cancel: () => input.evaluate((i) => i.dispatchEvent(new Event('cancel'))),
    };
  },

  // Alt+Shift and the letter: Firefox's access keys on Linux.
  async pressAccessKey(page, letter) {
    await page.keyboard.down('Alt');
    await page.keyboard.down('Shift');
    await page.keyboard.press(letter.toUpperCase());
    await page.keyboard.up('Shift');
    await page.keyboard.up('Alt');
  },
};

export async function close(browser) {
  await browser.close();
  for (const folder of browser.quarzelFolders) await rm(folder, { recursive: true, force: true });
}

// A page with the recorders the scenarios read: requests that leave the file, the page's
// errors, the leave warnings (accepted, so that a scenario goes on).
export async function newPage(engine, browser, { width, height, fileSystemAccess, keepStorage, downloads, beforeLoad }) {
  const page = await browser.newPage();
  const leaveWarnings = [];
  page.on('dialog', async (d) => {
    leaveWarnings.push(d.type());
    await d.accept();
  });
  const requests = [];
  page.on('request', (request) => {
    if (!/^(file|data|blob):/.test(request.url())) requests.push(request.url());
  });
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.setViewport({ width, height });
  const choosers = engine.waitForFileChooser !== undefined;
  const clearsItself = engine.clearStorage !== undefined;
  if (clearsItself && !keepStorage) await engine.clearStorage(page);
  await page.evaluateOnNewDocument(firstScript, { keepStorage: keepStorage || clearsItself, fileSystemAccess, choosers, observe: false });
  if (beforeLoad) {
    // Firefox runs these scripts in the blank document a tab starts with too, whose storage
    // throws: a scenario's script runs only in the page from disk.
    await page.evaluateOnNewDocument((source) => {
      if (location.protocol === 'file:') new Function(`(${source})();`)();
    }, beforeLoad.toString());
  }
  if (choosers) page.waitForFileChooser = (options) => engine.waitForFileChooser(page, options);
  if (downloads) await engine.downloadsTo(page, downloads);
  return { page, requests, errors, leaveWarnings };
}
