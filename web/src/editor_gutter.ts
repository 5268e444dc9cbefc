// The editor's gutter: line numbers counted from 1, the breakpoint colour reaching into it, and
// an arrow at the line a run executes next.
import { type Range, RangeSet, StateEffect, StateField, type Extension } from '@codemirror/state';
import { type DecorationSet, type EditorView, GutterMarker, gutter, gutterLineClass, lineNumbers } from '@codemirror/view';

const setCurrentLine = StateEffect.define<number>();

// The line (from 0) the core reported, -1 while no run is in progress. The editor is read-only
// during a run, so the number never has to follow edits.
const currentLineField = StateField.define<number>({
  create: () => -1,
  update(line, tr) {
    for (const effect of tr.effects) if (effect.is(setCurrentLine)) line = effect.value;
    return line;
  },
});

class ArrowMarker extends GutterMarker {
  toDOM(): Node {
    const arrow = document.createElement('span');
    arrow.textContent = '▶';
    return arrow;
  }
}
const arrow = new ArrowMarker();

class BreakpointLine extends GutterMarker {
  elementClass = 'cm-breakpoint';
}
const breakpointLine = new BreakpointLine();

export function gutterExtensions(marks: StateField<DecorationSet>): Extension {
  return [
    currentLineField,
    lineNumbers(),
    gutter({
      class: 'cm-current-line-gutter',
      markers: (view) => {
        const line = view.state.field(currentLineField);
        const doc = view.state.doc;
        if (line < 0 || line + 1 > doc.lines) return RangeSet.empty;
        return RangeSet.of([arrow.range(doc.line(line + 1).from)]);
      },
      initialSpacer: () => arrow,
    }),
    gutterLineClass.compute([marks], (state) => {
      const lines: Range<GutterMarker>[] = [];
      state.field(marks).between(0, state.doc.length, (from) => {
        lines.push(breakpointLine.range(from));
      });
      return RangeSet.of(lines, true);
    }),
  ];
}

export function showCurrentLine(view: EditorView, line: number): void {
  view.dispatch({ effects: setCurrentLine.of(line) });
}
