// The panel "Protokoll": "Verlauf" at its head, then the run's protocol as a table, one row per
// step, read from the core only for the rows in sight (it may hold 100 000 steps), following the
// newest row while the view stands at the end; "Exportieren" writes it as CSV or HTML.

import { core, isBusy } from './core';
import { NoticeDrawing } from './notice_drawing';
import { MovablePanel, plainCaption } from './movable_panel';

export interface ProtocolTexts {
  caption: string;   // "Protokoll"
  columns: string[]; // "Schritt", "Zeile", ...
  exportCaption: string;
  formatCaption: string;
  empty: string;     // said while the protocol has no row
}

// What heads the panel: "Verlauf" and "Zurück bis Haltepunkt", as in the window's protocol
// window, with their access keys, which work while the panel is in use.
export interface ProtocolHead {
  row: HTMLElement;
  keys: Array<[HTMLElement, string]>;
}

// Rows kept for taking again: more than a view's worth are never needed at once.
const kMostSpare = 64;
// Rows made beyond the visible ones, above and below, so that a small scroll shows no gap.
const kSpareRows = 4;

// A run at "Direkt" adds a row per step. So a frame reads no layout: every row and the header
// are one known height (the style sheet sets them from the core's table geometry), the view's
// height comes from a ResizeObserver and its position from the user's scroll events; the rows
// that stay in sight stay in the document, only those coming in and going out are added and
// removed, and the view follows the newest row once the frame's layout is done.
export class ProtocolPanel extends MovablePanel {
  private readonly scroller: HTMLDivElement;
  private readonly table: HTMLTableElement;
  private readonly rows: HTMLTableSectionElement;
  private readonly emptyLine: HTMLDivElement;
  private readonly drawing = new NoticeDrawing(() => this.draw());
  private readonly drawSoon = (): void => this.drawing.schedule();
  private readonly topSpacer: HTMLTableCellElement;
  private readonly bottomSpacer: HTMLTableCellElement;
  // The rows in the document, between the spacers: the steps shownLow..shownLow+shown.length-1.
  private shown: HTMLTableRowElement[] = [];
  // Rows gone out of sight, taken again for rows coming in: a step at "Direkt" moves one row
  // from the top to the bottom and changes its texts instead of making ten cells anew.
  private spare: HTMLTableRowElement[] = [];
  private shownLow = 1;
  private first = 1;
  private last = 0;
  private viewHeight = 0;
  private scrollTop = 0;
  // The position the page scrolled to itself: its scroll event is not the user's.
  private scrolledTo: number | undefined;
  // The view stands at the newest row and stays there as rows come.
  private following = true;

  // `due`: draws what it is given now, or at its pace during a timed run (RunPace.due).
  constructor(texts: ProtocolTexts, head: ProtocolHead, private readonly rowHeight: number,
    private readonly due: (draw: () => void) => void) {
    super(texts.caption, 'protocol');
    this.scroller = document.createElement('div');
    this.scroller.className = 'protocol-rows';
    this.scroller.tabIndex = 0;
    this.table = document.createElement('table');
    this.table.setAttribute('aria-label', texts.caption);
    const thead = document.createElement('thead');
    const headRow = document.createElement('tr');
    headRow.setAttribute('aria-rowindex', '1');
    for (const column of texts.columns) {
      const th = document.createElement('th');
      th.scope = 'col';
      th.textContent = column;
      headRow.append(th);
    }
    thead.append(headRow);
    this.rows = document.createElement('tbody');
    this.table.append(thead, this.rows);
    this.topSpacer = this.spacer();
    this.bottomSpacer = this.spacer();
    this.rows.append(this.topSpacer.parentElement!, this.bottomSpacer.parentElement!);
    this.scroller.append(this.table);
    this.scroller.addEventListener('scroll', () => {
      // The page's own scroll is told from the user's by where the view now stands: a scroll
      // the browser shortened or left out (the table not yet as tall as counted) sends no event
      // or another position, and a flag alone would then swallow the user's next scroll.
      const top = this.scroller.scrollTop;
      const ours = this.scrolledTo !== undefined && Math.abs(top - this.scrolledTo) <= 1;
      this.scrolledTo = undefined;
      if (ours) return;
      this.scrollTop = top;
      // At the end of what the user sees: the rows come after it, once drawn.
      const scroller = this.scroller;
      this.following = top + scroller.clientHeight >= scroller.scrollHeight - this.rowHeight;
      this.drawing.schedule();
    });
    new ResizeObserver((entries) => {
      const height = Math.round(entries[0].contentRect.height);
      if (height === this.viewHeight) return;
      this.viewHeight = height;
      this.keepAtEnd();
      this.changed();
    }).observe(this.scroller);
    // The view follows the newest row once the grown table is laid out, when scrolling costs
    // no layout of its own.
    new ResizeObserver(() => this.keepAtEnd()).observe(this.table);

    this.emptyLine = document.createElement('div');
    this.emptyLine.className = 'protocol-empty';
    this.emptyLine.textContent = texts.empty;

    const buttons = document.createElement('div');
    buttons.className = 'protocol-buttons';
    const format = document.createElement('select');
    format.setAttribute('aria-label', texts.formatCaption);
    for (const name of ['CSV', 'HTML']) format.append(new Option(name));
    const exporter = document.createElement('button');
    exporter.type = 'button';
    exporter.textContent = plainCaption(texts.exportCaption);
    exporter.addEventListener('click', () => {
      if (!isBusy()) void core.qz_trace_export(format.selectedIndex);
    });
    buttons.append(format, exporter);

    this.panel.append(this.titleBar, head.row, this.emptyLine, this.scroller, buttons);
    for (const [element, key] of head.keys) this.ownAccessKey(element, key);
    // Left of the run panel, which stays free to click while the protocol grows.
    this.open(8, 120);
  }

  // The core's notices: rows came or went. Drawn when the step's command ends (during a timed
  // run at its pace), and only while shown.
  changed(): void {
    if (!this.panel.hidden) this.due(this.drawSoon);
  }

  // Rows gone (taken back, or the run begun anew): a later step of the same number is another.
  removed(first: number, last: number): void {
    const high = this.shownLow + this.shown.length - 1;
    if (this.shown.length > 0 && first <= high && last >= this.shownLow) {
      for (const tr of this.shown) this.drop(tr);
      this.shown = [];
    }
    this.changed();
  }

  toggle(): void {
    super.toggle();
    if (!this.panel.hidden) {
      this.following = true;
      this.drawing.schedule();
    }
  }

  // The header and every row.
  private totalHeight(): number {
    return (1 + Math.max(0, this.last - this.first + 1)) * this.rowHeight;
  }

  private draw(): void {
    if (this.panel.hidden) return;
    [this.first, this.last] = JSON.parse(core.qz_trace_span()) as [number, number];
    const count = Math.max(0, this.last - this.first + 1);
    if (this.emptyLine.hidden !== count > 0) this.emptyLine.hidden = count > 0;
    const rowCount = String(count + 1);
    if (this.table.getAttribute('aria-rowcount') !== rowCount) this.table.setAttribute('aria-rowcount', rowCount);
    const total = this.totalHeight();
    const view = this.viewHeight;
    const top = this.following ? Math.max(0, total - view) : Math.max(0, Math.min(this.scrollTop, total - view));
    // Row i (from 0) lies below the header, from (i + 1) row heights down.
    const from = Math.max(0, Math.floor(top / this.rowHeight) - 1 - kSpareRows);
    const shown = Math.max(0, Math.min(count - from, Math.ceil(view / this.rowHeight) + 1 + 2 * kSpareRows));
    this.placeRows(this.first + from, this.first + from + shown - 1);
    setHeight(this.topSpacer, from * this.rowHeight);
    setHeight(this.bottomSpacer, Math.max(0, count - from - shown) * this.rowHeight);
  }

  private keepAtEnd(): void {
    if (!this.following || this.panel.hidden) return;
    const top = Math.max(0, this.totalHeight() - this.viewHeight);
    if (top === this.scrollTop) return;
    this.scrollTop = top;
    this.scrolledTo = top;
    this.scroller.scrollTop = top;
  }

  // The rows low..high between the spacers: those already there stay, the others are read from
  // the core in one call for each end.
  private placeRows(low: number, high: number): void {
    const oldLow = this.shownLow;
    const oldHigh = oldLow + this.shown.length - 1;
    if (low !== oldLow && high - low === oldHigh - oldLow && this.shown.length > 0) {
      // As many rows as before, further on (the view follows the newest row): the rows stay in
      // the document and only their texts change, which costs the browser far less than
      // taking rows out and putting others in.
      this.rowTexts(low, high).forEach((cells, i) => fill(this.shown[i], cells));
    } else if (high < low || high < oldLow || low > oldHigh) {
      for (const tr of this.shown) this.drop(tr);
      this.shown = high >= low ? this.read(low, high) : [];
      this.topSpacer.parentElement!.after(...this.shown);
    } else {
      while (this.shown.length > 0 && this.shownLow < low) {
        this.drop(this.shown.shift()!);
        this.shownLow += 1;
      }
      while (this.shown.length > 0 && this.shownLow + this.shown.length - 1 > high) this.drop(this.shown.pop()!);
      if (low < this.shownLow) {
        const before = this.read(low, this.shownLow - 1);
        this.topSpacer.parentElement!.after(...before);
        this.shown = before.concat(this.shown);
        this.shownLow = low;
      }
      const end = this.shownLow + this.shown.length - 1;
      if (high > end) {
        const after = this.read(Math.max(low, end + 1), high);
        this.bottomSpacer.parentElement!.before(...after);
        this.shown = this.shown.concat(after);
      }
    }
    this.shownLow = low;
    this.shown.forEach((tr, i) => {
      const index = String(low + i - this.first + 2);
      if (tr.getAttribute('aria-rowindex') !== index) tr.setAttribute('aria-rowindex', index);
    });
  }

  private read(low: number, high: number): HTMLTableRowElement[] {
    return this.rowTexts(low, high).map((cells) => this.row(cells));
  }

  // The cells' texts of the steps low..high, from the core in one call.
  private rowTexts(low: number, high: number): string[][] {
    return JSON.parse(core.qz_trace_rows(low, high - low + 1)) as string[][];
  }

  private row(cells: string[]): HTMLTableRowElement {
    const reused = this.spare.pop();
    if (reused) {
      fill(reused, cells);
      return reused;
    }
    const tr = document.createElement('tr');
    for (const cell of cells) {
      const td = document.createElement('td');
      td.append(document.createTextNode(cell));
      tr.append(td);
    }
    return tr;
  }

  private drop(tr: HTMLTableRowElement): void {
    tr.remove();
    if (this.spare.length < kMostSpare) this.spare.push(tr);
  }

  // Stands for the rows not made, so that the scrollbar measures them all: its cell's height.
  private spacer(): HTMLTableCellElement {
    const tr = document.createElement('tr');
    tr.className = 'spacer';
    tr.setAttribute('aria-hidden', 'true');
    const td = document.createElement('td');
    td.colSpan = this.table.tHead!.rows[0].cells.length;
    td.style.height = '0px';
    tr.append(td);
    return td;
  }
}

// A row's texts changed to `cells`, each cell's one text node written only where it differs.
function fill(tr: HTMLTableRowElement, cells: string[]): void {
  cells.forEach((cell, i) => {
    const text = tr.cells[i].firstChild as Text;
    if (text.data !== cell) text.data = cell;
  });
}

function setHeight(cell: HTMLTableCellElement, height: number): void {
  const value = `${height}px`;
  if (cell.style.height !== value) cell.style.height = value;
}
