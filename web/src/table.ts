// The memory table "Daten": 512 rows of number, value and comment. Values and comments are
// edited in place while no run is in progress; every keystroke reaches the core (it clears
// the data's checked flag), the committed text replaces the cell's. The rows, their height,
// the columns' widths and the longest text of a cell are the core's. As in the window, the
// table is one stop of the Tab key: the arrow keys move inside it, the cell used last is where
// Tab comes back to.
import type { PageSetup } from './boundary';

export class DataTableView {
  readonly table: HTMLTableElement;
  private inputs: HTMLInputElement[][] = [[], []];
  private committed: string[][] = [[], []];
  private current: HTMLInputElement;
  onTyped: (column: number, row: number, text: string) => void = () => {};
  onEdited: (column: number, row: number, text: string) => void = () => {};
  isBusy: () => boolean = () => false;

  constructor(readonly box: HTMLDivElement, private readonly geometry: PageSetup['table']) {
    box.classList.add('grid');
    this.table = document.createElement('table');
    this.table.setAttribute('aria-label', 'Daten');
    const cols = document.createElement('colgroup');
    for (let i = 0; i < 3; ++i) cols.append(document.createElement('col'));
    this.table.append(cols);
    const body = document.createElement('tbody');
    for (let row = 0; row < geometry.rows; ++row) {
      const tr = document.createElement('tr');
      const number = document.createElement('th');
      number.scope = 'row';
      number.textContent = String(row + 1);
      tr.append(number);
      for (let column = 1; column <= 2; ++column) {
        const td = document.createElement('td');
        const input = document.createElement('input');
        input.spellcheck = false;
        input.autocomplete = 'off';
        input.maxLength = geometry.cellMaxLength;
        input.setAttribute('aria-label', column === 1 ? `Zelle ${row + 1}` : `Kommentar ${row + 1}`);
        input.tabIndex = -1;
        input.addEventListener('focus', () => this.makeCurrent(input));
        input.addEventListener('input', () => {
          if (this.isBusy()) {
            input.value = this.committed[column - 1][row];
            return;
          }
          this.onTyped(column, row, input.value);
        });
        input.addEventListener('change', () => this.commit(column, row));
        input.addEventListener('keydown', (event) => this.navigate(event, column, row));
        td.append(input);
        tr.append(td);
        this.inputs[column - 1].push(input);
        this.committed[column - 1].push('');
      }
      body.append(tr);
    }
    this.table.append(body);
    box.append(this.table);
    this.current = this.inputs[0][0];
    this.current.tabIndex = 0;
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

  showRow(row: number, value: string, comment: string): void {
    this.inputs[0][row].value = value;
    this.inputs[1][row].value = comment;
    this.committed[0][row] = value;
    this.committed[1][row] = comment;
  }

  showRowAtTop(row: number): void {
    this.box.scrollTop = row * this.geometry.rowHeight;
  }

  setEditable(on: boolean): void {
    for (const column of this.inputs) {
      for (const input of column) input.readOnly = !on;
    }
  }

  // The comment column takes the rest of the width, as in the window.
  applyColumnWidths(): void {
    const cols = this.table.querySelectorAll('col');
    const client = this.box.clientWidth;
    const { numberWidth, valueWidth } = this.geometry;
    cols[0].style.width = `${numberWidth}px`;
    cols[1].style.width = `${valueWidth}px`;
    cols[2].style.width = `${Math.max(0, client - numberWidth - valueWidth - 2)}px`;
    this.table.style.width = `${Math.max(numberWidth + valueWidth, client - 2)}px`;
  }
}
