// Figures of the page for the report: the file's size, the time from opening it from disk to
// a usable page (median of 9 fresh pages), the script time per step of a run at "Direkt"
// (40 steps a second) with the table and with the picture shown, and the script time of one
// keystroke at the end of a program of 20 000 lines (median of 30 keys); and the script time per
// step at "Direkt" with the line "Was geschah" and with the panel "Protokoll" open, against the
// step without them (the page's answers to their notices made no-ops, as before they were drawn;
// median of 9 windows of 2 s each).
// Usage: node web/figures.mjs   (after make web; Debian's chromium)
import { stat } from 'node:fs/promises';
import { answer, click, launch, openPage, pagePath, pasteRepeated, typeProgram, value } from './scenarios/harness.mjs';

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const size = (await stat(pagePath)).size;
console.log(`Größe von quarzel.html: ${(size / 1024 / 1024).toFixed(2)} MiB (${size} Bytes)`);

const chromium = await launch();
try {
  const opening = [];
  for (let i = 0; i < 9; ++i) {
    const { page } = await openPage(chromium.browser, { keepStorage: true });
    opening.push(Number(await page.$eval('body', (b) => b.dataset.readyMs)));
    await page.close();
  }
  console.log(`Öffnen von file:// bis bedienbar: Median ${median(opening)} ms (${opening.join(', ')})`);

  for (const picture of [false, true]) {
    const { page } = await openPage(chromium.browser);
    await typeProgram(page, 'MRK A\nINC\nSTO 1\nLAD 1\nSTO [1]\nJMP A\nSTP');
    if (picture) await click(page, 'button', 'Ansicht');
    await click(page, 'radio', 'Direkt');
    await click(page, 'button', 'Start');
    await answer(page, 'OK');
    await click(page, 'button', 'Start');
    await answer(page, 'OK');
    const session = await page.createCDPSession();
    await session.send('Performance.enable');
    const metric = async () => {
      const { metrics } = await session.send('Performance.getMetrics');
      return metrics.find((m) => m.name === 'ScriptDuration').value * 1000;
    };
    await click(page, 'button', 'Start');
    await new Promise((resolve) => setTimeout(resolve, 500));
    const steps0 = Number((await value(page, 'status', 'Schritte')).replace(/\D/g, ''));
    const script0 = await metric();
    await new Promise((resolve) => setTimeout(resolve, 5000));
    const script1 = await metric();
    const steps1 = Number((await value(page, 'status', 'Schritte')).replace(/\D/g, ''));
    const steps = steps1 - steps0;
    console.log(`Direkt mit ${picture ? 'Speicherbild' : 'Tabelle'}: ${steps} Schritte in 5 s, ` +
      `${((script1 - script0) / steps).toFixed(2)} ms Skriptzeit je Schritt`);
    await page.close();
  }

  {
    const { page } = await openPage(chromium.browser);
    await pasteRepeated(page, 'LAD 1\n', 20000);
    await page.waitForFunction(() => window.quarzel.program().length === 6 * 20000);
    await page.evaluate(() => window.quarzel.setCaret(window.quarzel.program().length));
    const session = await page.createCDPSession();
    await session.send('Performance.enable');
    const metric = async () => {
      const { metrics } = await session.send('Performance.getMetrics');
      return metrics.find((m) => m.name === 'ScriptDuration').value * 1000;
    };
    const times = [];
    for (let i = 0; i < 30; ++i) {
      const before = await metric();
      await page.keyboard.press('X');
      await new Promise((resolve) => setTimeout(resolve, 50));
      times.push((await metric()) - before);
    }
    console.log(`Ein Tastendruck in 20 000 Zeilen: Median ${median(times).toFixed(2)} ms Skriptzeit ` +
      `(${Math.min(...times).toFixed(2)} bis ${Math.max(...times).toFixed(2)} ms)`);
    await page.close();
  }

  {
    const perStep = {};
    for (const variant of ['ohne', 'Was geschah', 'Was geschah und Protokoll']) {
      const { page } = await openPage(chromium.browser);
      await typeProgram(page, 'MRK A\nINC\nSTO 1\nLAD 1\nSTO [1]\nJMP A\nSTP');
      if (variant === 'ohne') {
        await page.evaluate(() => {
          const calls = window.quarzel.pageCalls();
          for (const name of ['sentenceChanged', 'traceRowsAdded', 'traceRowsRemoved', 'showHistory']) calls[name] = () => {};
        });
      }
      if (variant.includes('Protokoll')) await click(page, 'button', 'Protokoll');
      await click(page, 'radio', 'Direkt');
      await click(page, 'button', 'Start');
      await answer(page, 'OK');
      await click(page, 'button', 'Start');
      await answer(page, 'OK');
      const session = await page.createCDPSession();
      await session.send('Performance.enable');
      const metric = async () => {
        const { metrics } = await session.send('Performance.getMetrics');
        return metrics.find((m) => m.name === 'ScriptDuration').value * 1000;
      };
      const steps = async () => Number((await value(page, 'status', 'Schritte')).replace(/\D/g, ''));
      await click(page, 'button', 'Start');
      await new Promise((resolve) => setTimeout(resolve, 500));
      const windows = [];
      for (let i = 0; i < 9; ++i) {
        const [steps0, script0] = [await steps(), await metric()];
        await new Promise((resolve) => setTimeout(resolve, 2000));
        const [script1, steps1] = [await metric(), await steps()];
        windows.push((script1 - script0) / (steps1 - steps0));
      }
      perStep[variant] = median(windows);
      const over = variant === 'ohne' ? '' : `, ${((perStep[variant] / perStep.ohne - 1) * 100).toFixed(1)} % über ohne`;
      console.log(`Ein Schritt bei Direkt, ${variant}: Median ${perStep[variant].toFixed(3)} ms Skriptzeit${over} ` +
        `(${windows.map((w) => w.toFixed(3)).join(', ')})`);
      await page.close();
    }
  }
} finally {
  await chromium.close();
}
