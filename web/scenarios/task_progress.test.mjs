// "Testen" runs in parts: the page shows which case it tests, answers meanwhile, and stops at
// "Abbrechen" showing the results of the cases tested so far; a test run to its end shows
// every result.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { byName, click, launch, openPage, typeProgram } from './harness.mjs';

let chromium;
let folder;
before(async () => {
  chromium = await launch();
  folder = await mkdtemp(path.join(tmpdir(), 'quarzel-progress-'));
});
after(async () => {
  await chromium.close();
  await rm(folder, { recursive: true, force: true });
});

// A task of three cases whose start cell 1 is 0, 0 and 1: a program that stops at once on 0
// and counts up without end otherwise runs the third case to its step limit of 10^8.
async function loadTask(page) {
  const file = path.join(folder, 'zaehlen.toml');
  let text = 'titel = "Zählen"\nschrittgrenze = 100000000\n';
  for (const [name, start] of [['Null', 0], ['Noch null', 0], ['Eins', 1]]) {
    text += `[[fall]]\nname = "${name}"\nanfang = { 1 = "${start}" }\n[fall.erwartet]\nfenster = 0\n`;
  }
  await writeFile(file, text);
  await click(page, 'button', 'Aufgabe');
  const box = await byName(page, 'dialog', 'Aufgabe');
  const load = await box.waitForSelector('::-p-aria([name="Laden…"][role="button"])');
  const [chooser] = await Promise.all([page.waitForFileChooser(), load.click()]);
  await chooser.accept([file]);
  await page.waitForFunction(() => document.querySelectorAll('.task tbody tr').length === 3);
  return box;
}

const results = (page) => page.$$eval('.task tbody tr', (rows) => rows.map((r) => r.cells[3].textContent));
const points = (page) => page.$eval('.task .task-line[role="status"]', (l) => l.textContent);

describe('Testen in Teilen', () => {
  it('shows the case it tests, answers meanwhile and stops at "Abbrechen"', async () => {
    const { page, errors } = await openPage(chromium.browser, { width: 1000, height: 700 });
    await typeProgram(page, 'LAD 1\nJEQ E\nMRK A\nINC\nJMP A\nMRK E\nSTP');
    const box = await loadTask(page);
    await (await box.waitForSelector('::-p-aria([name="Testen"][role="button"])')).click();
    const progress = await byName(page, 'status', 'Fall 3 von 3');
    assert.equal(await progress.evaluate((p) => p.textContent), 'Fall 3 von 3');
    // The page still takes events while the long case runs; the results wait for the end.
    assert.deepEqual(await results(page), ['', '', '']);
    await click(page, 'button', 'Abbrechen');
    await page.waitForFunction(() => document.querySelector('.task-progress').hidden, { timeout: 10000 });
    assert.deepEqual(await results(page), ['bestanden', 'bestanden', ''], 'the third case untested');
    assert.equal(await points(page), '', 'no points for a test cut short');
    assert.equal(await page.$('::-p-aria([name="Abbrechen"][role="button"])'), null, 'gone with the test');
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('runs every case to its end when not stopped, and starts afresh each time', async () => {
    const { page, errors } = await openPage(chromium.browser, { width: 1000, height: 700 });
    await typeProgram(page, 'LAD 1\nOUT\nSTP');
    const box = await loadTask(page);
    const test = await box.waitForSelector('::-p-aria([name="Testen"][role="button"])');
    for (let i = 0; i < 2; ++i) {
      await test.click();
      await page.waitForFunction(() => document.querySelector('.task .task-line[role="status"]').textContent !== '');
      assert.deepEqual(await results(page), ['bestanden', 'bestanden', 'Fenster 1 statt 0']);
      assert.equal(await points(page), '2 von 3 Punkten');
      assert.equal(await page.$eval('.task-progress', (p) => p.hidden), true);
    }
    assert.deepEqual(errors, []);
    await page.close();
  });
});
