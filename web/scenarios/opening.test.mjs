// What the page's quick start and its drawing by parts must not cost: a key typed as soon as
// the page is ready reaches the program; every row of the data table stands at its place and is
// found by its name (the rows are drawn only while in sight); the memory picture drawn step by
// step equals the picture drawn whole; "Hilfe", made when first pressed, shows the reference.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { byName, click, launch, openPage, startRun, typeCell, typeProgram, value } from './harness.mjs';

let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium.close();
});

describe('Öffnen', () => {
  it('takes the keys typed as soon as the page is ready', async () => {
    const { page, errors } = await openPage(chromium.browser);
    await page.evaluate(() => document.querySelector('#meProgram .cm-content').focus());
    await page.keyboard.type('LAD 1\nSTP');
    await page.waitForFunction(() => window.quarzel.program() === 'LAD 1\nSTP', { timeout: 5000 });
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('has every row of the data table at its place, found by its name', async () => {
    const { page } = await openPage(chromium.browser);
    await byName(page, 'table', 'Daten');
    const rowHeight = await page.evaluate(() => parseInt(document.documentElement.style.getPropertyValue('--qz-row-height'), 10));
    // The row's top below the first row's, and the field's width, for rows in and out of sight.
    for (const row of [1, 2, 17, 256, 511, 512]) {
      for (const name of [`Zelle ${row}`, `Kommentar ${row}`]) {
        const cell = await byName(page, 'textbox', name);
        const [offset, width] = await cell.evaluate((input) => {
          const first = document.querySelector('#sgData input').getBoundingClientRect().top;
          const box = input.getBoundingClientRect();
          return [box.top - first, box.width];
        });
        assert.equal(offset, (row - 1) * rowHeight, name);
        assert.ok(width > 0, `${name} has a width`);
      }
      assert.equal(await page.$eval('#sgData tbody', (body, r) => body.rows[r - 1].cells[0].textContent, row), String(row));
    }
    await page.close();
  });

  it('shows a cell typed into far down the table after scrolling there', async () => {
    const { page } = await openPage(chromium.browser);
    await typeCell(page, 'Zelle 500', '42');
    await page.$eval('#sgData', (box) => { box.scrollTop = box.scrollHeight; });
    assert.equal(await value(page, 'textbox', 'Zelle 500'), '42');
    const seen = await page.$eval('#sgData', (box) => {
      const input = document.querySelector('input[aria-label="Zelle 500"]');
      const shown = box.getBoundingClientRect();
      const at = input.getBoundingClientRect();
      return document.elementFromPoint(at.left + 2, at.top + at.height / 2) === input && at.top >= shown.top && at.bottom <= shown.bottom;
    });
    assert.equal(seen, true);
    await page.close();
  });

  it('draws the memory picture step by step exactly as the picture drawn whole', async () => {
    const { page } = await openPage(chromium.browser);
    // Writes cells 1 to 40 one after another and reads them back, moving the frame each step.
    await typeProgram(page, 'MRK A\nINC\nSTO 1\nLAD 1\nSTO [1]\nLAD [1]\nJMP A\nSTP');
    await click(page, 'button', 'Ansicht');
    await startRun(page);
    for (let i = 0; i < 60; ++i) await click(page, 'button', 'Schritt');
    await click(page, 'button', 'Stop');
    const pixels = () => page.evaluate(() => document.getElementById('pbMemory').toDataURL());
    const stepwise = await pixels();
    // "Ansicht" twice: the picture is drawn whole once more.
    await click(page, 'button', 'Ansicht');
    await click(page, 'button', 'Ansicht');
    assert.equal(await pixels(), stepwise);
    await page.close();
  });

  it('makes the reference when "Hilfe" is first pressed', async () => {
    const { page, errors } = await openPage(chromium.browser);
    assert.equal(await page.$('.help:not(.task):not(.protocol)'), null, 'not made at start');
    await click(page, 'button', 'Hilfe');
    const panel = await byName(page, 'dialog', 'Befehlsreferenz');
    const text = await panel.$eval('textarea', (t) => t.value);
    assert.match(text, /LAD/);
    assert.deepEqual(errors, []);
    await page.close();
  });
});
