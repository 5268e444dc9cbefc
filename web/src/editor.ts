// The program editor "Programm": a text area without wrapping that keeps tab characters,
// with light red bars behind the lines that carry a breakpoint. The marks move with their
// lines when lines are inserted or removed above them.

export const kLineHeight = 17;

export class ProgramEditor {
  readonly area: HTMLTextAreaElement;
  readonly backdrop: HTMLDivElement;
  private marks = new Set<number>();
  private lastText = '';

  constructor(readonly box: HTMLDivElement) {
    box.classList.add('editor');
    this.backdrop = document.createElement('div');
    this.backdrop.className = 'marks';
    this.backdrop.setAttribute('aria-hidden', 'true');
    this.area = document.createElement('textarea');
    this.area.wrap = 'off';
    this.area.spellcheck = false;
    this.area.autocomplete = 'off';
    this.area.setAttribute('aria-label', 'Programm');
    box.append(this.backdrop, this.area);
    this.area.addEventListener('scroll', () => this.drawMarks());
  }

  get text(): string {
    return this.area.value;
  }

  // The text before the user's last edit, to put back when the core refuses the edit.
  get previousText(): string {
    return this.lastText;
  }

  // After the user's edit or the core's: the marks follow their lines.
  textChanged(): void {
    this.moveMarks(this.lastText, this.area.value);
    this.lastText = this.area.value;
    this.drawMarks();
  }

  setText(value: string, clearMarks: boolean): void {
    if (clearMarks) this.marks.clear();
    if (value !== this.area.value) {
      const selection = this.area.selectionStart;
      this.area.value = value;
      this.area.setSelectionRange(Math.min(selection, value.length), Math.min(selection, value.length));
    }
    this.textChanged();
  }

  restoreText(value: string): void {
    this.area.value = value;
    this.lastText = value;
    this.drawMarks();
  }

  firstLine(): number {
    return Math.round(this.area.scrollTop / kLineHeight);
  }

  setFirstLine(line: number): void {
    this.area.scrollTop = line * kLineHeight;
    this.drawMarks();
  }

  lineStart(line: number): number {
    const lines = this.area.value.split('\n');
    let offset = 0;
    for (let i = 0; i < line && i < lines.length; ++i) offset += lines[i].length + 1;
    return offset;
  }

  // MarkLine: the whole line as typed, without its line break, selected in the focused editor.
  selectLine(line: number): void {
    const start = this.lineStart(line);
    const lines = this.area.value.split('\n');
    const end = start + (lines[line]?.length ?? 0);
    this.area.focus();
    this.area.setSelectionRange(start, end);
    const first = this.firstLine();
    const visible = Math.max(1, Math.floor(this.area.clientHeight / kLineHeight));
    if (line < first || line >= first + visible) this.setFirstLine(Math.max(0, line - visible + 1));
  }

  caretToEnd(): void {
    const end = this.area.value.length;
    this.area.setSelectionRange(end, end);
    this.area.scrollTop = this.area.scrollHeight;
    this.drawMarks();
  }

  caretLine(): number {
    return this.area.value.slice(0, this.area.selectionStart).split('\n').length - 1;
  }

  lineAt(clientY: number): number {
    const top = this.area.getBoundingClientRect().top + 2;
    return Math.max(0, Math.floor((clientY - top + this.area.scrollTop) / kLineHeight));
  }

  hasMark(line: number): boolean {
    return this.marks.has(line);
  }

  setMark(line: number, on: boolean): void {
    if (on) this.marks.add(line);
    else this.marks.delete(line);
    this.drawMarks();
  }

  clearMarks(): void {
    this.marks.clear();
    this.drawMarks();
  }

  // The lines before the first and after the last difference keep their marks (those after
  // it shifted by the change in line count); marks inside the changed lines stay on the
  // first of them only when that line itself kept its start.
  private moveMarks(before: string, after: string): void {
    if (before === after || this.marks.size === 0) return;
    const a = before.split('\n');
    const b = after.split('\n');
    let head = 0;
    while (head < a.length && head < b.length && a[head] === b[head]) ++head;
    let tail = 0;
    while (tail < a.length - head && tail < b.length - head && a[a.length - 1 - tail] === b[b.length - 1 - tail]) ++tail;
    const shift = b.length - a.length;
    const moved = new Set<number>();
    for (const line of this.marks) {
      if (line < head) moved.add(line);
      else if (line >= a.length - tail) moved.add(line + shift);
      else if (line === head && b[head] !== undefined && a[head] !== '' && b[head].startsWith(a[head].slice(0, 1))) moved.add(line);
    }
    this.marks = moved;
  }

  drawMarks(): void {
    this.backdrop.replaceChildren();
    const top = this.area.scrollTop;
    const height = this.area.clientHeight;
    for (const line of this.marks) {
      const y = 2 + line * kLineHeight - top;
      if (y + kLineHeight < 0 || y > height) continue;
      const bar = document.createElement('div');
      bar.className = 'mark';
      bar.style.top = `${y}px`;
      this.backdrop.append(bar);
    }
  }
}
