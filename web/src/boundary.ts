// Every call between the page and the core, as the page sees it: CoreCalls are the core's
// functions the page calls, PageCalls the page's functions the core calls. The page's build
// checks both against the lists of src/web/boundary.h (names, parameters, results, and whether
// a call waits for the user: a Promise here) and fails on any difference.

export interface CoreCalls {
  qz_init(): void;
  // The controls' names, captions, command numbers, colours and limits, as JSON (PageSetup).
  qz_page_setup(): string;
  // The layout for the client size (`touch`: used with a finger), as JSON (PageLayout in
  // main.ts): its form, the surface's size, every control's rectangle by name.
  qz_layout(width: number, height: number, touch: boolean): string;
  qz_reference_text(): string;
  // The primer ("Einführung") as JSON: [{title, paragraphs, program}], program empty where a
  // section has none.
  qz_primer(): string;
  // "Ausprobieren" beside the primer's section `section`.
  qz_try_program(section: number): Promise<void>;
  qz_command(which: number): Promise<void>;
  qz_speed(speed: number): Promise<void>;
  qz_timer(timer: number): Promise<void>;
  qz_html(date: string): Promise<void>;
  qz_task_load(): Promise<void>;
  qz_task_test(): Promise<void>;
  // The case the user selected in the panel "Aufgabe" (-1: none).
  qz_task_select(row: number): void;
  // "Fall übernehmen": the case at `row` selected and taken over.
  qz_task_take_over(row: number): Promise<void>;
  // "Ende": one of CloseResult.
  qz_close(): Promise<number>;
  // Whether the editor takes a text of this size (file bytes with CR LF, line breaks).
  qz_program_fits(bytes: number, lineBreaks: number): boolean;
  // Shows why a text was refused ("Text überschreitet Memo-Kapazität.").
  qz_refuse_text(): Promise<void>;
  // Whether every character of a typed or pasted text can be saved in the files; when not, the
  // core's note names the first one that cannot, and the text must not go in.
  qz_accept_typed(text: string): boolean;
  qz_program_changed(text: string): void;
  // One change the user made in the editor: the text from (fromLine, fromColumn) to (toLine,
  // toColumn) of the editor's text before it, counted from 0, replaced by `text`.
  qz_program_edit(fromLine: number, fromColumn: number, toLine: number, toColumn: number, text: string): void;
  qz_cell_typed(column: number, row: number, text: string): void;
  qz_cell_edited(column: number, row: number, text: string): void;
  qz_toggle_breakpoint(line: number): void;
  qz_picture_size(width: number, height: number): void;
  qz_cell_at(x: number, y: number): number;
  qz_cell_text(column: number, row: number): string;
  qz_unsaved(): boolean;
  qz_kept_work(): string;
  qz_restore(record: string): Promise<boolean>;
  // The box text of a fault the page met outside the core ("Interner Fehler: …").
  qz_internal_error_text(what: string): string;
  // "Was geschah": the sentence of the step taken last, or the hint after a failed check; empty
  // when there is neither.
  qz_step_sentence(): string;
  // The steps whose rows the protocol holds, as JSON [first, last] (first > last: none).
  qz_trace_span(): string;
  // The rows of `count` steps from `first` (those within the span), as JSON: an array of rows,
  // each the texts of the columns in the order of setup's traceColumns.
  qz_trace_rows(first: number, count: number): string;
  // "Exportieren" in the protocol: 0 CSV, 1 HTML.
  qz_trace_export(format: number): Promise<void>;
  // "Verlauf": the run moved to the state after step `step`.
  qz_history_move(step: number): Promise<void>;
  // "Zurück bis Haltepunkt".
  qz_back_to_breakpoint(): Promise<void>;
}

export interface PageCalls {
  setEditorText(text: string, clearMarks: boolean): void;
  // The line with its line break; the marks below move up with their lines.
  deleteEditorLine(line: number): void;
  setEditorFirstLine(line: number): void;
  editorFirstLine(): number;
  selectEditorLine(line: number): void;
  editorCaretToEnd(): void;
  editorHasBreakpoint(line: number): boolean;
  setEditorBreakpoint(line: number, on: boolean): void;
  showCurrentLine(line: number): void;
  setEditorReadOnly(on: boolean): void;
  showRowAtTop(row: number): void;
  setTableEditable(on: boolean): void;
  showRow(row: number, value: string, comment: string): void;
  // Five numbers per square (left, top, right, bottom, filled), the first `squares` of them;
  // then the frame (left, top, right, bottom, written) if a cell was accessed.
  paintPicture(numbers: Int32Array, squares: number): void;
  showRegister(which: number, value: number): void;
  setRunCaption(caption: string): void;
  setStepEnabled(on: boolean): void;
  setBackEnabled(on: boolean): void;
  setTimerEnabled(timer: number, on: boolean, interval: number): void;
  showStepCount(steps: number): void;
  showSpeed(speed: number): void;
  showMessage(text: string, caption: string, error: boolean): Promise<void>;
  showNote(text: string): void;
  askYesNo(text: string, caption: string): Promise<boolean>;
  // The path in the core's file system of the chosen file (at most maxBytes of it), or null.
  chooseFileToOpen(description: string, pattern: string, maxBytes: number): Promise<string | null>;
  chooseFileToSave(description: string, pattern: string, extension: string): Promise<string | null>;
  // Hands the file the core wrote at `path` (as chooseFileToSave gave it) on to where the user
  // chose it: null when done, else why the browser refused it (German where the page knows it).
  finishSave(path: string): Promise<string | null>;
  askNumber(again: boolean): Promise<string | null>;
  taskShow(title: string, cases: number): void;
  taskCase(row: number, name: string, points: number, inputs: string): void;
  taskSelect(row: number): void;
  // What may be pressed: "Testen" and "Fall übernehmen".
  taskButtons(test: boolean, takeOver: boolean): void;
  taskResult(row: number, passed: boolean, text: string): void;
  taskPoints(text: string): void;
  taskTakenOver(text: string): void;
  // "Testen" has tested `done` of `total` cases: answered once the page has shown it and heard
  // its events; false when "Abbrechen" was pressed.
  taskProgress(done: number, total: number): Promise<boolean>;
  // The names one a line; the chosen files one a line: the path in the core's file system and,
  // after a tab, where the file lies in the folder the user chose (empty for a single file).
  chooseDataFiles(names: string, maxBytes: number): Promise<string | null>;
  // "Beispiele": the examples as JSON ([{name, line}]); the number of the one chosen, or -1.
  chooseExample(examples: string): Promise<number>;
  // An exception escaped the core; its box text. Taken by the boundary itself.
  coreFailed(text: string): void;
  // "Was geschah" has a new text: asked with qz_step_sentence when the line is drawn next.
  sentenceChanged(): void;
  // The protocol holds the rows of the steps first..last too, at its end; or no longer.
  traceRowsAdded(first: number, last: number): void;
  traceRowsRemoved(first: number, last: number): void;
  // "Verlauf": the slider's range and position, and whether it may be moved.
  showHistory(oldest: number, newest: number, current: number, movable: boolean): void;
}

// What qz_close reports: the work stays (a save failed); the session started afresh and nothing
// of the work is left unsaved (saved or declined); afresh while a part was neither saved nor
// declined (its file dialog was cancelled).
export const CloseResult = { Stayed: 0, AllSettled: 1, WorkLeft: 2 } as const;

// What the page takes from the core at start (qz_page_setup).
export interface PageSetup {
  version: string;
  applicationTitle: string;
  layoutFields: string[];
  registerFields: string[];  // in the order of the core's register numbers
  speedButtons: string[];    // in the order of the core's speed numbers
  captions: Record<string, string>;
  commands: Record<string, number>;
  colours: Record<'square' | 'write' | 'read' | 'breakpoint' | 'currentLineArrow' | 'passed' | 'failed' | 'face', string>;
  framePenWidth: number;
  // While a timed run goes on, "Was geschah", the protocol and "Verlauf" are drawn at most once
  // in this time.
  reportPaceMs: number;
  table: { rows: number; rowHeight: number; numberWidth: number; valueWidth: number; cellMaxLength: number };
  // The longest text of each kind the core takes, in UTF-8 bytes.
  textLimits: Record<string, number>;
  // The protocol's columns ("Schritt", "Zeile", ...).
  traceColumns: string[];
}

// How each call crosses, made by the page's build from src/web/boundary.h: a parameter is
// 'number', 'boolean', 'string', 'Int32Array' (a pointer and its count), or for the core a text
// kind ('ProgramText', ...) whose limit PageSetup.textLimits gives.
export interface CallShape {
  async: boolean;
  params: string[];
  result: 'void' | 'number' | 'boolean' | 'string';
}
export interface BoundaryShapes {
  core: Record<keyof CoreCalls, CallShape>;
  page: Record<keyof PageCalls, CallShape>;
}

declare global {
  const QZ_BOUNDARY: BoundaryShapes;
}
