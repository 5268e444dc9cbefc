// "Beispiele" and the primer ("Einführung") in the page: the list of the built-in examples, one
// loaded after the save questions with nothing left unsaved, and "Ausprobieren" after the
// question "Programm speichern?".
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { byName, click, launch, noBoxOpen, openPage, programText, question, typeCell, typeProgram, value } from './harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
let chromium;
// The examples as the list of the build names them: name and line, in order.
let examples;

before(async () => {
  chromium = await launch();
  const list = await readFile(path.join(root, 'src/files/built_in_examples.txt'), 'utf8');
  examples = list.split('\n').filter((line) => line.trim() !== '' && !line.startsWith('#')).map((line) => {
    const colon = line.indexOf(': ');
    return { name: line.slice(0, colon), line: line.slice(colon + 2) };
  });
});
after(async () => {
  await chromium.close();
});

// A file of examples/ as the editor shows it (the examples use no character beyond Latin-1).
async function exampleFile(name) {
  const bytes = await readFile(path.join(root, 'examples', name)).catch(() => null);
  return bytes === null ? null : bytes.toString('latin1').replace(/\r\n/g, '\n');
}

async function openExamples(page) {
  await click(page, 'button', 'Beispiele');
  return byName(page, 'listbox', 'Beispielprogramme');
}

// Chooses the example by keyboard, as a learner without a mouse does.
async function chooseByKeyboard(page, name) {
  const list = await openExamples(page);
  await list.focus();
  const index = examples.findIndex((e) => e.name === name);
  assert.ok(index >= 0, name);
  for (let i = 0; i < index; ++i) await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
}

describe('Beispiele und Einführung im Browser', () => {
  it('lists every built-in example with its line, in the order of the list', async () => {
    const { page, errors } = await openPage(chromium.browser);
    const list = await openExamples(page);
    const options = await list.evaluate((l) => Array.from(l.options, (o) => o.textContent));
    assert.deepEqual(options, examples.map((e) => `${e.name} – ${e.line}`));
    // Escape closes the list and changes nothing.
    await page.keyboard.press('Escape');
    await noBoxOpen(page);
    assert.equal(await programText(page), '');
    assert.deepEqual(errors, []);
    await page.close();
  });

  const cases = [
    { name: 'summe', editCell: false },
    { name: 'maximum', editCell: true },  // no data file: the empty table
  ];
  for (const { name, editCell } of cases) {
    it(`loads "${name}" after the save questions, unchecked and unmodified`, async () => {
      const { page, errors } = await openPage(chromium.browser);
      await typeProgram(page, 'LAD 1\nSTP');
      if (editCell) await typeCell(page, 'Zelle 5', '77');
      await chooseByKeyboard(page, name);
      await question(page, 'Frage', 'Programm speichern?', 'Nein');
      await question(page, 'QRZL', 'Daten speichern?', 'Nein');
      await noBoxOpen(page);
      assert.equal(await programText(page), await exampleFile(`${name}.prg`));
      const data = await exampleFile(`${name}.dta`);
      if (data === null) {
        for (const cell of [1, 5, 512]) assert.equal(await value(page, 'textbox', `Zelle ${cell}`), '0');
      } else {
        for (const line of data.split('\n').filter((l) => l !== '').slice(0, 20)) {
          const [cell, content] = line.split(':');
          assert.equal(await value(page, 'textbox', `Zelle ${cell}`), content, `Zelle ${cell}`);
        }
      }
      // Nothing is unsaved now: the next example comes without a question.
      const countdown = await exampleFile('countdown.prg');
      await chooseByKeyboard(page, 'countdown');
      await page.waitForFunction((text) => window.quarzel.program() === text, {}, countdown);
      assert.equal(await page.$('.overlay'), null);
      assert.deepEqual(errors, []);
      await page.close();
    });
  }

  it('shows the primer beside the command list; "Ausprobieren" asks first, then fills the editor', async () => {
    const { page, errors } = await openPage(chromium.browser);
    await typeProgram(page, '* mein Programm\nSTP');
    await click(page, 'button', 'Hilfe');
    await click(page, 'tab', 'Einführung');
    const buttons = await page.$$eval('.primer button', (b) => b.map((x) => x.getAttribute('aria-label')));
    assert.equal(buttons.length, 6);
    assert.ok(buttons.every((label) => label.startsWith('Ausprobieren: ')), buttons.join(', '));
    // The command list is hidden meanwhile, and back with its tab.
    assert.equal(await page.$eval('.help textarea', (t) => t.hidden), true);

    const last = buttons[buttons.length - 1];
    const title = last.slice('Ausprobieren: '.length);
    const shown = await page.$eval(`section[aria-label="${title}"] pre`, (p) => p.textContent);

    // Declined: the program goes in; the table stays as it is.
    await typeCell(page, 'Zelle 3', '12');
    await click(page, 'button', last);
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await noBoxOpen(page);
    assert.equal((await programText(page)).replace(/\n$/, ''), shown);
    assert.equal(await value(page, 'textbox', 'Zelle 3'), '12');
    // Unmodified now: the first program comes without the question.
    await click(page, 'button', buttons[0]);
    await page.waitForFunction((text) => window.quarzel.program().replace(/\n$/, '') !== text, {}, shown);
    assert.equal(await page.$('.overlay'), null);

    await click(page, 'tab', 'Befehlsliste');
    assert.equal(await page.$eval('.help textarea', (t) => t.hidden), false);
    assert.deepEqual(errors, []);
    await page.close();
  });
});
