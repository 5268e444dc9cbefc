// The panel "Protokoll": the run's protocol as a table, one row per step, read from the core
// only for the rows in sight (it may hold 100 000 steps), following the newest row while the
// view stands at the end; "Exportieren" writes it as CSV or HTML through the core's save.

import { core, guarded, isBusy } from './core';
import { FrameDrawing } from './frame';
import { MovablePanel, plainCaption } from './movable_panel';

export interface ProtocolTexts {
  caption: string;   // "Protokoll"
  columns: string[]; // "Schritt", "Zeile", ...
  exportCaption: string;
  formatCaption: string;
  empty: string;     // said while the protocol has no row
}

// Every row has this height (the style sheet's), so that a row's place follows from its number.
const kRowHeight = 20;
// Rows made beyond the visible ones, above and below, so that a small scroll shows no gap.
const kSpareRows = 4;

export class ProtocolPanel extends MovablePanel {
  private readonly scroller: HTMLDivElement;
  private readonly table: HTMLTableElement;
  private readonly rows: HTMLTableSectionElement;
  private readonly emptyLine: HTMLDivElement;
  private readonly drawing = new FrameDrawing(guarded(() => this.draw()));
  private readonly made = new Map<number, HTMLTableRowElement>();
  private readonly topSpacer: HTMLTableCellElement;
  private readonly bottomSpacer: HTMLTableCellElement;
  private first = 1;
  private last = 0;
  // The view stands at the newest row and stays there as rows come.
  private following = true;

  constructor(texts: ProtocolTexts) {
    super(texts.caption, 'protocol');
    this.scroller = document.createElement('div');
    this.scroller.className = 'protocol-rows';
    this.scroller.tabIndex = 0;
    this.table = document.createElement('table');
    this.table.setAttribute('aria-label', texts.caption);
    const head = document.createElement('thead');
    const headRow = document.createElement('tr');
    headRow.setAttribute('aria-rowindex', '1');
    for (const column of texts.columns) {
      const th = document.createElement('th');
      th.scope = 'col';
      th.textContent = column;
      headRow.append(th);
    }
    head.append(headRow);
    this.rows = document.createElement('tbody');
    this.table.append(head, this.rows);
    this.topSpacer = this.spacer();
    this.bottomSpacer = this.spacer();
    this.scroller.append(this.table);
    this.scroller.addEventListener('scroll', () => {
      const s = this.scroller;
      this.following = s.scrollTop + s.clientHeight >= s.scrollHeight - kRowHeight;
      this.drawing.schedule();
    });

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

    this.panel.append(this.titleBar, this.emptyLine, this.scroller, buttons);
    // Left of the run panel, which stays free to click while the protocol grows.
    this.open(8, 120);
  }

  // The core's notices: rows came or went. Drawn in the next frame, and only while shown.
  changed(): void {
    if (!this.panel.hidden) this.drawing.schedule();
  }

  // Rows gone (taken back, or the run begun anew): a later step of the same number is another.
  removed(first: number, last: number): void {
    for (const step of this.made.keys()) {
      if (step >= first && step <= last) this.made.delete(step);
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

  // The rows in sight and a few beyond; a row made once is kept while it stays in reach, so
  // that a frame at "Direkt" reads only the newest rows from the core.
  private draw(): void {
    if (this.panel.hidden) return;
    [this.first, this.last] = JSON.parse(core.qz_trace_span()) as [number, number];
    const count = Math.max(0, this.last - this.first + 1);
    this.emptyLine.hidden = count > 0;
    this.table.setAttribute('aria-rowcount', String(count + 1));
    const s = this.scroller;
    const head = this.table.tHead!.offsetHeight;
    const total = head + count * kRowHeight;
    if (this.following) s.scrollTop = Math.max(0, total - s.clientHeight);
    const top = Math.max(0, Math.min(s.scrollTop, total - s.clientHeight));
    const from = Math.max(0, Math.floor(top / kRowHeight) - kSpareRows);
    const shown = Math.max(0, Math.min(count - from, Math.ceil(s.clientHeight / kRowHeight) + 2 * kSpareRows));
    const low = this.first + from;
    const high = low + shown - 1;
    for (const step of this.made.keys()) {
      if (step < low || step > high) this.made.delete(step);
    }
    let missingLow = 0;
    let missingHigh = -1;
    for (let step = low; step <= high; ++step) {
      if (this.made.has(step)) continue;
      if (missingHigh < missingLow) missingLow = step;
      missingHigh = step;
    }
    if (missingHigh >= missingLow) {
      const texts: string[][] = JSON.parse(core.qz_trace_rows(missingLow, missingHigh - missingLow + 1));
      texts.forEach((cells, i) => {
        if (!this.made.has(missingLow + i)) this.made.set(missingLow + i, this.row(cells));
      });
    }
    const rows: HTMLTableRowElement[] = [];
    for (let step = low; step <= high; ++step) {
      const tr = this.made.get(step);
      if (!tr) continue;
      const index = String(step - this.first + 2);
      if (tr.getAttribute('aria-rowindex') !== index) tr.setAttribute('aria-rowindex', index);
      rows.push(tr);
    }
    this.topSpacer.style.height = `${from * kRowHeight}px`;
    this.bottomSpacer.style.height = `${Math.max(0, (count - from - rows.length) * kRowHeight)}px`;
    const body = this.rows.children;
    const same = body.length === rows.length + 2 && rows.every((tr, i) => body[i + 1] === tr);
    if (!same) this.rows.replaceChildren(this.topSpacer.parentElement!, ...rows, this.bottomSpacer.parentElement!);
    if (this.following) s.scrollTop = s.scrollHeight;
  }

  private row(cells: string[]): HTMLTableRowElement {
    const tr = document.createElement('tr');
    for (const cell of cells) {
      const td = document.createElement('td');
      td.textContent = cell;
      tr.append(td);
    }
    return tr;
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
