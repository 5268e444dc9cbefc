// The memory table "Daten": 512 rows of number, value and comment. Values and comments are
// edited in place while no run is in progress; every keystroke reaches the core (it clears
// the data's checked flag), the committed text replaces the cell's. The rows, their height,
// the columns' widths and the longest text of a cell are the core's. As in the window, the
// table is one stop of the Tab key: the arrow keys move inside it, the cell used last is where
// Tab comes back to.
import type { PageSetup } from './boundary';

// Rows laid out in one frame after the start (a part of the table, to keep each frame short).
const kRowsPerFrame = 64;

export class DataTableView {
  readonly table: HTMLTableElement;
  private inputs: HTMLInputElement[][] = [[], []];
  private committed: string[][] = [[], []];
  private current: HTMLInputElement;
  private editable = true;
  onTyped: (column: number, row: number, text: string) => void = () => {};
  onEdited: (column: number, row: number, text: string) => void = () => {};
  isBusy: () => boolean = () => false;

  constructor(readonly box: HTMLDivElement, private readonly geometry: PageSetup['table']) {
    box.classList.add('grid');
    // Firefox makes a scrolling box whose fields Tab skips a stop of the Tab key of its own; the
    // table is one stop, its current cell.
    box.tabIndex = -1;
    this.table = document.createElement('table');
    this.table.setAttribute('aria-label', 'Daten');
    // Its rows are laid out as boxes (style.css): the roles say what the elements would.
    this.table.setAttribute('role', 'table');
    // The rows are copies of one row, made apart from the page and put in at once; the fields'
    // events are heard by the table (a thousand fields with four listeners each cost the start).
    const model = document.createElement('tr');
    model.className = 'later';
    model.setAttribute('role', 'row');
    const number = document.createElement('th');
    number.scope = 'row';
    number.setAttribute('role', 'rowheader');
    model.append(number);
    for (let column = 1; column <= 2; ++column) {
      const td = document.createElement('td');
      td.setAttribute('role', 'cell');
      const input = document.createElement('input');
      input.spellcheck = false;
      input.autocomplete = 'off';
      input.maxLength = geometry.cellMaxLength;
      input.tabIndex = -1;
      td.append(input);
      model.append(td);
    }
    const body = document.createElement('tbody');
    body.setAttribute('role', 'rowgroup');
    for (let row = 0; row < geometry.rows; ++row) {
      const tr = model.cloneNode(true) as HTMLTableRowElement;
      tr.cells[0].textContent = String(row + 1);
      for (let column = 1; column <= 2; ++column) {
        const input = tr.cells[column].firstChild as HTMLInputElement;
        input.setAttribute('aria-label', column === 1 ? `Zelle ${row + 1}` : `Kommentar ${row + 1}`);
        this.inputs[column - 1].push(input);
        this.committed[column - 1].push('');
      }
      body.append(tr);
    }
    this.table.append(body);
    this.table.addEventListener('focusin', (event) => {
      if (this.cellOf(event.target) !== null) this.makeCurrent(event.target as HTMLInputElement);
    });
    this.table.addEventListener('input', (event) => {
      const cell = this.cellOf(event.target);
      if (cell === null) return;
      const [column, row] = cell;
      const input = this.inputs[column - 1][row];
      if (this.isBusy()) {
        input.value = this.committed[column - 1][row];
        return;
      }
      this.onTyped(column, row, input.value);
    });
    this.table.addEventListener('change', (event) => {
      const cell = this.cellOf(event.target);
      if (cell !== null) this.commit(...cell);
    });
    this.table.addEventListener('keydown', (event) => {
      const cell = this.cellOf(event.target);
      if (cell !== null) this.navigate(event, ...cell);
    });
    box.append(this.table);
    box.addEventListener('scroll', () => {
      this.scrolledTo = box.scrollTop;
    }, { passive: true });
    this.current = this.inputs[0][0];
    this.current.tabIndex = 0;
    this.applyColumnWidths();
  }

  // The column (1 or 2) and row of one of the table's fields.
  private cellOf(target: EventTarget | null): [number, number] | null {
    if (!(target instanceof HTMLInputElement)) return null;
    const td = target.parentElement as HTMLTableCellElement | null;
    const tr = td?.parentElement as HTMLTableRowElement | null;
    if (!tr || tr.parentElement?.parentElement !== this.table) return null;
    const column = td!.cellIndex;
    const row = tr.sectionRowIndex;
    return this.inputs[column - 1]?.[row] === target ? [column, row] : null;
  }

  // The rows out of sight, laid out a part each frame once the page has shown itself: a row
  // not laid out is missing from what a screen reader reads.
  layOutAll(): void {
    const rows = Array.from(this.table.tBodies[0].rows);
    let next = 0;
    const part = () => {
      const end = Math.min(rows.length, next + kRowsPerFrame);
      for (; next < end; ++next) rows[next].classList.remove('later');
      if (next < rows.length) requestAnimationFrame(part);
    };
    requestAnimationFrame(part);
  }

  private makeCurrent(input: HTMLInputElement): void {
    this.current.tabIndex = -1;
    this.current = input;
    input.tabIndex = 0;
  }

  private commit(column: number, row: number): void {
    const input = this.inputs[column - 1][row];
    if (this.isBusy() || input.readOnly || input.value === this.committed[column - 1][row]) return;
    this.committed[column - 1][row] = input.value;
    this.onEdited(column, row, input.value);
  }

  // The cell editor that has the focus hands over its text, before a command runs.
  commitPending(): void {
    const active = document.activeElement;
    for (let column = 1; column <= 2; ++column) {
      const row = this.inputs[column - 1].indexOf(active as HTMLInputElement);
      if (row >= 0) this.commit(column, row);
    }
  }

  // Up and down, a page of rows, Enter to the next row; left and right to the other column
  // where the caret stands at the cell's edge.
  private navigate(event: KeyboardEvent, column: number, row: number): void {
    const input = this.inputs[column - 1][row];
    const page = Math.max(1, Math.floor(this.box.clientHeight / this.geometry.rowHeight) - 1);
    const atStart = input.selectionStart === 0 && input.selectionEnd === 0;
    const atEnd = input.selectionStart === input.value.length && input.selectionEnd === input.value.length;
    const moves: Record<string, [number, number] | null> = {
      ArrowUp: [0, -1],
      ArrowDown: [0, 1],
      Enter: [0, 1],
      PageUp: [0, -page],
      PageDown: [0, page],
      ArrowLeft: column === 2 && atStart ? [-1, 0] : null,
      ArrowRight: column === 1 && atEnd ? [1, 0] : null,
    };
    const move = moves[event.key];
    if (!move || event.altKey || event.ctrlKey || event.metaKey) return;
    const target = this.inputs[column - 1 + move[0]][Math.min(this.geometry.rows - 1, Math.max(0, row + move[1]))];
    event.preventDefault();
    this.commit(column, row);
    target.focus();
    target.select();
  }

  // Only a text that differs is set: a run at "Direkt" shows every row it touches anew.
  showRow(row: number, value: string, comment: string): void {
    if (this.inputs[0][row].value !== value) this.inputs[0][row].value = value;
    if (this.inputs[1][row].value !== comment) this.inputs[1][row].value = comment;
    this.committed[0][row] = value;
    this.committed[1][row] = comment;
  }

  // The place written last, or the box's own after a scroll: a run asks at every step, and
  // setting the same place again would lay out the page to find it.
  private scrolledTo = 0;
  // The place asked for since, written with the next frame: writing it at once would make the
  // browser lay out at once what the step has just changed, once more in every step.
  private askedTop: number | null = null;

  // Shown again after the picture: a place set while hidden was not taken.
  forgetPlace(): void {
    this.scrolledTo = Number.NaN;
  }

  showRowAtTop(row: number): void {
    const top = row * this.geometry.rowHeight;
    if (top === (this.askedTop ?? this.scrolledTo)) return;
    if (this.askedTop === null) {
      requestAnimationFrame(() => {
        if (this.askedTop === null) return;
        this.scrolledTo = this.askedTop;
        this.askedTop = null;
        this.box.scrollTop = this.scrolledTo;
      });
    }
    this.askedTop = top;
  }

  setEditable(on: boolean): void {
    if (on === this.editable) return;
    this.editable = on;
    for (const column of this.inputs) {
      for (const input of column) input.readOnly = !on;
    }
  }

  // The comment column takes the rest of the width, as in the window: the table is as wide as
  // the box inside its scrollbar, less the right line, so that nothing is measured.
  private applyColumnWidths(): void {
    const { numberWidth, valueWidth } = this.geometry;
    this.table.style.setProperty('--qz-number-width', `${numberWidth}px`);
    this.table.style.setProperty('--qz-value-width', `${valueWidth}px`);
    this.table.style.width = 'calc(100% - 1px)';
    this.table.style.minWidth = `${numberWidth + valueWidth}px`;
  }
}
