// The page scenarios' report: each test named with the engine it ran in, so that the output of
// three runs says which engine each scenario ran in; a failure with its whole error, once where
// it happened and once more in the list at the end. Where QUARZEL_FAILURE_LOG names a file, the
// list goes there too, and QUARZEL_FAILED_FILES gets the test files that failed, so that
// run_engines.mjs can repeat the list after the last engine (a CI log is read from its end)
// and run those files once more.
import { appendFile } from 'node:fs/promises';
import { inspect } from 'node:util';
import { engineName } from './harness.mjs';

export default async function* engineReporter(source) {
  const failures = [];
  for await (const { type, data } of source) {
    const indent = '  '.repeat(data?.nesting ?? 0);
    if (type === 'test:pass' || type === 'test:fail') {
      const name = data.nesting > 0 ? `[${engineName}] ${data.name}` : data.name;
      const skipped = data.skip !== undefined;
      const reason = typeof data.skip === 'string' ? ` # ${data.skip}` : skipped ? ' # SKIP' : '';
      const mark = type === 'test:fail' ? '✖' : skipped ? '﹣' : '✔';
      yield `${indent}${mark} ${name} (${Math.round(data.details.duration_ms)} ms)${reason}\n`;
      // A suite that failed only through its tests says nothing new; one whose hook threw does.
      const ownFailure = data.details.type !== 'suite' || data.details.error?.failureType !== 'subtestsFailed';
      if (type === 'test:fail' && ownFailure) {
        // The runner wraps what the test threw; its cause is the assertion or error itself.
        const thrown = data.details.error?.cause ?? data.details.error;
        const error = inspect(thrown, { depth: 4 }).replaceAll('\n', `\n${indent}  `);
        yield `${indent}  ${error}\n`;
        failures.push(`✖ ${name}\n  ${error}\n`);
        if (process.env.QUARZEL_FAILED_FILES && data.file) await appendFile(process.env.QUARZEL_FAILED_FILES, `${data.file}\n`);
      }
    } else if (type === 'test:diagnostic') {
      yield `${indent}ℹ ${data.message}\n`;
    } else if (type === 'test:stdout' || type === 'test:stderr') {
      yield data.message;
    }
  }
  if (failures.length === 0) return;
  const list = `\n✖ failing tests:\n\n${failures.join('\n')}`;
  if (process.env.QUARZEL_FAILURE_LOG) await appendFile(process.env.QUARZEL_FAILURE_LOG, list);
  yield list;
}
