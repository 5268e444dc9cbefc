// Typing reaches the core change by change: after every kind of edit the core holds the very
// text the editor shows. What is typed is kept in the browser's storage when typing pauses and
// when the page is hidden or left, never lost in between.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { launch, openPage, pasteRepeated, programText, typeProgram, typingKept } from './harness.mjs';

let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium.close();
});

async function press(page, ...keys) {
  for (const key of keys.slice(0, -1)) await page.keyboard.down(key);
  await page.keyboard.press(keys[keys.length - 1]);
  for (const key of keys.slice(0, -1).reverse()) await page.keyboard.up(key);
}
const caret = (page, offset) => page.evaluate((at) => window.quarzel.setCaret(at), offset);
// Selects from `from` to `to` with Shift and the arrow keys, as a learner does.
async function select(page, from, to) {
  await caret(page, from);
  await page.keyboard.down('Shift');
  for (let i = from; i < to; ++i) await page.keyboard.press('ArrowRight');
  await page.keyboard.up('Shift');
}

// The core's record of the work after the edits, and after the whole text was handed over.
async function coreAgrees(page) {
  return page.evaluate(() => {
    const edited = window.quarzel.keptRecord();
    window.quarzel.resendProgram();
    return edited === window.quarzel.keptRecord();
  });
}

describe('Tippen erreicht den Kern Änderung für Änderung', () => {
  const edits = [
    { what: 'keys typed inside a line', start: 'LAD 1\nSTP', act: async (p) => { await caret(p, 3); await p.keyboard.type('X'); }, text: 'LADX 1\nSTP' },
    { what: 'Enter in the middle of a line', start: 'LAD 1\nSTP', act: async (p) => { await caret(p, 4); await p.keyboard.press('Enter'); }, text: 'LAD \n1\nSTP' },
    { what: 'Backspace at a line\'s start', start: 'LAD 1\nINC\nSTP', act: async (p) => { await caret(p, 6); await p.keyboard.press('Backspace'); }, text: 'LAD 1INC\nSTP' },
    { what: 'Delete at a line\'s end', start: 'A\nB\nC', act: async (p) => { await caret(p, 3); await p.keyboard.press('Delete'); }, text: 'A\nBC' },
    // Chromium's editor leaves a line break of its own at the end here; whatever it makes, the
    // core must hold it too.
    { what: 'a selection over three lines typed over', start: 'L0\nL1\nL2\nL3', act: async (p) => { await select(p, 4, 10); await p.keyboard.type('Z'); }, text: null },
    { what: 'an umlaut and a tab', start: 'LAD 1\nSTP', act: async (p) => { await caret(p, 0); await p.keyboard.type('Ä'); await p.keyboard.press('Tab'); }, text: 'Ä\tLAD 1\nSTP' },
    { what: 'a paste of several lines', start: 'AB\nZ', act: async (p) => { await caret(p, 1); await pasteRepeated(p, 'x\ny\n', 3); }, text: 'Ax\ny\nx\ny\nx\ny\nB\nZ' },
    { what: 'an undo of the last edits', start: 'A\nB', act: async (p) => { await caret(p, 1); await p.keyboard.press('Enter'); await p.keyboard.type('C'); await press(p, 'Control', 'z'); }, text: 'A\nB' },
  ];
  for (const { what, start, act, text } of edits) {
    it(`holds the editor's text after ${what}`, async () => {
      const { page, errors } = await openPage(chromium.browser);
      await typeProgram(page, start);
      await act(page);
      if (text === null) {
        await page.waitForFunction((value) => window.quarzel.program() !== value, { timeout: 5000 }, start);
      } else {
        await page.waitForFunction((value) => window.quarzel.program() === value, { timeout: 5000 }, text).catch(() => {});
        assert.equal(await programText(page), text);
      }
      assert.ok(await coreAgrees(page), 'the core holds the editor\'s text');
      assert.deepEqual(errors, []);
      await page.close();
    });
  }
});

// The values the page keeps in the browser's storage under its tabs' keys.
const storedWork = (page) => page.evaluate(() => Object.entries(localStorage).filter(([key]) => key.startsWith('quarzel.arbeit.tab.')).map(([, value]) => value));

describe('Getipptes wird aufbewahrt', () => {
  // Types `text` at the end and at once, in the same turn of the page, does `then` and reads
  // the storage: whether it holds the text by then.
  // (The editor takes the typed text in from its document within a few milliseconds, far less
  // than a pause.)
  const typeAndRead = (page, text, then) =>
    page.evaluate(async (value, what) => {
      const content = document.querySelector('#meProgram .cm-content');
      content.focus();
      window.quarzel.setCaret(window.quarzel.program().length);
      document.execCommand('insertText', false, value);
      while (!window.quarzel.program().endsWith(value)) await new Promise((resolve) => setTimeout(resolve, 1));
      if (what === 'pagehide') window.dispatchEvent(new PageTransitionEvent('pagehide', { persisted: false }));
      if (what === 'command') document.querySelector('input[aria-label="Langsam"]').click();
      return Object.entries(localStorage).some(([key, kept]) => key.startsWith('quarzel.arbeit.tab.') && kept.includes(value));
    }, text, then);

  it('keeps typing when it pauses, not at each key', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\n');
    await typingKept(page);
    assert.equal(await typeAndRead(page, 'INC 2', 'nothing'), false, 'not kept at the key itself');
    assert.equal(await page.evaluate(() => window.quarzel.typingUnkept()), true);
    await typingKept(page);
    assert.equal((await storedWork(page)).filter((v) => v.includes('LAD 1\r\nINC 2')).length, 1);
    await page.close();
  });

  it('keeps what was typed at once when the page is left', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\n');
    await typingKept(page);
    assert.equal(await typeAndRead(page, 'STP', 'pagehide'), true);
    await page.close();
    const again = await openPage(chromium.browser, { keepStorage: true });
    assert.equal(await programText(again.page), 'LAD 1\nSTP');
    await again.page.close();
  });

  it('keeps what was typed before a command starts', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\n');
    await typingKept(page);
    assert.equal(await typeAndRead(page, 'DEC 3', 'command'), true);
    await page.close();
  });
});
