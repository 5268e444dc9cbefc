// The panel "Aufgabe": a teacher's task beside the window, its cases tested on the editor's
// program and one of them taken over into the table. The core reads, tests and takes over;
// this panel shows what it reports and picks the task's data files.
import type { PageCalls } from './boundary';
import { core } from './core';
import { MovablePanel } from './movable_panel';

const kStagingFolder = '/Aufgabe-Daten';

function el<K extends keyof HTMLElementTagNameMap>(tag: K, cls?: string, text?: string): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined) e.textContent = text;
  return e;
}

// The window's captions mark their access key with "&"; the panel's buttons show them plain.
function panelButton(caption: string, tip: string, action: () => void): HTMLButtonElement {
  const b = el('button', '', caption.replace('&', ''));
  b.type = 'button';
  b.title = tip;
  b.addEventListener('click', action);
  return b;
}

export class TaskPanel extends MovablePanel {
  private readonly title: HTMLDivElement;
  private readonly rows: HTMLTableSectionElement;
  private readonly points: HTMLDivElement;
  private readonly inputs: HTMLDivElement;
  private readonly test: HTMLButtonElement;
  private readonly takeOver: HTMLButtonElement;
  private selected = -1;
  private fs: any;

  // `c`: the window's captions, as the core hands them to the page.
  constructor(fs: any, c: Record<string, string>) {
    super(c.frmAufgabe, 'help task');
    this.fs = fs;

    this.title = el('div', 'task-title', c.lbTaskNone);
    this.title.setAttribute('role', 'heading');
    this.title.setAttribute('aria-level', '2');
    this.title.setAttribute('aria-label', c.lbTaskTitleName);

    const scroller = el('div', 'task-cases');
    const table = el('table');
    table.setAttribute('role', 'grid');
    table.setAttribute('aria-label', c.twCasesName);
    const head = el('thead');
    const headRow = el('tr');
    for (const caption of [c.colCase, c.colPoints, c.colInputs, c.colResult]) headRow.append(el('th', '', caption));
    head.append(headRow);
    this.rows = el('tbody');
    table.append(head, this.rows);
    scroller.append(table);
    this.rows.addEventListener('click', (event) => this.select(this.rowOf(event)));
    this.rows.addEventListener('dblclick', (event) => {
      this.select(this.rowOf(event));
      void this.takeOverSelected();
    });
    this.rows.addEventListener('keydown', (event) => {
      const count = this.rows.rows.length;
      if (event.key === 'ArrowDown' && this.selected + 1 < count) this.select(this.selected + 1, true);
      else if (event.key === 'ArrowUp' && this.selected > 0) this.select(this.selected - 1, true);
      else if (event.key === 'Enter') void this.takeOverSelected();
      else return;
      event.preventDefault();
    });

    this.points = el('div', 'task-line');
    this.points.setAttribute('role', 'status');
    this.points.setAttribute('aria-label', c.lbPointsName);
    this.inputs = el('div', 'task-line');
    this.inputs.setAttribute('role', 'status');
    this.inputs.setAttribute('aria-label', c.lbInputsName);

    const buttons = el('div', 'task-buttons');
    const load = panelButton(c.btTaskLoad, c.btTaskLoadTip, () => void core.qz_task_load());
    this.test = panelButton(c.btTaskTest, c.btTaskTestTip, () => void core.qz_task_test());
    this.takeOver = panelButton(c.btTaskTakeOver, c.btTaskTakeOverTip, () => void this.takeOverSelected());
    buttons.append(load, this.test, this.takeOver);

    this.panel.append(this.titleBar, this.title, scroller, this.points, this.inputs, buttons);
    this.open(240, 140);
    this.updateButtons();
  }

  private rowOf(event: Event): number {
    const row = (event.target as HTMLElement).closest('tr');
    return row ? row.sectionRowIndex : -1;
  }

  private select(row: number, focus = false): void {
    if (row < 0) return;
    this.selected = row;
    Array.from(this.rows.rows).forEach((r, i) => {
      r.setAttribute('aria-selected', String(i === row));
      r.tabIndex = i === row ? 0 : -1;
    });
    if (focus) this.rows.rows[row].focus();
    this.updateButtons();
  }

  private async takeOverSelected(): Promise<void> {
    if (this.selected >= 0) await core.qz_task_take_over(this.selected);
  }

  private updateButtons(): void {
    const count = this.rows.rows.length;
    this.test.disabled = count === 0;
    this.takeOver.disabled = count === 0 || this.selected < 0;
  }

  // The page's side of the core's task calls.
  answers(): Pick<PageCalls, 'taskShow' | 'taskCase' | 'taskResult' | 'taskPoints' | 'taskTakenOver' | 'chooseDataFiles'> {
    return {
      taskShow: (title: string, cases: number) => {
        this.title.textContent = title;
        this.points.textContent = '';
        this.inputs.textContent = '';
        this.rows.replaceChildren();
        for (let i = 0; i < cases; ++i) {
          const row = el('tr');
          row.setAttribute('role', 'row');
          for (let c = 0; c < 4; ++c) row.append(el('td', c === 1 ? 'number' : ''));
          this.rows.append(row);
        }
        this.selected = -1;
        if (cases > 0) this.select(0);
        this.updateButtons();
      },
      taskCase: (row: number, name: string, points: number, inputs: string) => {
        const cells = this.rows.rows[row].cells;
        cells[0].textContent = name;
        cells[1].textContent = String(points);
        cells[2].textContent = inputs;
      },
      taskResult: (row: number, passed: boolean, text: string) => {
        const cell = this.rows.rows[row].cells[3];
        cell.textContent = text;
        cell.title = text;
        cell.className = passed ? 'passed' : 'failed';
      },
      taskPoints: (text: string) => {
        this.points.textContent = text;
      },
      taskTakenOver: (text: string) => {
        this.inputs.textContent = text;
      },
      chooseDataFiles: async (names: string, maxBytes: number) => {
        const paths = await this.chooseDataFiles(names.split('\n'), maxBytes);
        return paths === null ? null : paths.join('\n');
      },
    };
  }

  // The browser hands a page no folder: the data files the task names are asked for by name,
  // all at once. A click on "Auswählen…" opens the picker (a browser opens one only on a click).
  private chooseDataFiles(names: string[], maxBytes: number): Promise<string[] | null> {
    return new Promise((resolve, reject) => {
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
      const cancel = el('button', '', 'Abbrechen');
      buttons.append(choose, cancel);
      dialog.append(bar, body, buttons);
      overlay.append(dialog);
      document.body.append(overlay);
      const input = el('input');
      input.type = 'file';
      input.multiple = true;
      input.accept = '.dta';
      input.style.display = 'none';
      overlay.append(input);
      const done = (paths: string[] | null) => {
        overlay.remove();
        resolve(paths);
      };
      cancel.addEventListener('click', () => done(null));
      overlay.addEventListener('keydown', (event) => {
        if (event.key === 'Escape') done(null);
        event.stopPropagation();
      });
      choose.addEventListener('click', () => input.click());
      // A file that cannot be read fails the call: the core shows it and goes on.
      input.addEventListener('change', () => {
        this.stage(Array.from(input.files ?? []), maxBytes).then(done, (error) => {
          overlay.remove();
          reject(error);
        });
      });
      choose.focus();
    });
  }

  // Each chosen file into a folder of its own; of a file beyond the core's limit only enough is
  // read for the core to refuse it with its own message.
  private async stage(files: File[], maxBytes: number): Promise<string[]> {
    try {
      for (const name of this.fs.readdir(kStagingFolder)) {
        if (name !== '.' && name !== '..') this.fs.unlink(`${kStagingFolder}/${name}`);
      }
    } catch {
      this.fs.mkdir(kStagingFolder);
    }
    const paths: string[] = [];
    for (const file of files) {
      const bytes = new Uint8Array(await file.slice(0, maxBytes).arrayBuffer());
      const path = `${kStagingFolder}/${file.name.replace(/[\\/]/g, '_')}`;
      this.fs.writeFile(path, bytes);
      paths.push(path);
    }
    return paths;
  }
}
