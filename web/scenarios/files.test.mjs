// Laden, Speichern and the HTML export on the download path (no File System Access API), and
// what the page keeps for the learner: the bytes are compared with what the window writes.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtemp, readFile, readdir, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { answer, byName, click, dialog, launch, openPage, typeCell, typeProgram, programText, value } from './harness.mjs';

let chromium;
let folder;
let downloads;
// A program with a Windows-1252 umlaut and a tab, CR LF line ends; a table with a comment.
const program = Buffer.from('* Zähler\r\nLAD 1\r\nINC\tSTO 2\r\nSTP', 'latin1');
const dataLines = [];
for (let n = 1; n <= 512; ++n) {
  dataLines.push(n === 1 ? '1:41:Anfang <a & b>' : n === 3 ? '3:$1F:' : `${n}:0:`);
}
const data = Buffer.from(`${dataLines.join('\r\n')}\r\n`, 'latin1');

before(async () => {
  chromium = await launch();
  folder = await mkdtemp(path.join(tmpdir(), 'quarzel-files-'));
  downloads = path.join(folder, 'downloads');
  await writeFile(path.join(folder, 'zaehler.prg'), program);
  await writeFile(path.join(folder, 'zaehler.dta'), data);
  // One byte more than a data file may have.
  await writeFile(path.join(folder, 'gross.dta'), Buffer.alloc(1024 * 1024 + 1, 0x41));
  await writeFile(path.join(folder, 'gross.prg'), Buffer.alloc(4 * 1024 * 1024, 0x41));
  for (const megabytes of [2, 50]) {
    const lines = Buffer.from('LAD 1\r\n'.repeat(Math.ceil((megabytes * 1024 * 1024) / 7)), 'latin1');
    await writeFile(path.join(folder, `${megabytes}mb.prg`), lines);
    await writeFile(path.join(folder, `${megabytes}mb.dta`), lines);
  }
});
after(async () => {
  await chromium.close();
  await rm(folder, { recursive: true, force: true });
});

async function question(page, caption, text, reply) {
  assert.deepEqual(await dialog(page), { caption, text });
  await answer(page, reply);
}

async function chooseFile(page, caption, text, file) {
  const [chooser] = await Promise.all([page.waitForFileChooser(), (async () => {
    assert.deepEqual(await dialog(page), { caption, text });
    await click(page, 'button', 'Ja');
  })()]);
  await chooser.accept([path.join(folder, file)]);
}

async function saveAs(page, name) {
  const field = await byName(page, 'textbox', 'Dateiname:');
  await field.evaluate((f) => {
    f.value = '';
  });
  await field.type(name);
  await answer(page, 'Speichern');
}

async function downloaded(name) {
  for (let i = 0; i < 100; ++i) {
    const files = await readdir(downloads).catch(() => []);
    if (files.includes(name)) return readFile(path.join(downloads, name));
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`${name} wurde nicht heruntergeladen`);
}

async function load(page) {
  await click(page, 'button', 'Laden');
  await chooseFile(page, 'QRZL', 'Programm laden?', 'zaehler.prg');
  await chooseFile(page, 'QRZL', 'Daten laden?', 'zaehler.dta');
  await page.waitForFunction(() => !document.querySelector('.overlay'));
}

describe('Dateien im Browser', () => {
  it('loads a program and data and saves them byte for byte as the window writes them', async () => {
    const { page } = await openPage(chromium.browser, { downloads });
    await load(page);
    assert.equal(await programText(page), '* Zähler\nLAD 1\nINC\tSTO 2\nSTP');
    assert.equal(await value(page, 'textbox', 'Kommentar 1'), 'Anfang <a & b>');
    assert.equal(await value(page, 'textbox', 'Zelle 3'), '$1F');
    // An edit makes both unsaved, so "Speichern" asks for both.
    await typeCell(page, 'Zelle 2', '7');
    await click(page, 'button', 'Speichern');
    await question(page, 'Frage', 'Programm speichern?', 'Ja');
    await saveAs(page, 'kopie');
    await question(page, 'QRZL', 'Daten speichern?', 'Ja');
    await saveAs(page, 'kopie.dta');
    assert.deepEqual(await downloaded('kopie.prg'), program);
    const expected = Buffer.from(data.toString('latin1').replace('\r\n2:0:\r\n', '\r\n2:7:\r\n'), 'latin1');
    assert.deepEqual(await downloaded('kopie.dta'), expected);
    await page.close();
  });

  it('exports the same HTML page as the window for the same program, data and date', async () => {
    const reference = process.env.QUARZEL_HTML_REFERENCE;
    assert.ok(reference, 'QUARZEL_HTML_REFERENCE names the native export (make web-page-test sets it)');
    const { page } = await openPage(chromium.browser, { downloads });
    await load(page);
    const date = await page.evaluate(() => new Intl.DateTimeFormat(navigator.language, { dateStyle: 'short' }).format(new Date()));
    await click(page, 'button', '.HTML Export');
    await saveAs(page, 'seite');
    const native = execFileSync(reference, [path.join(folder, 'zaehler.prg'), path.join(folder, 'zaehler.dta'), date]);
    assert.deepEqual(await downloaded('seite.html'), native);
    await page.close();
  });

  it('refuses a program or data file over its limit from its size, with the window\'s message', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'STP');
    await click(page, 'button', 'Laden');
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await question(page, 'QRZL', 'Daten speichern?', 'Nein');
    await chooseFile(page, 'QRZL', 'Programm laden?', 'gross.prg');
    assert.deepEqual(await dialog(page), { caption: 'Quarzel 3', text: 'Text überschreitet Memo-Kapazität.' });
    await answer(page, 'OK');
    assert.equal(await programText(page), 'STP');
    await click(page, 'button', 'Laden');
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await question(page, 'QRZL', 'Daten speichern?', 'Nein');
    await question(page, 'QRZL', 'Programm laden?', 'Nein');
    await chooseFile(page, 'QRZL', 'Daten laden?', 'gross.dta');
    assert.deepEqual(await dialog(page), { caption: 'Quarzel 3', text: 'Datei gross.dta ist zu groß für eine Datendatei (höchstens 1 MiB)' });
    await answer(page, 'OK');
    assert.equal(await value(page, 'textbox', 'Zelle 1'), '0');
    await page.close();
  });

  for (const megabytes of [2, 50]) {
    it(`refuses a program and a data file of ${megabytes} MB chosen in "Laden" and goes on working`, async () => {
      const { page, errors } = await openPage(chromium.browser);
      await click(page, 'button', 'Laden');
      await chooseFile(page, 'QRZL', 'Programm laden?', `${megabytes}mb.prg`);
      assert.deepEqual(await dialog(page), { caption: 'Quarzel 3', text: 'Text überschreitet Memo-Kapazität.' });
      await answer(page, 'OK');
      await click(page, 'button', 'Laden');
      await question(page, 'QRZL', 'Programm laden?', 'Nein');
      await chooseFile(page, 'QRZL', 'Daten laden?', `${megabytes}mb.dta`);
      assert.deepEqual(await dialog(page), {
        caption: 'Quarzel 3',
        text: `Datei ${megabytes}mb.dta ist zu groß für eine Datendatei (höchstens 1 MiB)`,
      });
      await answer(page, 'OK');
      assert.equal(await programText(page), '');
      await typeProgram(page, 'STP');
      await click(page, 'button', 'Start');
      assert.deepEqual(await dialog(page), { caption: 'Hinweis', text: 'Programm wird geprüft' });
      await answer(page, 'OK');
      assert.deepEqual(errors, []);
      await page.close();
    });
  }

  it('refuses pasting more than the editor takes and keeps the text', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'STP');
    await page.evaluate(() => {
      document.querySelector('#meProgram .cm-content').focus();
      document.execCommand('insertText', false, 'x'.repeat(1024 * 1024 + 1));
    });
    assert.deepEqual(await dialog(page), { caption: 'Quarzel 3', text: 'Text überschreitet Memo-Kapazität.' });
    await answer(page, 'OK');
    assert.equal(await programText(page), 'STP');
    await page.close();
  });

  it('puts the work back after a reload, with a note, and warns before leaving unsaved work', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'LAD 3\nSTP');
    const cell = await byName(page, 'textbox', 'Kommentar 4');
    await cell.click();
    await cell.type('vier');
    await page.keyboard.press('Tab');
    const warns = await page.evaluate(() => {
      const event = new Event('beforeunload', { cancelable: true });
      window.dispatchEvent(event);
      return event.defaultPrevented;
    });
    assert.equal(warns, true);
    await page.reload();
    await page.waitForSelector('body[data-ready="true"]');
    assert.equal(await programText(page), 'LAD 3\nSTP');
    assert.equal(await value(page, 'textbox', 'Kommentar 4'), 'vier');
    const note = await page.$eval('.note', (n) => n.textContent);
    assert.equal(note, 'Programm und Daten der letzten Sitzung wurden wiederhergestellt.');
    await page.close();
  });

  it('"Ende" asks the save questions and then starts afresh', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'STP');
    await click(page, 'button', 'Ende');
    await question(page, 'Frage', 'Programm speichern?', 'Nein');
    await page.waitForFunction(() => window.quarzel.program() === '');
    // Let go with "Nein": nothing of it is kept for the next opening.
    const kept = await page.evaluate(() => Object.keys(localStorage).filter((key) => key.startsWith('quarzel.arbeit')));
    assert.deepEqual(kept, []);
    await page.close();
  });

  it('reads and writes the files the user chose where the browser offers its file dialogs', async () => {
    const { page } = await openPage(chromium.browser, { fileSystemAccess: true });
    // The browser's dialogs answered as a learner would: these files to open, these to write.
    await page.evaluate((prg, dta) => {
      const opens = [{ name: 'zaehler.prg', bytes: prg }, { name: 'zaehler.dta', bytes: dta }];
      window.written = {};
      window.showOpenFilePicker = async () => {
        const file = opens.shift();
        return [{ getFile: async () => new File([Uint8Array.from(file.bytes)], file.name) }];
      };
      const saves = ['neu.prg', 'neu.dta'];
      window.showSaveFilePicker = async () => {
        const name = saves.shift();
        const chunks = [];
        return {
          name,
          createWritable: async () => ({
            write: async (bytes) => chunks.push(...bytes),
            close: async () => {
              window.written[name] = chunks;
            },
          }),
        };
      };
    }, [...program], [...data]);
    await click(page, 'button', 'Laden');
    await question(page, 'QRZL', 'Programm laden?', 'Ja');
    await question(page, 'QRZL', 'Daten laden?', 'Ja');
    await page.waitForFunction(() => !document.querySelector('.overlay'));
    assert.equal(await value(page, 'textbox', 'Zelle 1'), '41');
    await typeCell(page, 'Zelle 2', '7');
    await typeProgram(page, '* Zähler\nLAD 1\nINC\tSTO 2\nSTP');
    await click(page, 'button', 'Speichern');
    await question(page, 'Frage', 'Programm speichern?', 'Ja');
    await question(page, 'QRZL', 'Daten speichern?', 'Ja');
    await page.waitForFunction(() => Object.keys(window.written).length === 2);
    const written = await page.evaluate(() => window.written);
    assert.deepEqual(Buffer.from(written['neu.prg']), program);
    const expected = Buffer.from(data.toString('latin1').replace('\r\n2:0:\r\n', '\r\n2:7:\r\n'), 'latin1');
    assert.deepEqual(Buffer.from(written['neu.dta']), expected);
    await page.close();
  });
});
