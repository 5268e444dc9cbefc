// "Beispiele" and the primer ("Einführung") in the page: an example chosen from the list and
// loaded after the save questions, and "Ausprobieren" after "Programm speichern?".
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { byName, click, launch, openPage, programText, question, typeCell, typeProgram, value } from './harness.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium.close();
});

// A file of examples/ as the editor shows it (the examples use no character beyond Latin-1).
async function exampleFile(name) {
  return (await readFile(path.join(root, 'examples', name))).toString('latin1').replace(/\r\n/g, '\n');
}

// Waits for the editor to hold `text` and checks that no box came up on the way.
async function editorHolds(page, text) {
  await page.waitForFunction((t) => window.quarzel.program().replace(/\n$/, '') === t.replace(/\n$/, ''), {}, text);
  assert.equal(await page.$('.overlay'), null);
}

describe('Beispiele und Einführung im Browser', () => {
  it('lists the examples with their lines and loads one after the save questions', async () => {
    const { page, errors } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\nSTP');
    await typeCell(page, 'Zelle 5', '77');
    await click(page, 'button', 'Beispiele');
    const list = await byName(page, 'listbox', 'Beispielprogramme');
    const options = await list.evaluate((l) => Array.from(l.options, (o) => o.textContent));
    // In the order of the build's list, each with its German line.
    const listed = (await readFile(path.join(root, 'src/files/built_in_examples.txt'), 'utf8'))
      .split('\n').filter((line) => line !== '' && !line.startsWith('#')).map((line) => line.replace(': ', ' – '));
    assert.deepEqual(options, listed);
    // By keyboard: "summe" with the arrow keys, Enter.
    await list.focus();
    for (let i = 0; i < options.findIndex((o) => o.startsWith('summe ')); ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await question(page, 'QRZL', 'Daten speichern?', 'Nein');
    await editorHolds(page, await exampleFile('summe.prg'));
    assert.equal(await value(page, 'textbox', 'Zelle 5'), '5');
    // Nothing is unsaved now: the next example comes without a question, and Escape cancels.
    await click(page, 'button', 'Beispiele');
    await page.keyboard.press('Enter');
    await editorHolds(page, await exampleFile('countdown.prg'));
    await click(page, 'button', 'Beispiele');
    await page.keyboard.press('Escape');
    await editorHolds(page, await exampleFile('countdown.prg'));
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('shows the primer beside the command list; "Ausprobieren" asks first, then fills the editor', async () => {
    const { page, errors } = await openPage(chromium.browser);
    await typeProgram(page, '* mein Programm\nSTP');
    await typeCell(page, 'Zelle 3', '12');
    await click(page, 'button', 'Hilfe');
    await click(page, 'tab', 'Einführung');
    assert.equal(await page.$eval('.help textarea', (t) => t.hidden), true);
    const buttons = await page.$$eval('.primer button', (b) => b.map((x) => x.getAttribute('aria-label')));
    assert.equal(buttons.length, 6);
    // The program shown in the section is the one that goes into the editor; the table stays.
    const last = buttons[buttons.length - 1];
    const shown = await page.$eval(`section[aria-label="${last.replace('Ausprobieren: ', '')}"] pre`, (p) => p.textContent);
    await click(page, 'button', last);
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await editorHolds(page, shown);
    assert.equal(await value(page, 'textbox', 'Zelle 3'), '12');
    // Unmodified now: the first program comes without the question.
    await click(page, 'button', buttons[0]);
    await page.waitForFunction((t) => !window.quarzel.program().startsWith(t), {}, shown);
    assert.equal(await page.$('.overlay'), null);
    await click(page, 'tab', 'Befehlsliste');
    assert.equal(await page.$eval('.help textarea', (t) => t.hidden), false);
    assert.deepEqual(errors, []);
    await page.close();
  });
});
