// The build's check of the boundary between page and core, run on copies of the real lists
// with one deliberate difference each: every kind of difference must stop the build and name
// the call. No browser, no core build needed.
import { before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { BoundaryMismatch, checkTexts, defaultHeader, defaultInterfaces } from '../boundary_check.mjs';

let header;
let interfaces;
before(async () => {
  header = await readFile(defaultHeader, 'utf8');
  interfaces = await readFile(defaultInterfaces, 'utf8');
});

// The check on copies of the lists with `from` replaced by `to` in the C++ list (side 'core')
// or in the TypeScript interfaces ('page'); the problems it names, or [] when they agree.
function problems(side, from, to) {
  const changed = (text) => {
    assert.ok(text.includes(from), `${from} steht nicht in der Liste`);
    return text.replace(from, to);
  };
  try {
    checkTexts(side === 'core' ? changed(header) : header, side === 'page' ? changed(interfaces) : interfaces);
    return [];
  } catch (error) {
    assert.ok(error instanceof BoundaryMismatch, String(error));
    return error.problems;
  }
}

describe('Prüfung der Grenze Seite/Kern', () => {
  it('passes the lists as they stand', async () => {
    assert.deepEqual(problems('page', 'qz_init(): void;', 'qz_init(): void;'), []);
  });

  const cases = [
    {
      what: 'a core call renamed in the C++ list',
      side: 'core', from: 'X(qz_command, async,', to: 'X(qz_kommando, async,',
      expected: [/^CoreCalls\.qz_kommando \(src\/web\/boundary\.h:\d+\) fehlt in web\/src\/boundary\.ts$/,
        /^CoreCalls\.qz_command \(web\/src\/boundary\.ts:\d+\) fehlt in src\/web\/boundary\.h$/],
    },
    {
      what: 'a page call renamed in the interface',
      side: 'page', from: 'askYesNo(text: string', to: 'askJaNein(text: string',
      expected: [/^PageCalls\.askYesNo \(src\/web\/boundary\.h:\d+\) fehlt in web\/src\/boundary\.ts$/,
        /^PageCalls\.askJaNein \(web\/src\/boundary\.ts:\d+\) fehlt in src\/web\/boundary\.h$/],
    },
    {
      what: 'a page call that no longer waits',
      side: 'page', from: 'askYesNo(text: string, caption: string): Promise<boolean>;', to: 'askYesNo(text: string, caption: string): boolean;',
      expected: [/^PageCalls\.askYesNo \(.*\): wartet auf den Benutzer \(async\) im Kern, auf der Seite nicht \(kein Promise\)$/],
    },
    {
      what: 'a core call that waits only on the page',
      side: 'page', from: 'qz_unsaved(): boolean;', to: 'qz_unsaved(): Promise<boolean>;',
      expected: [/^CoreCalls\.qz_unsaved \(.*\): wartet auf der Seite \(Promise\), im Kern nicht \(sync\)$/],
    },
    {
      what: 'a parameter more on one side',
      side: 'core', from: 'qz_task_take_over, async, void, (int row), (row))', to: 'qz_task_take_over, async, void, (int row, int column), (row, column))',
      expected: [/^CoreCalls\.qz_task_take_over \(.*\): 2 Parameter im Kern, 1 auf der Seite$/],
    },
    {
      what: 'a parameter of another type',
      side: 'page', from: 'showRegister(which: number, value: number)', to: 'showRegister(which: number, value: string)',
      expected: [/^PageCalls\.showRegister \(.*\): Parameter 2 \(value\) ist im Kern number, auf der Seite string$/],
    },
    {
      what: 'the picture\'s numbers without their count',
      side: 'core', from: '(const std::int32_t* numbers, int count, int squares)', to: '(const std::int32_t* numbers, int squares)',
      expected: [/^PageCalls\.paintPicture \(.*\): 1 Parameter im Kern, 2 auf der Seite$/],
    },
    {
      what: 'a text returned where the page may give none',
      side: 'page', from: 'askNumber(again: boolean): Promise<string | null>;', to: 'askNumber(again: boolean): Promise<string>;',
      expected: [/^PageCalls\.askNumber \(.*\): Ergebnis ist im Kern string \| null, auf der Seite string$/],
    },
    {
      what: 'a type the boundary does not carry',
      side: 'core', from: '(ShortText date), (date))', to: '(const char* date), (date))',
      expected: [/^src\/web\/boundary\.h:\d+: qz_html: Parameter date hat den Typ const char\*, den die Grenze nicht kennt$/,
        /^CoreCalls\.qz_html \(.*\): 0 Parameter im Kern, 1 auf der Seite$/],
    },
  ];
  for (const { what, side, from, to, expected } of cases) {
    it(`stops the build for ${what}`, async () => {
      const found = problems(side, from, to);
      assert.equal(found.length, expected.length, found.join('\n'));
      expected.forEach((pattern, i) => assert.match(found[i], pattern));
    });
  }
});
