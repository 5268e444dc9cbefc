// The editor and the table as in the window: marks stay with their lines through "Speichern",
// a loaded or new program starts a fresh undo history, the run panel works after "Ende", and a
// character the files cannot hold is refused where it is typed or pasted.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { answer, byName, click, launch, noBoxOpen, notesSeen, openPage, pasteRepeated, programText, question, recordNotes, typeProgram, value } from './harness.mjs';

let chromium;
let folder;
before(async () => {
  chromium = await launch();
  folder = await mkdtemp(path.join(tmpdir(), 'quarzel-editing-'));
  await writeFile(path.join(folder, 'geladen.prg'), Buffer.from('LAD 9\r\nSTP', 'latin1'));
});
after(async () => {
  await chromium.close();
  await rm(folder, { recursive: true, force: true });
});

const breakpoints = (page) => page.evaluate(() => window.quarzel.breakpoints());

// Ctrl+Z in the editor, as the learner presses it.
async function undo(page) {
  await page.evaluate(() => document.querySelector('#meProgram .cm-content').focus());
  await page.keyboard.down('Control');
  await page.keyboard.press('z');
  await page.keyboard.up('Control');
}

const refusedNote = (character) =>
  `Das Zeichen „${character}“ kann in Programm- und Datendateien nicht gespeichert werden und wird nicht übernommen.`;

describe('Bearbeiten wie im Fenster', () => {
  it('keeps every breakpoint with its line when "Speichern" removes the empty lines above it', async () => {
    const { page } = await openPage(chromium.browser, { downloads: path.join(folder, 'downloads') });
    await typeProgram(page, 'LAD 1\n\nINC\n\n\nSTP');
    for (const offset of [7, 13]) {  // the lines "INC" and "STP"
      await page.evaluate((at) => window.quarzel.setCaret(at), offset);
      await page.keyboard.press('F9');
    }
    assert.deepEqual(await breakpoints(page), [2, 5]);
    await click(page, 'button', 'Speichern');
    await question(page, 'Frage', 'Programm speichern?', 'Ja');
    await answer(page, 'Speichern');
    await question(page, 'QRZL', 'Daten speichern?', 'Nein');
    assert.equal(await programText(page), 'LAD 1\nINC\nSTP');
    assert.deepEqual(await breakpoints(page), [1, 2]);
    await page.close();
  });

  it('"Schritt" steps the next run after "Ende" during a run at a timed speed', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'MRK L\nINC\nJMP L\nSTP');
    for (const box of ['Programm wird geprüft', 'Daten werden geprüft']) {
      await click(page, 'button', 'Start');
      await question(page, 'Hinweis', box, 'OK');
    }
    await click(page, 'radio', 'Direkt');
    await click(page, 'button', 'Start');
    await page.waitForFunction(() => Number(document.getElementById('ebAccu').value) > 10);
    await click(page, 'button', 'Ende');
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await noBoxOpen(page);
    await typeProgram(page, 'INC\nINC\nSTP');
    for (const box of ['Programm wird geprüft', 'Daten werden geprüft']) {
      await click(page, 'button', 'Start');
      await question(page, 'Hinweis', box, 'OK');
    }
    await click(page, 'button', 'Start');
    await byName(page, 'button', 'Stop');
    assert.equal(await page.evaluate(() => document.querySelector('input[aria-label="Schritt"]').checked), true);
    await click(page, 'button', 'Schritt');
    assert.equal(await value(page, 'textbox', 'Akku'), '1');
    assert.equal(await value(page, 'status', 'Schritte'), 'Schritte: 1');
    await page.close();
  });

  it('Ctrl+Z after "Laden" and after "Neu" does not bring back the program before', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 1\nSTP');
    await click(page, 'button', 'Laden');
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await question(page, 'QRZL', 'Daten speichern?', 'Nein');
    const [chooser] = await Promise.all([page.waitForFileChooser(), question(page, 'QRZL', 'Programm laden?', 'Ja')]);
    await chooser.accept([path.join(folder, 'geladen.prg')]);
    await question(page, 'QRZL', 'Daten laden?', 'Nein');
    await noBoxOpen(page);
    await undo(page);
    assert.equal(await programText(page), 'LAD 9\nSTP');
    await click(page, 'button', 'Neu');
    await question(page, 'QRZL', 'Neues Programm?', 'Ja');
    await question(page, 'QRZL', 'Neuer Datenbereich?', 'Nein');
    await noBoxOpen(page);
    await undo(page);
    assert.equal(await programText(page), '');
    // What is typed afterwards is undone as before.
    await page.keyboard.type('INC');
    await undo(page);
    assert.equal(await programText(page), '');
    await page.close();
  });

  it('refuses a character the files cannot hold, typed or pasted into the editor or typed into a cell', async () => {
    const { page } = await openPage(chromium.browser, { beforeLoad: recordNotes });
    await typeProgram(page, 'LAD 1');
    await page.evaluate(() => window.quarzel.setCaret(5));
    await page.keyboard.type(' ğ');
    await pasteRepeated(page, '\nINC 😀', 1);
    await page.keyboard.type('ä');
    assert.equal(await programText(page), 'LAD 1 ä');
    const cell = await byName(page, 'textbox', 'Kommentar 2');
    await cell.focus();
    await cell.type('a→b');
    await page.keyboard.press('Tab');
    assert.equal(await value(page, 'textbox', 'Kommentar 2'), 'ab');
    assert.deepEqual(await notesSeen(page), [refusedNote('ğ'), refusedNote('😀'), refusedNote('→')]);
    await page.close();
  });
});
