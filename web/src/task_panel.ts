// The panel "Aufgabe": the page's view of the core's task session, which loads the task, tests
// the editor's program, keeps the selected case and says what may be pressed. The panel shows
// what the session reports, turns clicks into its calls and picks the task's data files.
import type { PageCalls } from './boundary';
import { core, guarded, isBusy } from './core';
import { MovablePanel, accessKeyOf, plainCaption } from './movable_panel';

const kStagingFolder = '/Aufgabe-Daten';
// Every case's row has this height (the style sheet's), so that a row's place follows from its
// number; rows made beyond those in sight, above and below, so that a small scroll shows no gap.
const kRowHeight = 20;
const kSpareRows = 4;

function el<K extends keyof HTMLElementTagNameMap>(tag: K, cls?: string, text?: string): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined) e.textContent = text;
  return e;
}

// A line of text that a screen reader reads after its fixed name ("Punkte: 4 von 4 Punkten"),
// as the window's task window does; always plain text.
function setLine(line: HTMLElement, name: string, text: string): void {
  line.textContent = text;
  line.setAttribute('aria-label', text === '' ? name : `${name}: ${text}`);
}

// A name of the page's own for a file staged in the core's file system: no folder separators,
// nothing that would split the lines handed to the core.
function safeName(name: string): string {
  return name.replace(/[\\/\t\r\n]/g, '_');
}

export class TaskPanel extends MovablePanel {
  private readonly c: Record<string, string>;
  private readonly title: HTMLDivElement;
  private readonly scroller: HTMLDivElement;
  private readonly table: HTMLTableElement;
  // Holds the table, with room above and below it for the rows not made.
  private readonly sizer: HTMLDivElement;
  private readonly rows: HTMLTableSectionElement;
  private readonly points: HTMLDivElement;
  private readonly inputs: HTMLDivElement;
  private readonly test: HTMLButtonElement;
  private readonly takeOver: HTMLButtonElement;
  // While "Testen" runs: which case it tests, and "Abbrechen".
  private readonly progress: HTMLDivElement;
  private readonly cancel: HTMLButtonElement;
  private testing = false;
  private cancelled = false;
  // The results of a test that runs, shown when it ends.
  private results: Array<[number, boolean, string]> = [];
  // The task's cases and their shown results. Only the rows in sight are made (a task may have
  // ten thousand cases, whose table the browser would lay out anew at every change); the
  // table tells a screen reader how many there are and where each row stands.
  private cases: Array<[string, number, string]> = [];
  private outcomes: Array<[boolean, string] | undefined> = [];
  private readonly made = new Map<number, HTMLTableRowElement>();
  private drawPending = false;
  private selected = -1;
  private fs: any;

  // `c`: the window's captions, as the core hands them to the page.
  constructor(fs: any, c: Record<string, string>) {
    super(c.frmAufgabe, 'help task');
    this.fs = fs;
    this.c = c;

    this.title = el('div', 'task-title');
    this.title.setAttribute('role', 'heading');
    this.title.setAttribute('aria-level', '2');

    this.scroller = el('div', 'task-cases');
    const table = el('table');
    this.table = table;
    table.setAttribute('role', 'grid');
    table.setAttribute('aria-label', c.twCasesName);
    const head = el('thead');
    const headRow = el('tr');
    headRow.setAttribute('aria-rowindex', '1');
    for (const caption of [c.colCase, c.colPoints, c.colInputs, c.colResult]) headRow.append(el('th', '', caption));
    head.append(headRow);
    this.rows = el('tbody');
    table.append(head, this.rows);
    this.sizer = el('div');
    this.sizer.append(table);
    this.scroller.append(this.sizer);
    this.scroller.addEventListener('scroll', () => this.scheduleDraw());
    this.rows.addEventListener('click', (event) => this.select(this.rowOf(event)));
    this.rows.addEventListener('dblclick', (event) => {
      this.select(this.rowOf(event));
      void this.takeOverSelected();
    });
    this.rows.addEventListener('keydown', (event) => {
      const count = this.cases.length;
      if (event.key === 'ArrowDown' && this.selected + 1 < count) this.select(this.selected + 1, true);
      else if (event.key === 'ArrowUp' && this.selected > 0) this.select(this.selected - 1, true);
      else if (event.key === 'Enter') void this.takeOverSelected();
      else return;
      event.preventDefault();
    });

    this.points = el('div', 'task-line');
    this.points.setAttribute('role', 'status');
    this.inputs = el('div', 'task-line');
    this.inputs.setAttribute('role', 'status');

    const buttons = el('div', 'task-buttons');
    const load = this.button(c.btTaskLoad, c.btTaskLoadTip, () => void core.qz_task_load());
    this.test = this.button(c.btTaskTest, c.btTaskTestTip, () => void this.runTest());
    this.takeOver = this.button(c.btTaskTakeOver, c.btTaskTakeOverTip, () => void this.takeOverSelected());
    buttons.append(load, this.test, this.takeOver);

    this.progress = el('div', 'task-progress');
    this.progress.setAttribute('role', 'status');
    this.progress.hidden = true;
    this.cancel = el('button', '', 'Abbrechen');
    this.cancel.type = 'button';
    this.cancel.hidden = true;
    this.cancel.addEventListener('click', () => {
      this.cancelled = true;
      this.cancel.disabled = true;
    });
    const testing = el('div', 'task-buttons');
    testing.append(this.progress, this.cancel);

    this.panel.append(this.titleBar, this.title, this.scroller, this.points, this.inputs, testing, buttons);
    this.clear();
    this.open(240, 140);
  }

  // A button with the window's caption: its access key works while the panel is in use, as the
  // task window's keys work while it is the active window.
  private button(caption: string, tip: string, action: () => void): HTMLButtonElement {
    const b = el('button', '', plainCaption(caption));
    b.type = 'button';
    b.title = tip;
    b.setAttribute('aria-label', plainCaption(caption));
    const key = accessKeyOf(caption);
    if (key) {
      b.replaceChildren();
      const at = caption.indexOf('&');
      const u = el('u', '', caption[at + 1]);
      b.append(caption.slice(0, at), u, caption.slice(at + 2));
      this.ownAccessKey(b, key);
    }
    b.addEventListener('click', action);
    return b;
  }

  // No task: as the page starts, and after "Ende" (the session starts afresh).
  clear(): void {
    setLine(this.title, this.c.lbTaskTitleName, this.c.lbTaskNone);
    setLine(this.points, this.c.lbPointsName, '');
    setLine(this.inputs, this.c.lbInputsName, '');
    this.cases = [];
    this.outcomes = [];
    this.selected = -1;
    this.drawNow();
  }

  toggle(): void {
    super.toggle();
    if (!this.panel.hidden) this.scheduleDraw();
  }

  private rowOf(event: Event): number {
    const row = (event.target as HTMLElement).closest('tr');
    return row && this.rows.contains(row) ? Number(row.getAttribute('aria-rowindex')) - 2 : -1;
  }

  private show(row: number, focus = false): void {
    this.selected = row;
    if (focus && row >= 0) {
      // Into sight, made, then focused.
      const s = this.scroller;
      const head = this.table.tHead!.offsetHeight;
      const top = head + row * kRowHeight;
      if (top - head < s.scrollTop) s.scrollTop = top - head;
      else if (top + kRowHeight > s.scrollTop + s.clientHeight) s.scrollTop = top + kRowHeight - s.clientHeight;
      this.drawNow();
      this.made.get(row)?.focus();
    } else {
      this.markSelected();
    }
  }

  private markSelected(): void {
    for (const [index, tr] of this.made) {
      const selected = String(index === this.selected);
      if (tr.getAttribute('aria-selected') !== selected) tr.setAttribute('aria-selected', selected);
      tr.tabIndex = index === this.selected ? 0 : -1;
    }
  }

  private scheduleDraw(): void {
    if (this.drawPending) return;
    this.drawPending = true;
    requestAnimationFrame(() => this.drawNow());
  }

  // The rows in sight and a few beyond; the rest stand as room above and below the table, so
  // that the scrollbar measures them all.
  private drawNow(): void {
    this.drawPending = false;
    const count = this.cases.length;
    this.table.setAttribute('aria-rowcount', String(count + 1));
    let from = 0;
    let shown = count;
    if (!this.panel.hidden && this.panel.isConnected) {
      const s = this.scroller;
      const top = Math.max(0, Math.min(s.scrollTop, count * kRowHeight));
      from = Math.min(count, Math.max(0, Math.floor(top / kRowHeight) - kSpareRows));
      shown = Math.max(0, Math.min(count - from, Math.ceil(s.clientHeight / kRowHeight) + 2 * kSpareRows));
    } else {
      shown = Math.min(count, 2 * kSpareRows);
    }
    for (const index of this.made.keys()) {
      if (index < from || index >= from + shown) this.made.delete(index);
    }
    const rows: HTMLTableRowElement[] = [];
    for (let index = from; index < from + shown; ++index) {
      let tr = this.made.get(index);
      if (!tr) {
        tr = el('tr');
        tr.setAttribute('role', 'row');
        tr.setAttribute('aria-rowindex', String(index + 2));
        for (let c = 0; c < 4; ++c) tr.append(el('td', c === 1 ? 'number' : ''));
        this.made.set(index, tr);
      }
      this.fillRow(tr, index);
      rows.push(tr);
    }
    this.sizer.style.paddingTop = `${from * kRowHeight}px`;
    this.sizer.style.paddingBottom = `${(count - from - rows.length) * kRowHeight}px`;
    const body = this.rows.children;
    const same = body.length === rows.length && rows.every((tr, i) => body[i] === tr);
    if (!same) this.rows.replaceChildren(...rows);
    this.markSelected();
  }

  // A row's texts as the session gave them; each set only when it differs.
  private fillRow(tr: HTMLTableRowElement, index: number): void {
    const [name, points, inputs] = this.cases[index];
    const outcome = this.outcomes[index];
    const texts = [name, String(points), inputs, outcome?.[1] ?? ''];
    texts.forEach((text, c) => {
      const cell = tr.cells[c];
      if (cell.textContent !== text) cell.textContent = text;
    });
    const result = tr.cells[3];
    const className = outcome === undefined ? '' : outcome[0] ? 'passed' : 'failed';
    if (result.className !== className) result.className = className;
    if (result.title !== texts[3]) result.title = texts[3];
  }

  // The user's choice, told to the session, which says what may be pressed now.
  private select(row: number, focus = false): void {
    if (row < 0 || isBusy()) return;
    this.show(row, focus);
    guarded(core.qz_task_select)(row);
  }

  // "Testen" runs in parts; between them the page is drawn and "Abbrechen" is heard.
  private async runTest(): Promise<void> {
    if (isBusy()) return;
    try {
      await core.qz_task_test();
    } finally {
      this.testing = false;
      this.showResults();
      this.progress.hidden = true;
      this.cancel.hidden = true;
    }
  }

  private showResults(): void {
    for (const [row, passed, text] of this.results) {
      if (row >= 0 && row < this.cases.length) this.outcomes[row] = [passed, text];
    }
    this.results = [];
    this.drawNow();  // at once: the results stand in the table when the points line is written
  }

  // Answered in a task of its own, after the page has had its turn.
  private testProgress(done: number, total: number): Promise<boolean> {
    if (!this.testing) {
      // A new test: the results of the last one go.
      this.testing = true;
      this.cancelled = false;
      this.results = [];
      this.outcomes = [];
      this.drawNow();
      setLine(this.points, this.c.lbPointsName, '');
      this.progress.hidden = false;
      this.cancel.hidden = false;
      this.cancel.disabled = false;
    }
    const text = `Fall ${Math.min(done + 1, total)} von ${total}`;
    this.progress.textContent = text;
    this.progress.setAttribute('aria-label', text);
    return new Promise((resolve) => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => resolve(!this.cancelled);
      channel.port2.postMessage(null);
    });
  }

  private async takeOverSelected(): Promise<void> {
    if (this.selected >= 0) await core.qz_task_take_over(this.selected);
  }

  // The page's side of the core's task calls.
  answers(): Pick<PageCalls, 'taskShow' | 'taskCase' | 'taskSelect' | 'taskButtons' | 'taskResult' | 'taskPoints' | 'taskTakenOver' | 'taskProgress' | 'chooseDataFiles'> {
    return {
      taskProgress: (done: number, total: number) => this.testProgress(done, total),
      taskShow: (title: string, cases: number) => {
        this.clear();
        setLine(this.title, this.c.lbTaskTitleName, title);
        this.cases = Array.from({ length: cases }, () => ['', 0, ''] as [string, number, string]);
        this.scroller.scrollTop = 0;
        this.scheduleDraw();
      },
      taskCase: (row: number, name: string, points: number, inputs: string) => {
        this.cases[row] = [name, points, inputs];
        this.scheduleDraw();
      },
      taskSelect: (row: number) => this.show(row),
      taskButtons: (test: boolean, takeOver: boolean) => {
        this.test.disabled = !test;
        this.takeOver.disabled = !takeOver;
      },
      taskResult: (row: number, passed: boolean, text: string) => {
        this.results.push([row, passed, text]);
        if (!this.testing) this.showResults();
      },
      taskPoints: (text: string) => {
        this.showResults();  // every case has its result now
        setLine(this.points, this.c.lbPointsName, text);
      },
      taskTakenOver: (text: string) => setLine(this.inputs, this.c.lbInputsName, text),
      chooseDataFiles: async (names: string, maxBytes: number) => {
        const files = await this.chooseDataFiles(names.split('\n'), maxBytes);
        return files === null ? null : files.map(([path, relative]) => `${path}\t${relative}`).join('\n');
      },
    };
  }

  // The data files the task names, asked for by name: chosen as files, all at once, or as the
  // folder that holds them, whose paths tell apart two files of one name in different folders.
  // A click opens the picker (a browser opens one only on a click).
  private chooseDataFiles(names: string[], maxBytes: number): Promise<Array<[string, string]> | null> {
    return new Promise((resolve, reject) => {
      const opener = document.activeElement as HTMLElement | null;
      const overlay = el('div', 'overlay');
      const dialog = el('div', 'dialog');
      dialog.setAttribute('role', 'dialog');
      dialog.setAttribute('aria-modal', 'true');
      dialog.setAttribute('aria-label', 'Datendateien der Aufgabe');
      const bar = el('div', 'title');
      bar.append(el('span', '', 'Datendateien der Aufgabe'));
      const body = el('div', 'body');
      const message = el('div', 'message',
        `Die Aufgabe braucht ${names.length === 1 ? 'diese Datendatei' : 'diese Datendateien'}:\n${names.join('\n')}\n\n` +
        'Bitte im nächsten Fenster alle zusammen auswählen.');
      body.append(message);
      const buttons = el('div', 'buttons');
      const choose = el('button', '', 'Auswählen…');
      const folder = el('button', '', 'Ordner wählen…');
      folder.title = 'Den Ordner der Aufgabe wählen: gleichnamige Datendateien in verschiedenen Ordnern werden an ihrem Ort erkannt.';
      const cancel = el('button', '', 'Abbrechen');
      buttons.append(choose, folder, cancel);
      dialog.append(bar, body, buttons);
      overlay.append(dialog);
      document.body.append(overlay);
      const picker = (directory: boolean) => {
        const input = el('input');
        input.type = 'file';
        input.multiple = true;
        if (directory) input.webkitdirectory = true;
        else input.accept = '.dta';
        input.style.display = 'none';
        overlay.append(input);
        // A file that cannot be read fails the call: the core shows it and goes on.
        input.addEventListener('change', () => {
          this.stage(Array.from(input.files ?? []), names, maxBytes).then(done, (error) => {
            close();
            reject(error);
          });
        });
        input.click();
      };
      const close = () => {
        overlay.remove();
        if (opener?.isConnected) opener.focus();
      };
      const done = (files: Array<[string, string]> | null) => {
        close();
        resolve(files);
      };
      cancel.addEventListener('click', () => done(null));
      overlay.addEventListener('keydown', (event) => {
        if (event.key === 'Escape') done(null);
        event.stopPropagation();
      });
      choose.addEventListener('click', () => picker(false));
      folder.addEventListener('click', () => picker(true));
      choose.focus();
    });
  }

  // Each chosen file into a folder of its own, so that two of one name both stay; of a folder
  // only the files named like a data file of the task. Of a file beyond the core's limit only
  // enough is read for the core to refuse it with its own message.
  private async stage(files: File[], names: string[], maxBytes: number): Promise<Array<[string, string]>> {
    this.removeTree(kStagingFolder);
    this.fs.mkdir(kStagingFolder);
    const wanted = new Set(names.map((name) => name.split(/[\\/]/).pop()!.toLowerCase()));
    const staged: Array<[string, string]> = [];
    for (const file of files) {
      const relative = file.webkitRelativePath ?? '';
      if (relative !== '' && !wanted.has(file.name.toLowerCase())) continue;
      const folder = `${kStagingFolder}/${staged.length + 1}`;
      this.fs.mkdir(folder);
      const path = `${folder}/${safeName(file.name) || 'datei.dta'}`;
      this.fs.writeFile(path, new Uint8Array(await file.slice(0, maxBytes).arrayBuffer()));
      staged.push([path, relative.replace(/[\t\r\n]/g, '_')]);
    }
    return staged;
  }

  private removeTree(path: string): void {
    let entries: string[];
    try {
      entries = this.fs.readdir(path);
    } catch {
      return;  // not there
    }
    for (const name of entries) {
      if (name === '.' || name === '..') continue;
      const inner = `${path}/${name}`;
      if (this.fs.isDir(this.fs.stat(inner).mode)) this.removeTree(inner);
      else this.fs.unlink(inner);
    }
    this.fs.rmdir(path);
  }
}
