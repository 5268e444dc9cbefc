// Nothing is lost: a save the browser refuses is said and the work stays unsaved, "Ende" lets
// the kept copy go only when the work is safe, a full or broken storage never stops the page
// nor destroys a record, and two tabs never put older work over newer.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { answer, byName, click, launch, noBoxOpen, notesSeen, openPage, programText, question, recordNotes, typeProgram, typingKept } from './harness.mjs';

let chromium;
let folder;
before(async () => {
  chromium = await launch();
  folder = await mkdtemp(path.join(tmpdir(), 'quarzel-keeping-'));
});
after(async () => {
  await chromium.close();
  await rm(folder, { recursive: true, force: true });
});

const damagedNote = (problem) =>
  `Die zwischengespeicherte Arbeit der letzten Sitzung ist beschädigt (${problem}) und wurde nicht geladen; sie bleibt gesondert aufbewahrt.`;
const restoredNote = 'Programm und Daten der letzten Sitzung wurden wiederhergestellt.';
const fullNote = 'Die Arbeit kann im Browser nicht mehr zwischengespeichert werden – bitte speichern.';

// The browser's save dialog answered with `name`, whose writer fails at `step` (createWritable,
// write or close) with `error`, or succeeds when no step is given.
async function stubSaveDialog(page, name, step, error) {
  await page.evaluate((n, s, e) => {
    window.written = {};
    // The page takes the system's dialogs only where the browser offers both; an engine without
    // them gets an open dialog too, which these scenarios never reach.
    if (typeof window.showOpenFilePicker !== 'function') {
      window.showOpenFilePicker = async () => {
        throw new DOMException('abgebrochen', 'AbortError');
      };
    }
    const fail = () => Promise.reject(e.dom ? new DOMException(e.message, e.name) : new TypeError(e.message));
    window.showSaveFilePicker = async () => ({
      name: n,
      createWritable: async () => {
        if (s === 'createWritable') return fail();
        const chunks = [];
        return {
          write: async (bytes) => (s === 'write' ? fail() : chunks.push(...bytes)),
          close: async () => (s === 'close' ? fail() : void (window.written[n] = chunks)),
          abort: async () => {},
        };
      },
    });
  }, name, step, error);
}

// The values the page keeps in the browser's storage under its keys, by key.
async function storedWork(page) {
  return page.evaluate(() => Object.fromEntries(Object.entries(localStorage).filter(([key]) => key.startsWith('quarzel.'))));
}
const holding = (stored, text) => Object.values(stored).filter((value) => value.includes(text)).length;

describe('Keine Arbeit geht verloren', () => {
  const failures = [
    {
      part: 'the program, the file read-only',
      step: 'createWritable',
      error: { dom: true, name: 'NoModificationAllowedError', message: 'read-only' },
      file: 'neu.prg',
      async command(page) {
        await click(page, 'button', 'Speichern');
        await question(page, 'Frage', 'Programm speichern?', 'Ja');
      },
      text: 'Datei „neu.prg“ kann nicht gespeichert werden: die Datei ist schreibgeschützt.',
      unsaved: true,
    },
    {
      part: 'the data, the disk full',
      step: 'write',
      error: { dom: true, name: 'QuotaExceededError', message: 'full' },
      file: 'neu.dta',
      async command(page) {
        await click(page, 'button', 'Speichern');
        await question(page, 'Frage', 'Programm speichern?', 'Nein');
        await question(page, 'QRZL', 'Daten speichern?', 'Ja');
      },
      text: 'Datei „neu.dta“ kann nicht gespeichert werden: kein Platz mehr auf dem Datenträger.',
      unsaved: true,
    },
    {
      part: 'the HTML export, in the browser\'s words',
      step: 'close',
      error: { dom: false, message: 'Das Laufwerk antwortet nicht' },
      file: 'seite.html',
      command: (page) => click(page, 'button', '.HTML Export'),
      text: 'Datei „seite.html“ kann nicht gespeichert werden: Das Laufwerk antwortet nicht.',
    },
  ];
  for (const { part, step, error, file, command, text, unsaved = false } of failures) {
    it(`says a failed save of ${part} and leaves the work unsaved and kept`, async () => {
      const { page } = await openPage(chromium.browser, { fileSystemAccess: true });
      await typeProgram(page, 'LAD 7\nSTP');
      const cell = await byName(page, 'textbox', 'Zelle 1');
      await cell.type('5');
      await page.keyboard.press('Tab');
      await stubSaveDialog(page, file, step, error);
      await command(page);
      await question(page, 'Quarzel 3', text, 'OK');
      await noBoxOpen(page);
      assert.deepEqual(await page.evaluate(() => window.written), {});
      assert.equal(holding(await storedWork(page), 'LAD 7'), 1, 'the kept copy stays');
      if (unsaved) {
        // Program and data still unsaved: "Ende" offers both again.
        await click(page, 'button', 'Ende');
        await question(page, 'Frage', 'Programm speichern?', 'Nein');
        await question(page, 'QRZL', 'Daten speichern?', 'Nein');
        await noBoxOpen(page);
      }
      await page.close();
    });
  }

  const endings = [
    { how: 'saved through the file dialog', fileSystemAccess: true, reply: 'Ja', kept: false },
    { how: 'let go with "Nein"', reply: 'Nein', kept: false },
    { how: 'saved as a download', reply: 'Ja', name: 'ende.prg', kept: true },
    { how: 'left in a cancelled file dialog', reply: 'Ja', name: null, kept: true },
  ];
  for (const { how, fileSystemAccess = false, reply, name, kept } of endings) {
    it(`"Ende" with the program ${how} ${kept ? 'keeps' : 'lets go'} the kept copy`, async () => {
      const downloads = path.join(folder, 'downloads');
      const { page } = await openPage(chromium.browser, { fileSystemAccess, downloads });
      await typeProgram(page, 'LAD 7\nSTP');
      if (fileSystemAccess) await stubSaveDialog(page, 'ende.prg');
      await click(page, 'button', 'Ende');
      await question(page, 'Frage', 'Programm speichern?', reply);
      if (name !== undefined) {
        if (name === null) {
          await answer(page, 'Abbrechen');
        } else {
          const field = await byName(page, 'textbox', 'Dateiname:');
          await field.evaluate((f) => {
            f.value = '';
          });
          await field.type(name);
          await answer(page, 'Speichern');
        }
      }
      await page.waitForFunction(() => window.quarzel.program() === '');
      await noBoxOpen(page);
      assert.equal(holding(await storedWork(page), 'LAD 7'), kept ? 1 : 0);
      await page.close();
      // The page opened again brings it back only where it was kept.
      const again = await openPage(chromium.browser, { keepStorage: true });
      assert.equal(await programText(again.page), kept ? 'LAD 7\nSTP' : '');
      await again.page.close();
    });
  }

  it('says once that a full storage keeps nothing, and goes on', async () => {
    const { page, errors } = await openPage(chromium.browser, { beforeLoad: recordNotes });
    await page.evaluate(() => {
      Storage.prototype.setItem = () => {
        throw new DOMException('voll', 'QuotaExceededError');
      };
    });
    await typeProgram(page, 'LAD 1');
    await typeProgram(page, 'LAD 2');
    await typeProgram(page, 'STP');
    await typingKept(page);
    assert.deepEqual(await notesSeen(page), [fullNote]);
    await click(page, 'button', 'Start');
    await question(page, 'Hinweis', 'Programm wird geprüft', 'OK');
    assert.deepEqual(errors, []);
    await page.close();
  });

  // What earlier sessions left in the storage, and what the page says about it.
  const stored = [
    { what: 'garbage', key: 'quarzel.arbeit', value: () => 'kaputt', problem: 'unbekanntes Format' },
    { what: 'a value of another kind', key: 'quarzel.arbeit.tab.x', value: () => '{"programm":5}', problem: 'unbekanntes Format' },
    { what: 'a record cut short', key: 'quarzel.arbeit.tab.y', value: (record) => record.slice(0, record.length - 20), problem: 'unvollständig' },
    { what: 'a huge value', key: 'quarzel.arbeit', value: () => 'Q'.repeat(3 * 1024 * 1024), problem: 'unbekanntes Format' },
  ];
  it('starts empty after each damaged record, says so and keeps every one of them aside', async () => {
    // A record as the page writes it, to be damaged.
    const first = await openPage(chromium.browser);
    await typeProgram(first.page, 'LAD 7\nSTP');
    await typingKept(first.page);
    const record = Object.values(await storedWork(first.page)).find((v) => v.includes('LAD 7'));
    await first.page.evaluate(() => localStorage.clear());
    await first.page.close();
    const aside = [];
    for (const { what, key, value, problem } of stored) {
      const damaged = value(record);
      const { page, errors } = await openPage(chromium.browser, {
        keepStorage: true,
        beforeLoad: new Function(`(${recordNotes})(); localStorage.setItem(${JSON.stringify(key)}, ${JSON.stringify(damaged)});`),
      });
      assert.deepEqual(await notesSeen(page), [damagedNote(problem)], what);
      assert.equal(await programText(page), '', what);
      aside.push(damaged);
      const kept = await storedWork(page);
      const asideNow = Object.entries(kept).filter(([k]) => k.startsWith('quarzel.arbeit.beschaedigt')).map(([, v]) => v);
      // At most three are kept aside, the newest ones, none of them overwritten.
      assert.deepEqual(asideNow.map((v) => v.length).sort(), aside.slice(-3).map((v) => v.length).sort(), what);
      assert.ok(aside.slice(-3).every((v) => asideNow.includes(v)), what);
      assert.equal(kept[key], undefined, `${what}: not left to be tried again`);
      await typeProgram(page, 'STP');
      await typingKept(page);
      assert.deepEqual(errors, []);
      await page.evaluate(() => localStorage.removeItem(Object.keys(localStorage).find((k) => k.startsWith('quarzel.arbeit.tab.'))));
      await page.close();
    }
  });

  it('starts and works where the storage cannot even be reached', async () => {
    const { page, errors } = await openPage(chromium.browser, {
      beforeLoad: new Function(`(${recordNotes})(); Object.defineProperty(window, 'localStorage', {
        get() { throw new DOMException('verboten', 'SecurityError'); } });`),
    });
    await typeProgram(page, 'STP');
    await click(page, 'button', 'Start');
    await question(page, 'Hinweis', 'Programm wird geprüft', 'OK');
    assert.deepEqual(await notesSeen(page), [fullNote]);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('brings back the work changed last when two tabs worked, whichever closed last', async () => {
    const a = await openPage(chromium.browser);
    await typeProgram(a.page, 'LAD 1\nSTP');
    await typingKept(a.page);
    const b = await openPage(chromium.browser, { keepStorage: true });
    assert.equal(await programText(b.page), 'LAD 1\nSTP');
    await typeProgram(b.page, 'LAD 2\nSTP');
    // The older tab goes on with commands that change nothing, and is closed last.
    await new Promise((resolve) => setTimeout(resolve, 1100));
    await a.page.bringToFront();
    await click(a.page, 'radio', 'Langsam');
    await click(a.page, 'radio', 'Schritt');
    await b.page.close({ runBeforeUnload: true });
    await a.page.close({ runBeforeUnload: true });
    const c = await openPage(chromium.browser, { keepStorage: true });
    assert.equal(await programText(c.page), 'LAD 2\nSTP');
    // The older tab's work is not thrown away either.
    assert.equal(holding(await storedWork(c.page), 'LAD 1'), 1);
    await c.page.close();
  });
});
