// The program editor "Programm" on CodeMirror 6: no wrapping, tab characters kept, and only
// the visible lines drawn, so that a program at the editor's limit stays responsive. Lines
// with a breakpoint are light red; each mark moves with its line's text as lines are inserted
// or removed above it. A text the core sets (loading, "Neu") starts a fresh undo history, as
// in the window; lines the core deletes or appends can be undone like typing.
import { Annotation, RangeSetBuilder, Compartment, EditorSelection, EditorState, StateEffect, StateField, type Transaction } from '@codemirror/state';
import { Decoration, type DecorationSet, EditorView, GutterMarker, gutter, gutterLineClass, keymap, lineNumbers } from '@codemirror/view';
import { defaultKeymap, history, historyKeymap, insertNewline, insertTab, isolateHistory } from '@codemirror/commands';
import { NoticeDrawing } from './notice_drawing';
import { RunScroll } from './run_scroll';


// A change made by the core, not typed by the user.
const fromCore = Annotation.define<boolean>();
const toggleMark = StateEffect.define<{ line: number; on: boolean }>();
const clearMarks = StateEffect.define<null>();
// The marks by line number, for a change that would map them wrongly (a line the core deletes:
// the character before the line below it goes, which would take that line's mark too).
const setMarks = StateEffect.define<number[]>();
const markLine = Decoration.line({ class: 'cm-breakpoint' });

// The arrow's height in the style sheet (its two borders of 5 pixels).
const kArrowHeight = 10;

// Keeps the arrow's column as wide while no run is in progress.
class SpacerMarker extends GutterMarker {
  toDOM(): Node {
    const space = document.createElement('span');
    space.className = 'cm-arrow-space';
    return space;
  }
}

const marksField = StateField.define<DecorationSet>({
  create: () => Decoration.none,
  update(marks, tr) {
    marks = marks.map(tr.changes);
    for (const effect of tr.effects) {
      if (effect.is(clearMarks)) {
        marks = Decoration.none;
      } else if (effect.is(setMarks)) {
        const doc = tr.state.doc;
        marks = Decoration.set(effect.value.filter((line) => line < doc.lines).map((line) => markLine.range(doc.line(line + 1).from)), true);
      } else if (effect.is(toggleMark)) {
        const { line, on } = effect.value;
        if (line + 1 > tr.state.doc.lines) continue;
        const from = tr.state.doc.line(line + 1).from;
        marks = marks.update({ filter: (start) => start !== from });
        if (on) marks = marks.update({ add: [markLine.range(from)], sort: true });
      }
    }
    return marks;
  },
  provide: (field) => EditorView.decorations.from(field),
});

// The breakpoint colour reaches into the gutter beside a marked line.
class BreakpointGutterClass extends GutterMarker {
  elementClass = 'cm-breakpoint';
}
const breakpointGutterClass = new BreakpointGutterClass();
const breakpointGutterLines = gutterLineClass.compute([marksField], (state) => {
  const lines = new RangeSetBuilder<GutterMarker>();
  state.field(marksField).between(0, state.doc.length, (from) => {
    lines.add(from, from, breakpointGutterClass);
  });
  return lines.finish();
});

// The size a text has in a program file: each character one byte, each line break two (CR LF),
// line breaks counted as the editor counts them ("\r\n", "\r" and "\n" are one each).
export function fileSize(text: string): { bytes: number; lineBreaks: number } {
  let breaks = 0;
  let pairs = 0;
  for (let i = 0; i < text.length; ++i) {
    const c = text.charCodeAt(i);
    if (c === 10) ++breaks;
    else if (c === 13) {
      ++breaks;
      if (text.charCodeAt(i + 1) === 10) {
        ++pairs;
        ++i;
      }
    }
  }
  return { bytes: text.length - pairs + breaks, lineBreaks: breaks };
}

export class ProgramEditor {
  readonly view: EditorView;
  private readonly runScroll: RunScroll;
  private readOnly = new Compartment();
  private undoHistory = new Compartment();
  // Asked before a typed or pasted change is taken, with the size in a file of the text it
  // would make; a refused change never reaches the text.
  accepts: (bytes: number, lineBreaks: number) => boolean | undefined = () => true;
  refused: () => void = () => {};
  // Asked with the text a typed or pasted change inserts (never the whole document, so that a
  // keystroke costs the same in a long program): false refuses the change.
  acceptsText: (inserted: string) => boolean | undefined = () => true;
  // Each change typed or pasted, in positions of the text before it (lines and columns from
  // 0): the text from (fromLine, fromColumn) to (toLine, toColumn) replaced by `text`. The
  // changes of one transaction come last first, so that each one's positions still hold.
  edited: (fromLine: number, fromColumn: number, toLine: number, toColumn: number, text: string) => void = () => {};
  toggled: (line: number) => void = () => {};
  isBusy: () => boolean = () => false;

  constructor(readonly box: HTMLDivElement) {
    box.classList.add('editor');
    const filter = EditorState.transactionFilter.of((tr: Transaction) => {
      if (!tr.docChanged || tr.annotation(fromCore)) return tr;
      const doc = tr.newDoc;
      if (this.isBusy() || this.accepts(doc.length + doc.lines - 1, doc.lines - 1) !== true) {
        if (!this.isBusy()) setTimeout(() => this.refused(), 0);
        return [];
      }
      let inserted = '';
      tr.changes.iterChanges((_fromA, _toA, _fromB, _toB, text) => {
        inserted += text.sliceString(0);
      });
      return inserted === '' || this.acceptsText(inserted) === true ? tr : [];
    });
    this.view = new EditorView({
      parent: box,
      state: EditorState.create({
        doc: '',
        extensions: [
          marksField,
          breakpointGutterLines,
          // The arrow's column; the arrow itself lies over it (placeArrow).
          gutter({ class: 'cm-arrow-gutter', initialSpacer: () => new SpacerMarker() }),
          // A click on a line's number sets or clears its breakpoint, as in the window.
          lineNumbers({
            domEventHandlers: {
              mousedown: (view, line) => {
                this.toggled(view.state.doc.lineAt(line.from).number - 1);
                return true;
              },
            },
          }),
          filter,
          this.undoHistory.of(history()),
          this.readOnly.of(EditorState.readOnly.of(false)),
          EditorState.tabSize.of(8),
          keymap.of([
            { key: 'Tab', run: insertTab },
            { key: 'Enter', run: insertNewline },
            { key: 'F9', run: () => (this.toggled(this.caretLine()), true), preventDefault: true },
            ...historyKeymap,
            ...defaultKeymap,
          ]),
          // A paste that alone is beyond the limit is refused before the editor splits it
          // into lines (50 MB would take it seconds); a smaller one meets the filter above.
          EditorView.domEventHandlers({
            paste: (event) => {
              const text = event.clipboardData?.getData('text/plain') ?? '';
              const { bytes, lineBreaks } = fileSize(text);
              if (this.isBusy() || this.accepts(bytes, lineBreaks) === true) return false;
              event.preventDefault();
              if (!this.isBusy()) setTimeout(() => this.refused(), 0);
              return true;
            },
          }),
          EditorView.contentAttributes.of({ 'aria-label': 'Programm', spellcheck: 'false', autocorrect: 'off', autocapitalize: 'off' }),
          EditorView.updateListener.of((update) => {
            for (const tr of update.transactions) {
              if (tr.docChanged && !tr.annotation(fromCore)) this.reportChanges(tr);
            }
            if (update.geometryChanged) this.runScroll?.geometryChanged();
            if (this.arrowLine >= 0 && (update.docChanged || update.geometryChanged)) this.arrowDrawing.schedule();
          }),
        ],
      }),
    });
    this.runScroll = new RunScroll(this.view);
    this.arrow.className = 'cm-current-arrow';
    this.arrow.setAttribute('aria-hidden', 'true');
    this.arrow.hidden = true;
    this.view.dom.querySelector('.cm-arrow-gutter')!.append(this.arrow);
  }

  private reportChanges(tr: Transaction): void {
    this.forgetScroll();
    const doc = tr.startState.doc;
    const changes: Array<[number, number, number, number, string]> = [];
    tr.changes.iterChanges((fromA, toA, _fromB, _toB, inserted) => {
      const first = doc.lineAt(fromA);
      const last = doc.lineAt(toA);
      changes.push([first.number - 1, fromA - first.from, last.number - 1, toA - last.from, inserted.sliceString(0)]);
    });
    for (const change of changes.reverse()) this.edited(...change);
  }

  get text(): string {
    return this.view.state.doc.toString();
  }

  // The core's text. Only the part that differs is replaced, so the marks before and after
  // it stay with their lines. A new text (`clear`: loaded, restored, "Neu") has no marks and
  // nothing to undo.
  setText(value: string, clear: boolean): void {
    this.forgetScroll();
    const old = this.text;
    let head = 0;
    const limit = Math.min(old.length, value.length);
    while (head < limit && old.charCodeAt(head) === value.charCodeAt(head)) ++head;
    let tail = 0;
    while (tail < limit - head && old.charCodeAt(old.length - 1 - tail) === value.charCodeAt(value.length - 1 - tail)) ++tail;
    this.view.dispatch({
      changes: old === value ? undefined : { from: head, to: old.length - tail, insert: value.slice(head, value.length - tail) },
      effects: clear ? clearMarks.of(null) : [],
      annotations: [fromCore.of(true), isolateHistory.of('full')],
    });
    if (clear) {
      // A history taken out of the configuration and put back starts empty.
      this.view.dispatch({ effects: this.undoHistory.reconfigure([]) });
      this.view.dispatch({ effects: this.undoHistory.reconfigure(history()) });
    }
  }

  // The core deletes line `line` with its line break; the last line of a text without a final
  // break is emptied and keeps the break before it. Every other mark stays with its line.
  deleteLine(line: number): void {
    this.forgetScroll();
    const doc = this.view.state.doc;
    if (line + 1 > doc.lines) return;
    const { from, to } = doc.line(line + 1);
    const last = line + 1 === doc.lines;
    const marks = last ? this.marks() : this.marks().filter((m) => m !== line).map((m) => (m > line ? m - 1 : m));
    this.view.dispatch({
      changes: { from, to: last ? to : to + 1 },
      effects: setMarks.of(marks),
      annotations: [fromCore.of(true), isolateHistory.of('full')],
    });
  }

  private lineTop(line: number): number {
    const doc = this.view.state.doc;
    const number = Math.min(doc.lines, Math.max(1, line + 1));
    return this.view.lineBlockAt(doc.line(number).from).top;
  }

  firstLine(): number {
    const block = this.view.lineBlockAtHeight(this.runScroll.top + 1);
    return this.view.state.doc.lineAt(block.from).number - 1;
  }

  // The first line the browser shows now, what is due written first.
  shownFirstLine(): number {
    this.forgetScroll();
    return this.firstLine();
  }

  // The browser stops where the last line reaches the bottom, as a text control does.
  setFirstLine(line: number): void {
    if (line + 1 > this.view.state.doc.lines) {
      this.forgetScroll();
      this.view.scrollDOM.scrollTop = this.view.scrollDOM.scrollHeight;
      return;
    }
    this.runScroll.ask(this.lineTop(line));
  }

  private forgetScroll(): void {
    this.runScroll.forget();
  }

  // MarkLine: the whole line as typed, without its line break, selected in the focused editor.
  selectLine(line: number): void {
    this.forgetScroll();
    const doc = this.view.state.doc;
    if (line + 1 > doc.lines) return;
    const l = doc.line(line + 1);
    this.view.focus();
    this.view.dispatch({ selection: EditorSelection.range(l.from, l.to), scrollIntoView: true });
  }

  caretToEnd(): void {
    this.forgetScroll();
    const end = this.view.state.doc.length;
    this.view.dispatch({ selection: EditorSelection.cursor(end), effects: EditorView.scrollIntoView(end, { y: 'end' }) });
  }

  caretLine(): number {
    return this.view.state.doc.lineAt(this.view.state.selection.main.head).number - 1;
  }

  lineAt(clientX: number, clientY: number): number {
    const pos = this.view.posAtCoords({ x: clientX, y: clientY }, false);
    return this.view.state.doc.lineAt(pos).number - 1;
  }

  // The arrow beside the line a run executes next (none for -1). A run moves it at every step:
  // it is an element of its own over the arrow's column, placed once per step from the editor's
  // line heights (no layout read), not a marker of the gutter, each of whose moves would be a
  // transaction of the editor with its measuring.
  private readonly arrow = document.createElement('span');
  private arrowLine = -1;
  private readonly arrowDrawing = new NoticeDrawing(() => this.placeArrow());

  showCurrentLine(line: number): void {
    if (line === this.arrowLine) return;
    this.arrowLine = line;
    this.arrowDrawing.schedule();
  }

  private placeArrow(): void {
    const doc = this.view.state.doc;
    const shown = this.arrowLine >= 0 && this.arrowLine < doc.lines;
    if (this.arrow.hidden === shown) this.arrow.hidden = !shown;
    if (!shown) return;
    // The gutter's column starts where the document's padding starts; the arrow is centred on
    // its line.
    const block = this.view.lineBlockAt(doc.line(this.arrowLine + 1).from);
    const top = this.view.documentPadding.top + block.top + (block.height - kArrowHeight) / 2;
    this.arrow.style.transform = `translateY(${top}px)`;
  }

  setReadOnly(on: boolean): void {
    this.view.dispatch({ effects: this.readOnly.reconfigure(EditorState.readOnly.of(on)) });
  }

  get isReadOnly(): boolean {
    return this.view.state.readOnly;
  }

  hasMark(line: number): boolean {
    const doc = this.view.state.doc;
    if (line + 1 > doc.lines) return false;
    const from = doc.line(line + 1).from;
    let found = false;
    this.view.state.field(marksField).between(from, from, (start) => {
      if (start === from) found = true;
    });
    return found;
  }

  setMark(line: number, on: boolean): void {
    this.view.dispatch({ effects: toggleMark.of({ line, on }) });
  }

  clearMarks(): void {
    this.view.dispatch({ effects: clearMarks.of(null) });
  }

  marks(): number[] {
    const lines: number[] = [];
    const doc = this.view.state.doc;
    this.view.state.field(marksField).between(0, doc.length, (start) => {
      lines.push(doc.lineAt(start).number - 1);
    });
    return lines;
  }

  selection(): string {
    const { from, to } = this.view.state.selection.main;
    return this.view.state.sliceDoc(from, to);
  }

  setCaret(offset: number): void {
    this.forgetScroll();
    this.view.focus();
    this.view.dispatch({ selection: EditorSelection.cursor(offset) });
  }
}

