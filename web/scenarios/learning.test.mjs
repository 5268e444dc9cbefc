// The run's learning aids in the page: the line "Was geschah" after a step, after "Zurück" and
// after a failed check; the panel "Protokoll" growing and shrinking with the run, drawing only
// the rows in sight, and its CSV export against quarzel-run --trace; "Verlauf" back and forward
// through INP without the number box; "Zurück bis Haltepunkt"; where the aids lie on a desktop
// and a phone.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtemp, readFile, readdir, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { answer, byName, click, dialog, launch, openPage, typeCell, typeProgram, unsupported, value, boxSays, startRun } from './harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
let chromium;
let folder;
let downloads;
before(async () => {
  chromium = await launch();
  folder = await mkdtemp(path.join(tmpdir(), 'quarzel-learning-'));
  downloads = path.join(folder, 'downloads');
});
after(async () => {
  await chromium.close();
  await rm(folder, { recursive: true, force: true });
});

// The live region's text once it differs from `before`.
async function sentenceAfter(page, before) {
  await page.waitForFunction((b) => document.getElementById('lbSentence').textContent !== b, {}, before);
  return page.$eval('#lbSentence', (e) => e.textContent);
}

async function step(page, times = 1) {
  for (let i = 0; i < times; ++i) {
    const steps = await page.$eval('#lbSteps', (e) => e.textContent);
    await click(page, 'button', 'Schritt');
    await page.waitForFunction((s) => document.getElementById('lbSteps').textContent !== s, {}, steps);
  }
}

async function stepCount(page) {
  return Number((await page.$eval('#lbSteps', (e) => e.textContent)).replace(/\D/g, ''));
}

// The protocol's rows as the table says them: how many it holds, and those in the DOM.
async function protocolRows(page) {
  return page.evaluate(() => {
    const table = document.querySelector('.protocol table');
    const rows = [...table.tBodies[0].rows].filter((r) => !r.classList.contains('spacer'));
    return { count: Number(table.getAttribute('aria-rowcount')) - 1, cells: rows.map((r) => [...r.cells].map((c) => c.textContent)) };
  });
}

async function protocolHolds(page, count) {
  await page.waitForFunction((n) => document.querySelector('.protocol table').getAttribute('aria-rowcount') === String(n + 1), {}, count);
  return protocolRows(page);
}

async function downloaded(name) {
  for (let i = 0; i < 100; ++i) {
    const files = await readdir(downloads).catch(() => []);
    if (files.includes(name)) return readFile(path.join(downloads, name));
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`${name} wurde nicht heruntergeladen`);
}

// Counts every box the page opens, also one closed again before a scenario looks.
function countBoxes() {
  window.boxesOpened = 0;
  new MutationObserver((changes) => {
    for (const change of changes) {
      for (const node of change.addedNodes) if (node.classList?.contains('overlay')) window.boxesOpened += 1;
    }
  }).observe(document, { childList: true, subtree: true });
}

describe('Was geschah, Protokoll und Verlauf im Browser', () => {
  it('says what each step did in a polite live region, and after "Zurück" what the step now last did', async () => {
    const { page, errors } = await openPage(chromium.browser);
    assert.equal(await page.$eval('#lbSentence', (e) => e.getAttribute('aria-live')), 'polite');
    await typeProgram(page, 'LAD 1\nINC\nSTO 2\nSTP');
    await typeCell(page, 'Zelle 1', '5');
    await startRun(page);
    await step(page);
    const first = await sentenceAfter(page, '');
    assert.match(first, /^Zeile 1: LAD 1\b.*5/);
    await step(page);
    const second = await sentenceAfter(page, first);
    assert.match(second, /^Zeile 2: INC\b.*6/);
    await click(page, 'button', 'Zurück');
    assert.equal(await sentenceAfter(page, second), first);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('gives the hint of the error\'s kind after a failed "Prüfen", the box as it was', async () => {
    const hints = [];
    for (const [program, box] of [
      ['LAD 1\nFOO\nSTP', 'Fehler in Zeile 2: FOO ist kein gültiger Befehl'],
      [' LAD 1\nSTP', null],
      ['LAD 1', null],
    ]) {
      const { page } = await openPage(chromium.browser);
      await typeProgram(page, program);
      const before = await page.$eval('#lbSentence', (e) => e.textContent);
      await click(page, 'button', 'Prüfen');
      const shown = await dialog(page);
      assert.equal(shown.caption, 'Programmfehler', program);
      if (box) assert.equal(shown.text, box);
      await answer(page, 'OK');
      const hint = await sentenceAfter(page, before);
      assert.match(hint, /^Tipp: /, program);
      hints.push(hint);
      await page.close();
    }
    // Each kind of error its own hint.
    assert.equal(new Set(hints).size, hints.length, hints.join(' | '));
  });

  it('grows and shrinks the protocol with the run and exports the CSV that quarzel-run --trace writes', async () => {
    const runner = process.env.QUARZEL_RUN;
    assert.ok(runner, 'QUARZEL_RUN names the native quarzel-run (make web-page-test sets it)');
    const { page, errors } = await openPage(chromium.browser, { downloads });
    await click(page, 'button', 'Beispiele');
    const list = await byName(page, 'listbox', 'Beispielprogramme');
    const index = await list.evaluate((l) => [...l.options].findIndex((o) => o.textContent.startsWith('countdown ')));
    await list.focus();
    for (let i = 0; i < index; ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => window.quarzel.program().includes('SCHLEIFE'));
    await click(page, 'button', 'Protokoll');
    await page.waitForSelector('.protocol:not([hidden])');
    // The panel draws in the next frame: until then its table has no row count.
    assert.equal((await protocolHolds(page, 0)).count, 0);
    assert.equal(await page.$eval('.protocol-empty', (e) => e.hidden), false);
    await startRun(page);
    await step(page, 3);
    let rows = await protocolHolds(page, 3);
    assert.deepEqual(rows.cells.map((r) => r[0]), ['1', '2', '3']);
    await click(page, 'button', 'Zurück');
    rows = await protocolHolds(page, 2);
    assert.deepEqual(rows.cells.map((r) => r[0]), ['1', '2']);
    // At "Direkt" to the end; the rows follow, the newest in sight.
    await click(page, 'radio', 'Direkt');
    await page.waitForSelector('::-p-aria([name="Start"][role="button"])', { timeout: 60000 });
    const total = await stepCount(page);
    rows = await protocolHolds(page, total);
    assert.equal(rows.cells.at(-1)[0], String(total));

    await click(page, 'button', 'Exportieren');
    const field = await byName(page, 'textbox', 'Dateiname:');
    await field.evaluate((f) => {
      f.value = '';
    });
    await field.type('ablauf');
    await answer(page, 'Speichern');
    const exported = await downloaded('ablauf.csv');
    const trace = path.join(folder, 'countdown.csv');
    execFileSync(runner, ['--data', path.join(root, 'examples/countdown.dta'), '--trace', trace, path.join(root, 'examples/countdown.prg')]);
    assert.deepEqual(exported, await readFile(trace));
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('draws only the rows in sight of a long protocol and keeps up at "Direkt", a few times a second', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\nMRK S\nDEC\nJGT S\nSTP');
    // "Direkt" takes 40 steps a second: some 180 steps, several screens of rows.
    await typeCell(page, 'Zelle 1', '60');
    await click(page, 'button', 'Protokoll');
    await click(page, 'radio', 'Direkt');
    // The rows and "Verlauf" are drawn four times a second while the run goes on, not at every
    // step: each drawing is one batch of changes.
    await page.evaluate(() => {
      window.drawings = { rows: 0, history: 0 };
      new MutationObserver(() => ++window.drawings.rows).observe(document.querySelector('.protocol tbody'), { childList: true, subtree: true, characterData: true });
      new MutationObserver(() => ++window.drawings.history).observe(document.getElementById('tbHistory'), { attributes: true });
    });
    await startRun(page);
    await page.waitForSelector('::-p-aria([name="Start"][role="button"])', { timeout: 60000 });
    const total = await stepCount(page);
    assert.ok(total > 120, String(total));
    const rows = await protocolHolds(page, total);
    assert.ok(rows.cells.length < 60, `${rows.cells.length} Zeilen im Dokument`);
    // The rows in the document are the newest steps in order, whether they were drawn anew or
    // written over while the view followed the run.
    const first = total - rows.cells.length + 1;
    assert.deepEqual(rows.cells.map((cells) => cells[0]), rows.cells.map((_, i) => String(first + i)));
    assert.equal(await page.$eval('#tbHistory', (s) => s.value), String(total));
    const drawings = await page.evaluate(() => window.drawings);
    assert.ok(drawings.rows < total / 4 && drawings.history < total / 4, `${JSON.stringify(drawings)} bei ${total} Schritten`);
    // Scrolled to the top: the first rows, the newest gone from the document.
    await page.$eval('.protocol-rows', (s) => {
      s.scrollTop = 0;
    });
    await page.waitForFunction(() => document.querySelector('.protocol tbody tr:not(.spacer) td')?.textContent === '1');
    const top = await protocolRows(page);
    assert.ok(top.cells.length < 60);
    assert.ok(Number(top.cells.at(-1)[0]) < total - 60);
    await page.close();
  });

  it('moves through the history with "Verlauf", forward again without asking for INP, and back to a breakpoint', async () => {
    const { page } = await openPage(chromium.browser, { beforeLoad: countBoxes });
    await typeProgram(page, 'INP\nSTO 2\nINP\nADD 2\nSTP');
    await startRun(page);
    for (const number of ['7', null, '8', null]) {
      const steps = await stepCount(page);
      await click(page, 'button', 'Schritt');
      if (number) {
        const field = await byName(page, 'textbox', 'Dateneingabe');
        await field.evaluate((f) => f.select());
        await field.type(number);
        await page.keyboard.press('Enter');
      }
      await page.waitForFunction((s) => document.getElementById('lbSteps').textContent.replace(/\D/g, '') === String(s + 1), {}, steps);
    }
    assert.equal(await value(page, 'textbox', 'Akku'), '15');
    // They head the panel "Protokoll".
    await click(page, 'button', 'Protokoll');
    const slider = await byName(page, 'slider', 'Verlauf');
    assert.deepEqual(await slider.evaluate((s) => [s.min, s.max, s.value, s.disabled]), ['0', '4', '4', false]);
    const boxes = await page.evaluate(() => window.boxesOpened);
    // By keyboard, as the slider takes it: each key one move of the run, the record's numbers.
    for (const [key, steps, accu] of [['Home', 0, '0'], ['ArrowRight', 1, '7'], ['End', 4, '15'], ['ArrowLeft', 3, '8']]) {
      await slider.focus();
      await page.keyboard.press(key);
      await page.waitForFunction((s) => document.getElementById('lbSteps').textContent.replace(/\D/g, '') === String(s), {}, steps);
      assert.equal(await value(page, 'textbox', 'Akku'), accu, key);
      assert.equal(await slider.evaluate((s) => s.value), String(steps), key);
    }
    assert.equal(await page.evaluate(() => window.boxesOpened), boxes, 'a box opened on the way');
    // A breakpoint on the second INP: back to where the run stood before it.
    await page.evaluate(() => window.quarzel.setCaret('INP\nSTO 2\n'.length));
    await page.keyboard.press('F9');
    await slider.focus();
    await page.keyboard.press('End');
    await page.waitForFunction(() => document.getElementById('lbSteps').textContent.endsWith('4'));
    await click(page, 'button', 'Zurück bis Haltepunkt');
    await page.waitForFunction(() => document.getElementById('lbSteps').textContent.replace(/\D/g, '') === '2');
    assert.equal(await value(page, 'textbox', 'Akku'), '7');
    assert.equal(await value(page, 'textbox', 'Anweisung'), '2');
    await page.close();
  });

  // Where each aid lies with a run going and the protocol open: the line in its box, and on the
  // screen; "Verlauf" and "Zurück bis Haltepunkt" at the panel's head, above its rows; the page
  // neither scrolls (the window's form) nor pans sideways (any form).
  async function aidsPlaced(page) {
    return page.evaluate(() => {
      const rect = (e) => e.getBoundingClientRect();
      const onScreen = (e) => {
        const r = rect(e);
        return r.width > 0 && r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight;
      };
      const panel = document.querySelector('.protocol');
      const rows = rect(panel.querySelector('.protocol-rows'));
      const head = ['tbHistory', 'btBackToBreakpoint'].map((id) => document.getElementById(id));
      const root = document.documentElement;
      return {
        box: document.getElementById('lbSentence').parentElement.id,
        offScreen: ['lbSentence', 'btProtocol', 'tbHistory', 'btBackToBreakpoint']
          .filter((id) => !onScreen(document.getElementById(id))),
        head: head.every((e) => panel.contains(e) && rect(e).bottom <= rows.top),
        panel: onScreen(panel),
        scrollsDown: root.scrollHeight > root.clientHeight,
        sideways: document.scrollingElement.scrollWidth > root.clientWidth,
      };
    });
  }

  for (const [width, height, box] of [[800, 600, 'gbFile'], [1366, 768, 'gbFile'], [390, 844, 'gbFlowControl']]) {
    it(`places the aids at ${width} x ${height} with a run going and the protocol open`, { skip: width < 500 && unsupported('tinyViewport') }, async () => {
      const { page, errors } = await openPage(chromium.browser, { width, height });
      await typeProgram(page, 'LAD 1\nINC\nSTP');
      await startRun(page);
      await step(page);
      await sentenceAfter(page, '');
      await click(page, 'button', 'Protokoll');
      await protocolHolds(page, 1);
      const placed = await aidsPlaced(page);
      // The narrow form's column may scroll down; the window's form does not.
      if (box === 'gbFile') assert.equal(placed.scrollsDown, false);
      delete placed.scrollsDown;
      assert.deepEqual(placed, { box, offScreen: [], head: true, panel: true, sideways: false });
      // The slider's access key works while the panel is in use, as in the window's own.
      assert.equal(await page.$eval('#tbHistory', (s) => s.accessKey), 'v');
      assert.deepEqual(errors, []);
      await page.close();
    });
  }
});
