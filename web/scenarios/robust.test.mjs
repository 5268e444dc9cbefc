// Nothing the user does kills the page: a resize while a box waits for an answer, a paste far
// beyond the editor's limit, a huge paste into a cell, and a fault inside a command (a page
// function that throws or rejects, an exception that escapes the core). After each the page
// must take the next command.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { answer, byName, click, dialog, launch, openPage, pasteRepeated, programText, typeProgram, value } from './harness.mjs';

let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium.close();
});

const MB = 1024 * 1024;

// "Start" on a program that is not checked yet: its first box proves the page takes commands.
async function startStillWorks(page) {
  await click(page, 'button', 'Start');
  assert.deepEqual(await dialog(page), { caption: 'Hinweis', text: 'Programm wird geprüft' });
  await answer(page, 'OK');
}

// Where the page put a control, against the core's layout for that size.
async function placedAsLaidOut(page, name, width, height) {
  return page.evaluate((n, w, h) => {
    const e = document.getElementById(n);
    return [e.offsetWidth, e.offsetHeight].join() === window.quarzel.layoutRects(w, h)[n].slice(2).join();
  }, name, width, height);
}

describe('Nichts bringt die Seite zum Stehen', () => {
  const boxes = [
    {
      box: 'the number box of INP',
      program: 'INP\nINP\nSTP',
      async open(page) {
        await click(page, 'button', 'Start');
        await answer(page, 'OK');
        await click(page, 'button', 'Start');
        await answer(page, 'OK');
        await click(page, 'button', 'Start');
        await byName(page, 'button', 'Stop');
        await click(page, 'button', 'Schritt');
        await byName(page, 'textbox', 'Dateneingabe');
      },
      async close(page) {
        const field = await byName(page, 'textbox', 'Dateneingabe');
        await field.evaluate((f) => f.select());
        await field.type('7');
        await page.keyboard.press('Enter');
        await page.waitForFunction(() => !document.querySelector('.overlay'));
        assert.equal(await value(page, 'textbox', 'Akku'), '7');
      },
      async next(page) {
        await click(page, 'button', 'Schritt');
        await byName(page, 'textbox', 'Dateneingabe');
        await page.keyboard.press('Escape');
        await page.waitForFunction(() => !document.querySelector('.overlay'));
      },
    },
    {
      box: 'a check error',
      program: 'FOO',
      async open(page) {
        await click(page, 'button', 'Prüfen');
        assert.equal((await dialog(page)).caption, 'Programmfehler');
      },
      close: (page) => answer(page, 'OK'),
      async next(page) {
        await typeProgram(page, 'STP');
        await startStillWorks(page);
      },
    },
    {
      box: 'a question',
      program: 'STP',
      async open(page) {
        await click(page, 'button', 'Neu');
        assert.deepEqual(await dialog(page), { caption: 'QRZL', text: 'Neues Programm?' });
      },
      async close(page) {
        await answer(page, 'Nein');
        assert.deepEqual(await dialog(page), { caption: 'QRZL', text: 'Neuer Datenbereich?' });
        await answer(page, 'Nein');
      },
      next: startStillWorks,
    },
  ];
  for (const { box, program, open, close, next } of boxes) {
    it(`lays the page out again after a resize with ${box} open, and goes on`, async () => {
      const { page } = await openPage(chromium.browser);
      await typeProgram(page, program);
      await open(page);
      await page.setViewport({ width: 1000, height: 720 });
      // No call may enter the core while the command waits: the one door says so clearly.
      const refused = await page.evaluate(() => {
        try {
          window.quarzel.layoutRects(900, 700);
          return 'angenommen';
        } catch (error) {
          return error.message;
        }
      });
      assert.match(refused, /^qz_layout darf nicht in den Kern, solange qz_\w+ läuft\.$/);
      await close(page);
      await page.waitForFunction(() => document.getElementById('app').style.width === '1000px');
      assert.equal(await placedAsLaidOut(page, 'gbProgram', 1000, 720), true);
      await next(page);
      await page.close();
    });
  }

  for (const megabytes of [2, 50]) {
    it(`refuses a paste of ${megabytes} MB with the window's message before it reaches the core`, async () => {
      const { page, errors } = await openPage(chromium.browser);
      await typeProgram(page, 'STP');
      await pasteRepeated(page, 'LAD 1\n', Math.ceil((megabytes * MB) / 6));
      assert.deepEqual(await dialog(page), { caption: 'Quarzel 3', text: 'Text überschreitet Memo-Kapazität.' });
      await answer(page, 'OK');
      assert.equal(await programText(page), 'STP');
      await startStillWorks(page);
      assert.deepEqual(errors, []);
      await page.close();
    });
  }

  it('cuts a paste of 50 MB into a cell at the 32767 characters the window\'s cell takes', async () => {
    const { page, errors } = await openPage(chromium.browser);
    const taken = await page.evaluate(() => {
      const cell = document.querySelector('input[aria-label="Kommentar 3"]');
      cell.focus();
      document.execCommand('insertText', false, 'x'.repeat(50 * 1024 * 1024));
      const length = cell.value.length;
      cell.dispatchEvent(new Event('change'));
      return length;
    });
    assert.equal(taken, 32767);
    await typeProgram(page, 'STP');
    await startStillWorks(page);
    assert.deepEqual(errors, []);
    await page.close();
  });

  // A fault inside a command, provoked through the page's own answers to the core.
  const faults = [
    {
      fault: 'a page function that throws',
      program: 'STP',
      answer: 'askYesNo',
      failing: () => {
        throw new Error('Testfehler');
      },
      command: 'Neu',
      text: 'Interner Fehler: askYesNo: Error: Testfehler.',
    },
    {
      fault: 'a page function whose promise rejects',
      program: 'STP',
      answer: 'askYesNo',
      failing: () => Promise.reject(new Error('Testfehler')),
      command: 'Neu',
      text: 'Interner Fehler: askYesNo: Error: Testfehler.',
    },
    {
      // The core cannot show its error box: the exception leaves the core's central handler.
      fault: 'an exception that escapes the core',
      program: 'FOO',
      answer: 'showMessage',
      failing: () => {
        throw new Error('Testfehler');
      },
      command: 'Prüfen',
      text: 'Interner Fehler: showMessage: Error: Testfehler.',
    },
  ];
  for (const { fault, program, answer: name, failing, command, text } of faults) {
    it(`shows "Interner Fehler" for ${fault} and frees the page`, async () => {
      const { page } = await openPage(chromium.browser);
      await typeProgram(page, program);
      await page.evaluate((n, f) => {
        const answers = window.quarzel.pageCalls();
        window.kept = answers[n];
        answers[n] = new Function(`return (${f})`)();
      }, name, failing.toString());
      await click(page, 'button', command);
      assert.deepEqual(await dialog(page), { caption: 'Quarzel 3', text });
      await answer(page, 'OK');
      await page.evaluate((n) => {
        window.quarzel.pageCalls()[n] = window.kept;
      }, name);
      await typeProgram(page, 'STP');
      await startStillWorks(page);
      await page.close();
    });
  }
});
