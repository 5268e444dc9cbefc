// Runs the page's scenarios once per engine (QUARZEL_ENGINE for each run; WebKit on a virtual
// X display) with the engines' reporter, and prints at the end which scenarios failed. A test
// file that failed is run once more on its own: a scenario that fails twice fails the run; one
// that passes the second time is named as unsteady in the summary, so that it is looked into
// rather than hidden, while a noisy machine's one slow moment does not stop everything else.
// Usage: node scenarios/run_engines.mjs chromium firefox webkit   (from web/)
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

const engines = process.argv.slice(2);
const scratch = mkdtempSync(path.join(tmpdir(), 'quarzel-scenarios-'));
const summary = [];
let failed = false;

function run(engine, files, round) {
  const failures = path.join(scratch, `${engine}-${round}-failures.txt`);
  const failedFiles = path.join(scratch, `${engine}-${round}-files.txt`);
  const node = [process.execPath, '--test', '--test-concurrency=1', '--test-timeout=300000',
    '--test-reporter=./scenarios/reporter.mjs', ...files];
  const command = engine === 'webkit' ? ['xvfb-run', '-a', '-s', '-screen 0 1920x1200x24', ...node] : node;
  const start = Date.now();
  const result = spawnSync(command[0], command.slice(1), {
    stdio: 'inherit',
    env: { ...process.env, QUARZEL_ENGINE: engine, QUARZEL_FAILURE_LOG: failures, QUARZEL_FAILED_FILES: failedFiles },
  });
  console.log(`Page scenarios in ${engine}${round > 1 ? ' (once more)' : ''}: ${Math.round((Date.now() - start) / 1000)} s`);
  const read = (file) => { try { return readFileSync(file, 'utf8'); } catch { return ''; } };
  const again = [...new Set(read(failedFiles).split('\n').filter(Boolean))];
  // A run that failed without naming a file (the runner itself broke) is run whole once more.
  if (result.status !== 0 && again.length === 0) again.push(...files);
  return { ok: result.status === 0, failures: read(failures), again };
}

try {
  for (const engine of engines) {
    const first = run(engine, ['scenarios/'], 1);
    if (first.ok) continue;
    const second = run(engine, first.again, 2);
    if (second.ok) {
      summary.push(`⚠ ${engine}: unsteady, failed once and passed when run again (${first.again.join(', ')}):\n${first.failures}`);
    } else {
      failed = true;
      summary.push(`✖ ${engine}: failed twice:\n${second.failures || first.failures}`);
    }
  }
} finally {
  rmSync(scratch, { recursive: true, force: true });
}
if (summary.length > 0) console.log(`\n${summary.join('\n')}`);
process.exit(failed ? 1 : 0);
