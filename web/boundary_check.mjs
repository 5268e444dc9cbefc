// Checks the boundary between the page and the core before the page is built: the lists of
// src/web/boundary.h (QZ_CORE_CALLS, QZ_PAGE_CALLS) against the interfaces CoreCalls and
// PageCalls of web/src/boundary.ts, call by call (name, parameters, result, whether it waits
// for the user), and type-checks the page's script. On success it gives the shapes the page's
// dispatcher works from; on any difference it names each one and the build stops.
// Usage: node web/boundary_check.mjs [boundary.h] [boundary.ts]   (prints OK or the differences)
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import ts from 'typescript';

const here = path.dirname(fileURLToPath(import.meta.url));
export const defaultHeader = path.resolve(here, '../src/web/boundary.h');
export const defaultInterfaces = path.join(here, 'src/boundary.ts');

export class BoundaryMismatch extends Error {
  constructor(problems) {
    super(`Die Grenze zwischen Seite und Kern stimmt nicht:\n${problems.map((p) => `  ${p}`).join('\n')}`);
    this.problems = problems;
  }
}

// --- the C++ lists ------------------------------------------------------------------------

// The entries X(...) of the macro `name`, with the line each starts on.
function macroEntries(text, name) {
  const start = text.indexOf(`#define ${name}(X)`);
  if (start < 0) return null;
  let end = start;
  while (true) {
    const lineEnd = text.indexOf('\n', end);
    if (lineEnd < 0 || !/\\\s*$/.test(text.slice(end, lineEnd))) {
      end = lineEnd < 0 ? text.length : lineEnd;
      break;
    }
    end = lineEnd + 1;
  }
  const body = text.slice(start, end);
  const entries = [];
  const opening = /\bX\(/g;
  let match;
  while ((match = opening.exec(body)) !== null) {
    let depth = 1;
    let at = match.index + 2;
    const fields = [];
    let field = '';
    for (; at < body.length && depth > 0; ++at) {
      const c = body[at];
      if (c === '(') depth++;
      if (c === ')') depth--;
      if (depth === 0) break;
      if (c === ',' && depth === 1) {
        fields.push(field);
        field = '';
      } else {
        field += c;
      }
    }
    fields.push(field);
    const line = text.slice(0, start + match.index).split('\n').length;
    entries.push({ fields: fields.map((f) => f.replace(/\\\n/g, ' ').replace(/\s+/g, ' ').trim()), line });
    opening.lastIndex = at;
  }
  return entries;
}

function cParameters(list) {
  const inner = list.replace(/^\(/, '').replace(/\)$/, '').trim();
  if (inner === '' || inner === 'void') return [];
  return inner.split(',').map((p) => {
    const words = p.trim().replace(/\s*\*\s*/g, '* ').trim().split(/\s+/);
    const name = words.pop();
    return { type: words.join(' ').replace(/\* ?$/, '*').replace(/ \*/g, '*'), name };
  });
}

const textKinds = ['ProgramText', 'CellText', 'RecordText', 'ShortText'];
const numbers = ['int', 'double', 'std::int32_t'];

// A C++ type as the page sees it: 'number', 'boolean', 'string', a text kind, or null.
function coreParameterKind(type) {
  if (numbers.includes(type)) return 'number';
  if (type === 'bool') return 'boolean';
  if (textKinds.includes(type)) return type;
  return null;
}
function coreResultKind(type) {
  if (type === 'void') return 'void';
  if (type === 'int' || type === 'double') return 'number';
  if (type === 'bool') return 'boolean';
  if (type === 'const char*') return 'string';
  return null;
}
function pageResultKind(type) {
  if (type === 'void') return 'void';
  if (type === 'int') return 'number';
  if (type === 'bool') return 'boolean';
  if (type === 'char*') return 'string';
  return null;
}

// The TypeScript type a shape's parameter or result stands for.
function scriptType(kind, direction) {
  if (textKinds.includes(kind)) return 'string';
  if (direction === 'page-result' && kind === 'string') return 'string | null';
  return kind;
}

export function readCppLists(text, file = 'src/web/boundary.h') {
  const problems = [];
  const lists = {};
  for (const [side, macro] of [['core', 'QZ_CORE_CALLS'], ['page', 'QZ_PAGE_CALLS']]) {
    const entries = macroEntries(text, macro);
    if (entries === null) {
      problems.push(`${file}: ${macro} fehlt`);
      continue;
    }
    const calls = new Map();
    for (const { fields, line } of entries) {
      const where = `${file}:${line}`;
      const [name, kind, rawResult, parameters] = fields;
      const result = (rawResult ?? '').replace(/\s*\*/g, '*');
      if (fields.length !== (side === 'core' ? 5 : 4)) {
        problems.push(`${where}: ${name} hat ${fields.length} Felder statt ${side === 'core' ? 5 : 4}`);
        continue;
      }
      if (kind !== 'sync' && kind !== 'async') problems.push(`${where}: ${name}: „${kind}“ ist weder sync noch async`);
      const params = [];
      const cParams = cParameters(parameters);
      for (let i = 0; i < cParams.length; ++i) {
        const { type, name: param } = cParams[i];
        if (side === 'page' && type === 'const std::int32_t*') {
          if (cParams[i + 1]?.type !== 'int') problems.push(`${where}: ${name}: auf ${param} folgt nicht seine Anzahl (int)`);
          params.push({ name: param, kind: 'Int32Array' });
          ++i;
          continue;
        }
        const found = side === 'page' && type === 'const char*' ? 'string' : coreParameterKind(type);
        if (found === null || (side === 'page' && textKinds.includes(found))) {
          problems.push(`${where}: ${name}: Parameter ${param} hat den Typ ${type}, den die Grenze nicht kennt`);
          continue;
        }
        params.push({ name: param, kind: found });
      }
      const resultKind = side === 'core' ? coreResultKind(result) : pageResultKind(result);
      if (resultKind === null) problems.push(`${where}: ${name}: das Ergebnis ${result} kennt die Grenze nicht`);
      if (calls.has(name)) problems.push(`${where}: ${name} steht zweimal in der Liste`);
      calls.set(name, { async: kind === 'async', params, result: resultKind, where });
    }
    lists[side] = calls;
  }
  return { lists, problems };
}

// --- the TypeScript interfaces ------------------------------------------------------------

function typeText(node) {
  return node ? node.getText().replace(/\s+/g, ' ').replace(/null \| string/, 'string | null') : 'any';
}

export function readInterfaces(text, file = 'web/src/boundary.ts') {
  const source = ts.createSourceFile(file, text, ts.ScriptTarget.ES2022, true);
  const problems = [];
  const lists = {};
  for (const [side, name] of [['core', 'CoreCalls'], ['page', 'PageCalls']]) {
    const declaration = source.statements.find((s) => ts.isInterfaceDeclaration(s) && s.name.text === name);
    if (!declaration) {
      problems.push(`${file}: interface ${name} fehlt`);
      continue;
    }
    const calls = new Map();
    for (const member of declaration.members) {
      const line = source.getLineAndCharacterOfPosition(member.getStart()).line + 1;
      const where = `${file}:${line}`;
      let signature = member;
      if (ts.isPropertySignature(member) && member.type && ts.isFunctionTypeNode(member.type)) signature = member.type;
      if (!ts.isMethodSignature(member) && signature === member) {
        problems.push(`${where}: ${member.name?.getText() ?? '?'} ist keine Funktion`);
        continue;
      }
      const callName = member.name.getText();
      let result = typeText(signature.type);
      const promised = /^Promise<(.*)>$/.exec(result);
      if (promised) result = promised[1];
      calls.set(callName, {
        async: promised !== null,
        params: signature.parameters.map((p) => ({ name: p.name.getText(), type: typeText(p.type) })),
        result,
        where,
      });
    }
    lists[side] = calls;
  }
  return { lists, problems };
}

// --- the comparison -----------------------------------------------------------------------

export function compare(cpp, script, files = { header: 'src/web/boundary.h', interfaces: 'web/src/boundary.ts' }) {
  const problems = [];
  const shapes = { core: {}, page: {} };
  for (const [side, name] of [['core', 'CoreCalls'], ['page', 'PageCalls']]) {
    const declared = cpp[side] ?? new Map();
    const typed = script[side] ?? new Map();
    for (const [call, c] of declared) {
      const t = typed.get(call);
      if (!t) {
        problems.push(`${name}.${call} (${c.where}) fehlt in ${files.interfaces}`);
        continue;
      }
      const label = `${name}.${call} (${c.where}, ${t.where})`;
      if (c.async !== t.async) {
        problems.push(`${label}: ${c.async ? 'wartet auf den Benutzer (async) im Kern, auf der Seite nicht (kein Promise)'
          : 'wartet auf der Seite (Promise), im Kern nicht (sync)'}`);
      }
      if (c.params.length !== t.params.length) {
        problems.push(`${label}: ${c.params.length} Parameter im Kern, ${t.params.length} auf der Seite`);
      } else {
        c.params.forEach((p, i) => {
          const expected = scriptType(p.kind, `${side}-param`);
          if (expected !== t.params[i].type) {
            problems.push(`${label}: Parameter ${i + 1} (${p.name}) ist im Kern ${expected}, auf der Seite ${t.params[i].type}`);
          }
        });
      }
      const expectedResult = c.result === null ? null : scriptType(c.result, `${side}-result`);
      if (expectedResult !== null && expectedResult !== t.result) {
        problems.push(`${label}: Ergebnis ist im Kern ${expectedResult}, auf der Seite ${t.result}`);
      }
      shapes[side][call] = { async: c.async, params: c.params.map((p) => p.kind), result: c.result };
    }
    for (const [call, t] of typed) {
      if (!declared.has(call)) problems.push(`${name}.${call} (${t.where}) fehlt in ${files.header}`);
    }
  }
  return { shapes, problems };
}

// The page's script type-checked as a whole, so that every use of `core` and every answer to
// the core's calls is checked against the interfaces.
function typeCheck(tsconfig) {
  const config = ts.getParsedCommandLineOfConfigFile(tsconfig, {}, { ...ts.sys, onUnRecoverableConfigFileDiagnostic: () => {} });
  const program = ts.createProgram(config.fileNames, config.options);
  return ts.getPreEmitDiagnostics(program).map((d) => {
    const message = ts.flattenDiagnosticMessageText(d.messageText, '\n');
    if (!d.file) return message;
    const { line } = d.file.getLineAndCharacterOfPosition(d.start ?? 0);
    return `${path.relative(path.dirname(tsconfig), d.file.fileName)}:${line + 1}: ${message}`;
  });
}

// The shapes of every call in the two texts, or a BoundaryMismatch naming each difference.
export function checkTexts(headerText, interfacesText, files = { header: 'src/web/boundary.h', interfaces: 'web/src/boundary.ts' }) {
  const cpp = readCppLists(headerText, files.header);
  const script = readInterfaces(interfacesText, files.interfaces);
  const { shapes, problems } = compare(cpp.lists, script.lists, files);
  const all = [...cpp.problems, ...script.problems, ...problems];
  if (all.length > 0) throw new BoundaryMismatch(all);
  return shapes;
}

// The same for the two files, and with `tsconfig` the page's script type-checked against them.
export async function checkBoundary({ header = defaultHeader, interfaces = defaultInterfaces, tsconfig } = {}) {
  const files = { header: path.relative(process.cwd(), header), interfaces: path.relative(process.cwd(), interfaces) };
  const shapes = checkTexts(await readFile(header, 'utf8'), await readFile(interfaces, 'utf8'), files);
  if (tsconfig) {
    const errors = typeCheck(tsconfig);
    if (errors.length > 0) throw new BoundaryMismatch(errors);
  }
  return shapes;
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [header, interfaces] = process.argv.slice(2);
  try {
    const shapes = await checkBoundary({
      header: header ?? defaultHeader,
      interfaces: interfaces ?? defaultInterfaces,
      tsconfig: header ? undefined : path.join(here, 'tsconfig.json'),
    });
    console.log(`Grenze Seite/Kern: ${Object.keys(shapes.core).length} Kernaufrufe, ${Object.keys(shapes.page).length} Seitenaufrufe stimmen überein.`);
  } catch (error) {
    console.error(error.message);
    process.exit(1);
  }
}
