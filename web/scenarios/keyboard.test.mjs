// The page's panels and keyboard as the window has them: the panel used last on top and always
// whole inside the page, the table one stop of the Tab key, the window's access keys, and the
// focus back on the control that opened a box.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { answer, byName, click, dialog, launch, openPage, pressAccessKey, typeProgram, unsupported, value } from './harness.mjs';

const aufgaben = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../examples/aufgaben');

let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium.close();
});

// The accessible name of the panel or box that shows at a point of the page.
function panelAt(page, x, y) {
  return page.evaluate((px, py) => document.elementFromPoint(px, py)?.closest('[role="dialog"]')?.getAttribute('aria-label') ?? null, x, y);
}

// Each visible panel's rectangle and its ×, and the visible page.
function panelRects(page) {
  return page.evaluate(() => ({
    page: [document.documentElement.clientWidth, document.documentElement.clientHeight],
    panels: Array.from(document.querySelectorAll('.help:not([hidden])'), (p) => {
      const r = p.getBoundingClientRect();
      const x = p.querySelector('.close').getBoundingClientRect();
      return { name: p.getAttribute('aria-label'), rect: [r.left, r.top, r.right, r.bottom], close: [x.left, x.top, x.right, x.bottom] };
    }),
  }));
}

function focusedName(page) {
  return page.evaluate(() => document.activeElement?.getAttribute('aria-label') ?? document.activeElement?.tagName);
}

describe('Fenster und Tastatur', () => {
  it('puts the panel used last on top, raises one with a click and keeps each inside a smaller page', async (t) => {
    const { page, errors } = await openPage(chromium.browser, { width: 1000, height: 700 });
    await click(page, 'button', 'Hilfe');
    await click(page, 'button', 'Aufgabe');
    const overlap = await page.evaluate(() => {
      const [a, b] = Array.from(document.querySelectorAll('.help:not([hidden])'), (p) => p.getBoundingClientRect());
      return [(Math.max(a.left, b.left) + Math.min(a.right, b.right)) / 2, (Math.max(a.top, b.top) + Math.min(a.bottom, b.bottom)) / 2];
    });
    assert.equal(await panelAt(page, ...overlap), 'Aufgabe', 'opened last, on top');
    // A click on the reference's text, where the task panel does not cover it.
    const text = await page.$eval('.help:not(.task) textarea', (t) => {
      const r = t.getBoundingClientRect();
      return [r.left + 10, r.bottom - 10];
    });
    await page.mouse.click(...text);
    assert.equal(await panelAt(page, ...overlap), 'Befehlsreferenz');
    // A click on the task panel's part beside the reference.
    const beside = await page.evaluate(() => {
      const help = document.querySelector('.help:not(.task)').getBoundingClientRect();
      const task = document.querySelector('.task').getBoundingClientRect();
      return [(help.right + task.right) / 2, (task.top + task.bottom) / 2];
    });
    await page.mouse.click(...beside);
    assert.equal(await panelAt(page, ...overlap), 'Aufgabe');

    for (const [width, height] of [[520, 360], [300, 240]]) {
      if (width < 400 && unsupported('tinyViewport')) {
        t.diagnostic(`${width} x ${height} left out: ${unsupported('tinyViewport')}`);
        continue;
      }
      await page.setViewport({ width, height });
      await page.waitForFunction(() => {
        const w = document.documentElement.clientWidth;
        const h = document.documentElement.clientHeight;
        return Array.from(document.querySelectorAll('.help:not([hidden])')).every((p) => {
          const r = p.getBoundingClientRect();
          return r.left >= 0 && r.top >= 0 && r.right <= w + 0.5 && r.bottom <= h + 0.5;
        });
      }, { timeout: 3000 }).catch(() => {});
      const { page: [w, h], panels } = await panelRects(page);
      assert.equal(panels.length, 2);
      for (const p of panels) {
        for (const [left, top, right, bottom] of [p.rect, p.close]) {
          assert.ok(left >= 0 && top >= 0 && right <= w + 0.5 && bottom <= h + 0.5, `${p.name} at ${width}x${height}: ${p.rect} in ${w}x${h}`);
        }
      }
    }
    // The × of the panel on top answers a click at the smallest size: at its middle, or where an
    // engine's scrollbar lies over the page's edge, at its part clear of it.
    const { panels } = await panelRects(page);
    const task = panels.find((p) => p.name === 'Aufgabe');
    const edge = unsupported('clickAtEdge');
    if (edge) t.diagnostic(`the × clicked 3 pixels inside its left edge: ${edge}`);
    const x = edge ? task.close[0] + 3 : (task.close[0] + task.close[2]) / 2;
    await page.mouse.click(x, (task.close[1] + task.close[3]) / 2);
    assert.equal(await page.$eval('.task', (p) => p.hidden), true);
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('counts the table as one stop of the Tab key; the arrow keys move inside it', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'STP');
    // Tab indents in the editor; Escape first lets it move on.
    await page.keyboard.press('Escape');
    const visited = [];
    for (let i = 0; i < 10 && (await focusedName(page)) !== 'Prüfen'; ++i) {
      await page.keyboard.press('Tab');
      visited.push(await focusedName(page));
    }
    assert.deepEqual(visited, ['Zelle 1', 'Prüfen']);
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    assert.equal(await focusedName(page), 'Zelle 1');
    for (const key of ['ArrowDown', 'ArrowDown', 'ArrowUp', 'End', 'ArrowRight', 'Home', 'ArrowLeft']) {
      await page.keyboard.press(key);
    }
    assert.equal(await focusedName(page), 'Zelle 2');
    // Tab leaves from there, and comes back to the cell used last.
    await page.keyboard.press('Tab');
    assert.equal(await focusedName(page), 'Prüfen');
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    assert.equal(await focusedName(page), 'Zelle 2');
    await page.close();
  });

  it('gives each button the window\'s access key, the task panel\'s while it is in use', async () => {
    const { page } = await openPage(chromium.browser, { width: 1000, height: 700 });
    const keys = () => page.evaluate(() => Object.fromEntries(
      Array.from(document.querySelectorAll('button[aria-label]'), (b) => [b.getAttribute('aria-label'), b.accessKey])
        .filter(([name]) => name !== 'Schließen' && !name.startsWith('Ausprobieren: '))));
    // The window's captions: "Prüfen", "Start" and "Schritt" have no access key there.
    const window = {
      'Prüfen': '', 'Start': '', 'Schritt': '', 'Zurück': 'r', 'Aufgabe': 'u', 'Neu': 'n', 'Laden': 'l',
      'Speichern': 's', '.HTML Export': 'x', 'Ansicht': 'a', 'Hilfe': 'h', 'Ende': 'e', 'Beispiele': 'b',
      'Zurück bis Haltepunkt': '', 'Protokoll': 'p',
    };
    const idle = { 'Laden…': '', 'Testen': '', 'Fall übernehmen': '' };
    assert.deepEqual(await keys(), { ...window, ...idle });
    // Waited for before the panel opens: the driver turns on its catching of file dialogs when
    // the wait begins, and a key sent at once could come before that (the dialog then went by).
    const chooserOpened = page.waitForFileChooser();
    await click(page, 'button', 'Aufgabe');
    assert.deepEqual(await keys(), { ...window, 'Laden': '', 'Laden…': 'l', 'Testen': 't', 'Fall übernehmen': 'f' });

    // Alt+L in the panel opens a task file, not a program.
    const [chooser] = await Promise.all([chooserOpened, pressAccessKey(page, 'l')]);
    await chooser.accept([path.join(aufgaben, 'summe.toml')]);
    assert.equal((await dialog(page)).caption, 'Datendateien der Aufgabe');
    await answer(page, 'Abbrechen');
    assert.equal(await focusedName(page), 'Laden…');
    // Back in the main window, its own "Laden" has the key again.
    await (await byName(page, 'textbox', 'Programm')).click();
    assert.deepEqual(await keys(), { ...window, ...idle });
    await page.close();
  });

  it('gives the focus back to the control that opened a box, so that Enter on "Schritt" goes on stepping', async () => {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'INP\nINP\nINP\nSTP');
    await (await byName(page, 'button', 'Start')).focus();
    for (const box of ['Programm wird geprüft', 'Daten werden geprüft']) {
      await page.keyboard.press('Enter');
      assert.equal((await dialog(page)).text, box);
      await page.keyboard.press('Enter');
      await page.waitForFunction(() => !document.querySelector('.overlay'));
      assert.equal(await focusedName(page), 'Start', box);
    }
    await page.keyboard.press('Enter');
    await byName(page, 'button', 'Stop');
    await (await byName(page, 'button', 'Schritt')).focus();
    for (const number of ['5', '6', '7']) {
      await page.keyboard.press('Enter');
      const field = await byName(page, 'textbox', 'Dateneingabe');
      await field.type(number);
      await page.keyboard.press('Enter');
      await page.waitForFunction(() => !document.querySelector('.overlay'));
      assert.equal(await value(page, 'textbox', 'Akku'), number);
      assert.equal(await focusedName(page), 'Schritt', number);
    }
    await page.close();
  });
});
