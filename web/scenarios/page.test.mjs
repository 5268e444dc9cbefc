// The page in headless Chromium, driven as a learner would: every control found by its
// accessible name, every box read by its caption and text.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { answer, byName, click, dialog, launch, openPage, typeCell, typeProgram, programText, value, boxSays, startRun } from './harness.mjs';

let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium.close();
});

describe('Quarzel im Browser', () => {
  it('opens from disk without any request over the network', async () => {
    const { page, requests, errors } = await openPage(chromium.browser);
    assert.deepEqual(requests, []);
    assert.deepEqual(errors, []);
    assert.equal(await page.title(), 'Quarzel 3.1');
    assert.equal(await value(page, 'textbox', 'Stack'), '512');
    assert.equal(await value(page, 'status', 'Schritte'), 'Schritte: 0');
    await page.close();
  });

  it('places every control at 800 x 600 where the layout function puts it', async () => {
    const { page } = await openPage(chromium.browser, { width: 800, height: 600 });
    const mismatches = await page.evaluate(() => {
      const rects = window.quarzel.layoutRects(800, 600);
      const app = document.getElementById('app').getBoundingClientRect();
      const out = [];
      for (const [name, [left, top, width, height]] of Object.entries(rects)) {
        const element = document.getElementById(name);
        if (!element || element.closest('[hidden]')) continue;
        const parent = element.parentElement.getBoundingClientRect();
        const r = element.getBoundingClientRect();
        const actual = [r.left - parent.left, r.top - parent.top, r.width, r.height].map(Math.round);
        if (actual.join() !== [left, top, width, height].join()) out.push(`${name}: ${actual} statt ${[left, top, width, height]}`);
      }
      void app;
      return out;
    });
    assert.deepEqual(mismatches, []);
    // The picture and its hover fields, shown instead of the table.
    await click(page, 'button', 'Ansicht');
    const picture = await page.evaluate(() => {
      const rects = window.quarzel.layoutRects(800, 600);
      return ['pbMemory', 'enumber', 'evalue', 'ecomment'].map((name) => {
        const element = document.getElementById(name);
        const parent = element.parentElement.getBoundingClientRect();
        const r = element.getBoundingClientRect();
        return [[r.left - parent.left, r.top - parent.top, r.width, r.height].map(Math.round), rects[name]];
      });
    });
    for (const [actual, expected] of picture) assert.deepEqual(actual, expected);
    await page.close();
  });

  it('selects the faulty line after a failed check', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\nFOO\nSTP');
    await click(page, 'button', 'Prüfen');
    await boxSays(page, 'Programmfehler', 'Fehler in Zeile 2: FOO ist kein gültiger Befehl');
    await answer(page, 'OK');
    const selected = await page.evaluate(() => window.quarzel.programSelection());
    assert.equal(selected, 'FOO');
    await page.close();
  });

  it('reads INP through "Dateneingabe", refuses a text that is no number and keeps the last number when closed', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'INP\nOUT\nINP\nSTP');
    await startRun(page);
    await click(page, 'button', 'Schritt');
    const field = await byName(page, 'textbox', 'Dateneingabe');
    assert.equal(await field.evaluate((f) => f.value), '0');
    await field.type('abc');
    await click(page, 'button', 'OK');
    await boxSays(page, 'Quarzel 3', "'abc' ist kein gültiger Integerwert.");
    await answer(page, 'OK');
    // The dialog is still open with the rejected text, to be corrected.
    const again = await byName(page, 'textbox', 'Dateneingabe');
    assert.equal(await again.evaluate((f) => f.value), 'abc');
    await again.evaluate((f) => f.select());
    await again.type('42');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !document.querySelector('.overlay'));
    assert.equal(await value(page, 'textbox', 'Akku'), '42');
    await click(page, 'button', 'Schritt');
    assert.equal(await value(page, 'textbox', 'Fenster'), '42');
    // Escape closes through the frame: the number accepted last stays.
    await click(page, 'button', 'Schritt');
    await byName(page, 'textbox', 'Dateneingabe');
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.querySelector('.overlay'));
    assert.equal(await value(page, 'textbox', 'Akku'), '42');
    assert.equal(await value(page, 'textbox', 'Anweisung'), '3');
    await page.close();
  });

  it('shows a run-time error in the box "Laufzeitfehler"', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\nDIV X\nSTP');
    await typeCell(page, 'Zelle 1', '5');
    await startRun(page);
    await click(page, 'button', 'Schritt');
    await click(page, 'button', 'Schritt');
    await boxSays(page, 'Laufzeitfehler', 'Division durch Null');
    await answer(page, 'OK');
    assert.equal(await value(page, 'textbox', 'Akku'), '5');
    assert.equal(await value(page, 'textbox', 'Anweisung'), '1');
    await byName(page, 'button', 'Start');
    await page.close();
  });

  it('steps and takes the last step back', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'INC\nINC\nSTO 7\nSTP');
    await startRun(page);
    for (let i = 0; i < 3; ++i) await click(page, 'button', 'Schritt');
    assert.equal(await value(page, 'textbox', 'Zelle 7'), '2');
    assert.equal(await value(page, 'status', 'Schritte'), 'Schritte: 3');
    await click(page, 'button', 'Zurück');
    assert.equal(await value(page, 'textbox', 'Zelle 7'), '0');
    assert.equal(await value(page, 'textbox', 'Akku'), '2');
    assert.equal(await value(page, 'textbox', 'Anweisung'), '2');
    assert.equal(await value(page, 'status', 'Schritte'), 'Schritte: 2');
    // The editor is read-only during the run and editable after "Stop".
    assert.equal(await page.evaluate(() => window.quarzel.programReadOnly()), true);
    await click(page, 'button', 'Stop');
    assert.equal(await page.evaluate(() => window.quarzel.programReadOnly()), false);
    await page.close();
  });

  it('pauses at "Direkt" before a line with a breakpoint, set with F9', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'INC\nINC\nINC\nINC\nSTP');
    // The caret on the fourth line, then F9.
    await page.evaluate(() => window.quarzel.setCaret(12));
    await page.keyboard.press('F9');
    assert.equal((await page.evaluate(() => window.quarzel.breakpoints())).length, 1);
    await click(page, 'radio', 'Direkt');
    await startRun(page);
    await page.waitForFunction(() => document.querySelector('input[aria-label="Schritt"]').checked, { timeout: 5000 });
    assert.equal(await value(page, 'textbox', 'Anweisung'), '3');
    assert.equal(await value(page, 'textbox', 'Akku'), '3');
    // Going on at "Direkt" passes the marked line once and runs to the end.
    await click(page, 'radio', 'Direkt');
    await byName(page, 'button', 'Start');
    assert.equal(await value(page, 'textbox', 'Akku'), '4');
    await page.close();
  });

  it('paints the accessed cell in the picture with the window\'s colours and shows it under the pointer', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 3\nSTO 5\nSTP');
    await typeCell(page, 'Zelle 3', '9');
    await click(page, 'button', 'Ansicht');
    await startRun(page);
    await click(page, 'button', 'Schritt');
    await click(page, 'button', 'Schritt');
    // 16 columns at 800 x 600: cell 5's square is (85, 5)-(100, 20), its frame 3 pixels wider.
    const pixels = await page.evaluate(() => {
      const g = document.getElementById('pbMemory').getContext('2d');
      const at = (x, y) => Array.from(g.getImageData(x, y, 1, 1).data.slice(0, 3)).join();
      return { frame: at(83, 12), square: at(92, 12), empty: at(130, 12), edge: at(125, 12), read: at(45, 12) };
    });
    assert.deepEqual(pixels, { frame: '255,0,0', square: '0,0,0', empty: '240,240,240', edge: '0,0,0', read: '0,0,0' });
    const canvas = await byName(page, 'image', 'Speicherbild');
    const box = await canvas.boundingBox();
    await page.mouse.move(box.x + 92, box.y + 12);
    assert.equal(await value(page, 'textbox', 'Nummer:'), '5');
    assert.equal(await value(page, 'textbox', 'Inhalt:'), '9');
    // Stepping back to the read of cell 3 draws its frame in green.
    await click(page, 'button', 'Zurück');
    const read = await page.evaluate(() => Array.from(document.getElementById('pbMemory').getContext('2d').getImageData(43, 12, 1, 1).data.slice(0, 3)).join());
    assert.equal(read, '0,255,0');
    await page.close();
  });

  it('shows the command reference as a panel that comes and goes with "Hilfe"', async () => {
    // A page that does not scroll: at 800 x 600 the run's aids lie below the run panel, and
    // WebKit's overlay scrollbar would take the click on a × pushed to the right edge.
    const { page } = await openPage(chromium.browser, { height: 768 });
    await click(page, 'button', 'Hilfe');
    const panel = await byName(page, 'dialog', 'Befehlsreferenz');
    const lines = await panel.evaluate((p) => p.querySelector('textarea').value.split('\n'));
    assert.equal(lines[0], 'Befehlsliste:');
    assert.ok(lines.includes('INC                : Erhöhe Akku um eins'));
    for (const line of lines.filter((l) => l.includes(' : '))) assert.equal(line.indexOf(':'), 19, line);
    // The panel never blocks the window: the editor takes text while it is open.
    await typeProgram(page, 'STP');
    assert.equal(await programText(page), 'STP');
    // Moved by its title bar, it stops where its right edge meets the page's, its × in reach;
    // closed, it comes back where it was left.
    const title = await panel.$('.title');
    const at = await title.boundingBox();
    await page.mouse.move(at.x + 40, at.y + 8);
    await page.mouse.down();
    await page.mouse.move(at.x + 40 + 350, at.y + 8, { steps: 5 });
    await page.mouse.up();
    const edge = await panel.evaluate((p) => document.documentElement.clientWidth - p.offsetWidth);
    assert.equal(await panel.evaluate((p) => p.offsetLeft), edge);
    await (await panel.$('.close')).click();
    assert.equal(await panel.evaluate((p) => p.hidden), true);
    await click(page, 'button', 'Hilfe');
    assert.equal(await panel.evaluate((p) => !p.hidden && p.offsetLeft), edge);
    await page.close();
  });

  it('"Neu" asks for the program and the table, and the context menu sets a breakpoint', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'INC\nSTP');
    await typeCell(page, 'Zelle 4', '8');
    const editor = await byName(page, 'textbox', 'Programm');
    const box = await editor.boundingBox();
    await page.mouse.click(box.x + 20, box.y + 2 + 17 + 8, { button: 'right' });
    await click(page, 'menuitem', 'Haltepunkt ein/aus');
    assert.equal((await page.evaluate(() => window.quarzel.breakpoints())).length, 1);
    await click(page, 'button', 'Neu');
    assert.deepEqual(await dialog(page), { caption: 'QRZL', text: 'Neues Programm?' });
    await answer(page, 'Ja');
    assert.deepEqual(await dialog(page), { caption: 'Frage', text: 'Programm speichern?' });
    await answer(page, 'Nein');
    assert.deepEqual(await dialog(page), { caption: 'QRZL', text: 'Neuer Datenbereich?' });
    await answer(page, 'Nein');
    assert.equal(await programText(page), '');
    assert.equal((await page.evaluate(() => window.quarzel.breakpoints())).length, 0);
    assert.equal(await value(page, 'textbox', 'Zelle 4'), '8');
    await page.close();
  });

  it('scrolls a window lower than 600 pixels instead of shrinking the controls', async () => {
    const { page } = await openPage(chromium.browser, { width: 1000, height: 480 });
    const overflow = await page.evaluate(() => [document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight]);
    assert.ok(overflow[0] <= 1000 && overflow[1] >= 600, String(overflow));
    const exit = await byName(page, 'button', 'Ende');
    const expected = await page.evaluate(() => window.quarzel.layoutRects(1000, 600).btExit);
    assert.deepEqual(await exit.evaluate((e) => [e.offsetLeft, e.offsetTop, e.offsetWidth, e.offsetHeight]), expected);
    await page.close();
  });

  // Where scrollbars take space (Firefox; Chrome with visible scrollbars), the page was laid out
  // at the width read while it still overflowed and never again: a blank strip at the right.
  const sizes = [
    { case: 'opened with room to spare', open: [1000, 700] },
    { case: 'opened one pixel wider than the window', open: [801, 700] },
    { case: 'opened lower than the window (a vertical scrollbar stays)', open: [1000, 500] },
    { case: 'opened smaller than the window both ways', open: [700, 500] },
    { case: 'shrunk from 1200 x 800', open: [1200, 800], resize: [1000, 700] },
    { case: 'grown from 1000 x 500', open: [1000, 500], resize: [1000, 700] },
  ];
  for (const { case: name, open, resize } of sizes) {
    it(`fills the window without a blank strip when ${name}`, async (t) => {
      const { page } = await openPage(chromium.browser, { width: open[0], height: open[1] });
      if (resize) {
        await page.setViewport({ width: resize[0], height: resize[1] });
        await page.waitForFunction(([w, h]) => window.innerWidth === w && window.innerHeight === h, {}, resize);
      }
      // A layout that follows a scrollbar's coming or going happens within two frames.
      await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
      const size = await page.evaluate(() => {
        const root = document.documentElement;
        const app = document.getElementById('app');
        return {
          scrollbar: window.innerWidth - root.clientWidth,
          page: [app.offsetWidth, app.offsetHeight],
          scrolled: [document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight],
          // The surface the core's layout gives for the client size: its width is the client's.
          expected: ((l) => [l.width, l.height])(window.quarzel.pageLayout(root.clientWidth, root.clientHeight)),
        };
      });
      if (size.scrollbar === 0) t.diagnostic('scrollbars take no space here: only a page smaller than the window is seen');
      assert.deepEqual(size.page, size.expected);
      assert.deepEqual(size.scrolled, size.expected);
      await page.close();
    });
  }

  it('keeps the current line at the top of the editor and the accessed row at the top of the table', async () => {
    const { page } = await openPage(chromium.browser);
    const program = `${'INC\n'.repeat(39)}STO 300\nSTP`;
    await typeProgram(page, program);
    await click(page, 'button', 'Prüfen');
    // A successful check appends empty lines, so that the last line can scroll to the top.
    const text = await programText(page);
    assert.ok(text.startsWith(program) && /^\n+$/.test(text.slice(program.length)), JSON.stringify(text.slice(program.length)));
    // Both are checked now: "Start" starts at once.
    await click(page, 'button', 'Start');
    await byName(page, 'button', 'Stop');
    for (let i = 0; i < 39; ++i) await click(page, 'button', 'Schritt');
    assert.equal(await page.evaluate(() => window.quarzel.firstLine()), 39);
    // The arrow beside the numbers marks that line, numbered from 1: one arrow, shown, its
    // middle within that number's height (it is placed in the next frame).
    const arrowAt = () => page.evaluate(() => {
      const middle = (r) => (r.top + r.bottom) / 2;
      const number = [...document.querySelectorAll('.cm-lineNumbers .cm-gutterElement')].find((e) => e.textContent === '40').getBoundingClientRect();
      const arrows = [...document.querySelectorAll('.cm-current-arrow')].filter((a) => !a.hidden);
      return [arrows.length, arrows.length === 1 && Math.abs(middle(arrows[0].getBoundingClientRect()) - middle(number)) <= number.height / 4];
    });
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert.deepEqual(await arrowAt(), [1, true]);
    await click(page, 'button', 'Schritt');
    assert.equal(await value(page, 'textbox', 'Zelle 300'), '39');
    // The table scrolls with the next frame: the row comes to the top within the box's frame.
    await page.waitForFunction(() => {
      const grid = document.getElementById('sgData');
      const first = document.querySelector('input[aria-label="Zelle 300"]').closest('tr');
      const top = first.getBoundingClientRect().top - grid.getBoundingClientRect().top;
      return top >= 0 && top < 3;
    }, { timeout: 5000 });
    await page.close();
  });

  // A run keeps most of its scrolls from the editor's own bookkeeping while the lines are
  // drawn already; these two would see what that could break.
  it('draws the lines a run at "Direkt" jumps to far below, while it runs', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, `MRK A\nINC\nJMP B\n${'* weit weg\n'.repeat(600)}MRK B\nJMP A\nSTP`);
    await click(page, 'button', 'Prüfen');
    await click(page, 'radio', 'Direkt');
    await click(page, 'button', 'Start');
    await byName(page, 'button', 'Stop');
    // Wherever the run stands, the top of the editor's view lies on a drawn line.
    const onDrawnLine = () => page.evaluate(() => {
      const scroller = document.querySelector('#meProgram .cm-scroller').getBoundingClientRect();
      const content = document.querySelector('#meProgram .cm-content').getBoundingClientRect();
      const hit = document.elementFromPoint(content.left + 4, scroller.top + 2);
      return hit?.closest('.cm-line')?.textContent ?? String(hit?.className);
    });
    const seen = new Set();
    for (let i = 0; i < 20; ++i) {
      const text = await onDrawnLine();
      assert.match(text, /^(MRK A|INC|JMP B|\* weit weg|MRK B|JMP A)$/, `oben im Editor nach ${i} Blicken`);
      seen.add(text === 'MRK A' || text === 'INC' || text === 'JMP B' ? 'oben' : 'unten');
      await new Promise((done) => setTimeout(done, 20));
    }
    assert.deepEqual([...seen].sort(), ['oben', 'unten']);
    await click(page, 'button', 'Stop');
    await page.close();
  });

  it('keeps the editor where a run scrolled it when the learner clicks into it', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, `${'INC\n'.repeat(58)}STP`);
    await click(page, 'button', 'Prüfen');
    // Scrolled down by the learner, then brought back to the first line by the run.
    await page.$eval('#meProgram .cm-scroller', (scroller) => {
      scroller.scrollTop = 300;
    });
    await page.waitForFunction(() => window.quarzel.firstLine() > 10);
    await click(page, 'button', 'Start');
    await byName(page, 'button', 'Stop');
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    const line = await page.$eval('#meProgram .cm-scroller', (scroller) => scroller.scrollTop);
    assert.equal(line, 0);
    const content = await page.$('#meProgram .cm-content');
    const box = await content.boundingBox();
    await page.mouse.click(box.x + 40, box.y + 8);
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert.equal(await page.$eval('#meProgram .cm-scroller', (scroller) => scroller.scrollTop), line);
    await page.close();
  });
});
