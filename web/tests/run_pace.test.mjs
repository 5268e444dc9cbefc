// The pace of the protocol and "Verlauf" during a timed run (src/run_pace.ts), on a clock of the
// test's own: nothing drawn is lost, nothing drawn twice for one wait, and the run's end draws
// what waits at once. No browser needed.
import { before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { transform } from 'esbuild';

let RunPace;
let now = 0;
let timers = [];
before(async () => {
  const source = await readFile(new URL('../src/run_pace.ts', import.meta.url), 'utf8');
  const { code } = await transform(source, { loader: 'ts', format: 'esm' });
  ({ RunPace } = await import(`data:text/javascript;base64,${Buffer.from(code).toString('base64')}`));
  performance.now = () => now;
  let next = 1;
  globalThis.window = {
    setTimeout: (callback, ms) => {
      timers.push({ id: next, at: now + ms, callback });
      return next++;
    },
    clearTimeout: (id) => {
      timers = timers.filter((timer) => timer.id !== id);
    },
  };
});

// The clock moved on by `ms`, each timer due meanwhile run at its time.
function advance(ms) {
  const end = now + ms;
  for (;;) {
    const due = timers.filter((timer) => timer.at <= end).sort((a, b) => a.at - b.at)[0];
    if (!due) break;
    timers = timers.filter((timer) => timer !== due);
    now = due.at;
    due.callback();
  }
  now = end;
}

// A script of notices: [time in ms, what happens] with 'due' (a notice), 'end' (the run ended,
// no timed run from then on); the times at which the drawing came.
function drawTimes(script, timed = true) {
  now = 0;
  timers = [];
  let going = timed;
  const pace = new RunPace(250, () => going);
  const drawn = [];
  const draw = () => drawn.push(now);
  for (const [at, what] of script) {
    advance(at - now);
    if (what === 'due') pace.due(draw);
    if (what === 'end') {
      going = false;
      pace.runEnded();
    }
  }
  advance(1000);
  return drawn;
}

describe('Der Takt von Protokoll und Verlauf', () => {
  const cases = [
    ['outside a timed run every notice is drawn at once',
      [[0, 'due'], [25, 'due'], [50, 'due']], false, [0, 25, 50]],
    ['the first notice of a run is drawn at once, those within the pace once when it comes',
      [[0, 'due'], [25, 'due'], [50, 'due'], [75, 'due']], true, [0, 250]],
    ['a notice a pace after the last drawing is drawn at once',
      [[0, 'due'], [300, 'due'], [325, 'due']], true, [0, 300, 550]],
    ['the end of the run draws what waits at once, and the pace draws it no second time',
      [[0, 'due'], [25, 'due'], [100, 'end']], true, [0, 100]],
    ['after the end every notice is drawn at once again',
      [[0, 'due'], [25, 'due'], [100, 'end'], [110, 'due']], true, [0, 100, 110]],
    ['the end of a run with nothing waiting draws nothing',
      [[0, 'due'], [100, 'end']], true, [0]],
  ];
  for (const [what, script, timed, expected] of cases) {
    it(what, () => assert.deepEqual(drawTimes(script, timed), expected));
  }

  it('paces each drawing on its own', () => {
    now = 0;
    timers = [];
    const pace = new RunPace(250, () => true);
    const drawn = [];
    const rows = () => drawn.push(`rows ${now}`);
    const slider = () => drawn.push(`slider ${now}`);
    pace.due(rows);
    advance(100);
    pace.due(slider);
    pace.due(rows);
    advance(1000);
    assert.deepEqual(drawn, ['rows 0', 'slider 100', 'rows 250']);
  });
});
