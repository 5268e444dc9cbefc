// "Testen" runs in parts: the page shows which case it tests, answers meanwhile, and stops at
// "Abbrechen" showing the results of the cases tested so far; a test run to its end shows
// every result, also of a task of ten thousand cases, whose table makes only the rows in sight.
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

// A task whose start cell 1 is 0 in the first two cases and 1 in the others: a program that
// stops at once on 0 and counts up without end otherwise runs each later case to the step limit
// of 10^8. Thirty of those keep a test going for seconds even on a fast machine, so that
// "Abbrechen" always comes while it runs.
const countingCases = 30;
async function loadTask(page, counting = 1) {
  const file = path.join(folder, 'zaehlen.toml');
  let text = 'titel = "Zählen"\nschrittgrenze = 100000000\n';
  const starts = [['Null', 0], ['Noch null', 0]];
  for (let i = 1; i <= counting; ++i) starts.push([`Eins ${i}`, 1]);
  for (const [name, start] of starts) {
    text += `[[fall]]\nname = "${name}"\nanfang = { 1 = "${start}" }\n[fall.erwartet]\nfenster = 0\n`;
  }
  const box = await openTask(page, file, text);
  await page.waitForFunction((n) => document.querySelector('.task table').getAttribute('aria-rowcount') === String(n + 1), {}, starts.length);
  return box;
}

// Writes the task file and loads it in the task panel ("Aufgabe", "Laden…").
async function openTask(page, file, text) {
  await writeFile(file, text);
  await click(page, 'button', 'Aufgabe');
  const box = await byName(page, 'dialog', 'Aufgabe');
  const load = await box.waitForSelector('::-p-aria([name="Laden…"][role="button"])');
  const [chooser] = await Promise.all([page.waitForFileChooser(), load.click()]);
  await chooser.accept([file]);
  return box;
}

// A task of `count` cases, every third expecting the window 1 (a program that writes nothing
// fails those with "Fenster 0 statt 1").
async function loadMany(page, count) {
  const file = path.join(folder, 'viele.toml');
  let text = 'titel = "Viele"\nschrittgrenze = 1000\n';
  for (let i = 1; i <= count; ++i) text += `[[fall]]\nname = "F${i}"\n[fall.erwartet]\nfenster = ${i % 3 === 0 ? 1 : 0}\n`;
  const box = await openTask(page, file, text);
  await page.waitForFunction((n) => document.querySelector('.task table').getAttribute('aria-rowcount') === String(n + 1), {}, count);
  return box;
}

// The rows in sight once the table stands at `top` rows: their place (aria-rowindex), case name
// and result.
async function rowsAt(page, top) {
  await page.$eval('.task .task-cases', (s, y) => { s.scrollTop = y; }, top * 20);
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
  return page.$$eval('.task tbody tr', (rows) => rows.map((r) => [Number(r.getAttribute('aria-rowindex')), r.cells[0].textContent, r.cells[3].textContent]));
}

const results = (page) => page.$$eval('.task tbody tr', (rows) => rows.map((r) => r.cells[3].textContent));

// Every case's result, the table scrolled through from its top: only the rows in sight are made.
async function allResults(page, total) {
  const all = [];
  while (all.length < total) {
    for (const [index, , result] of await rowsAt(page, all.length)) all[index - 2] ??= result;
  }
  return all;
}
const points = (page) => page.$eval('.task .task-line[role="status"]', (l) => l.textContent);

describe('Testen in Teilen', () => {
  it('shows the case it tests, answers meanwhile and stops at "Abbrechen"', async () => {
    const { page, errors } = await openPage(chromium.browser, { width: 1000, height: 700 });
    await typeProgram(page, 'LAD 1\nJEQ E\nMRK A\nINC\nJMP A\nMRK E\nSTP');
    const box = await loadTask(page, countingCases);
    await (await box.waitForSelector('::-p-aria([name="Testen"][role="button"])')).click();
    const total = countingCases + 2;
    // Past the two quick cases, in one of the long ones.
    await page.waitForFunction((n) => {
      const progress = document.querySelector('.task-progress');
      const match = !progress.hidden && /^Fall (\d+) von (\d+)$/.exec(progress.textContent);
      return Boolean(match) && Number(match[1]) >= 3 && Number(match[2]) === n;
    }, {}, total);
    // The page still takes events while the long cases run; the results wait for the end.
    assert.deepEqual(await allResults(page, total), Array(total).fill(''));
    await click(page, 'button', 'Abbrechen');
    await page.waitForFunction(() => document.querySelector('.task-progress').hidden, { timeout: 10000 });
    // The cases tested so far show their results, in order; the rest stay untested.
    const after = await allResults(page, total);
    const tested = after.indexOf('');
    assert.ok(tested >= 2 && tested < total, `stopped after ${tested} of ${total} cases`);
    assert.deepEqual(after, [
      'bestanden', 'bestanden',
      ...Array(tested - 2).fill('Schrittgrenze (100000000) erreicht'),
      ...Array(total - tested).fill(''),
    ]);
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

  it('shows every result of 10 000 cases, the rows in sight wherever the table stands', async () => {
    const count = 10000;
    const { page, errors } = await openPage(chromium.browser, { width: 1000, height: 700 });
    await typeProgram(page, 'LAD 1\nSTO 2\nSTP');
    const box = await loadMany(page, count);
    await (await box.waitForSelector('::-p-aria([name="Testen"][role="button"])')).click();
    await page.waitForFunction(() => document.querySelector('.task .task-line[role="status"]').textContent !== '', { timeout: 240000, polling: 500 });
    assert.equal(await points(page), `${count - Math.floor(count / 3)} von ${count} Punkten`);
    for (const top of [0, 1, 2998, 5000, count - 1]) {
      const rows = await rowsAt(page, top);
      assert.ok(rows.length > 5, `rows in sight at ${top}`);
      assert.ok(rows.some(([, name]) => name === `F${top + 1}`), `F${top + 1} in sight`);
      for (const [index, name, result] of rows) {
        const n = index - 1;
        assert.equal(name, `F${n}`);
        assert.equal(result, n % 3 === 0 ? 'Fenster 0 statt 1' : 'bestanden', `F${n}`);
      }
    }
    assert.deepEqual(errors, []);
    await page.close();
  });
});
