// node --test's spec reporter with the engine's name before each test, so that the output of
// three runs says which engine each scenario ran in.
import { spec } from 'node:test/reporters';
import { engineName } from './harness.mjs';

const named = new Set(['test:start', 'test:pass', 'test:fail', 'test:enqueue', 'test:dequeue']);

export default function engineReporter() {
  const reporter = spec();
  const transform = reporter._transform.bind(reporter);
  reporter._transform = (event, encoding, callback) => {
    if (named.has(event.type) && typeof event.data?.name === 'string' && event.data.nesting > 0) {
      event.data.name = `[${engineName}] ${event.data.name}`;
    }
    transform(event, encoding, callback);
  };
  return reporter;
}
