// The page: builds the window's controls from the names, captions and numbers the core hands
// over at start, places them with the core's own layout function, answers the core's calls for
// its views and turns clicks, keys and timer ticks into the core's commands.
import iconNew from 'lucide-static/icons/file-plus.svg';
import iconLoad from 'lucide-static/icons/folder-open.svg';
import iconSave from 'lucide-static/icons/save.svg';
import iconHtml from 'lucide-static/icons/file-code.svg';
import iconView from 'lucide-static/icons/layout-grid.svg';
import iconHelp from 'lucide-static/icons/circle-help.svg';
import iconExit from 'lucide-static/icons/log-out.svg';

import { CloseResult, type PageSetup } from './boundary';
import { BoundaryError, type PageAnswers, answerPageCalls, core, detach, fileSystem, guarded, isBusy, onCommandDone, pageAnswers, startCore, whenIdle } from './core';
import { askNumber, askYesNo, showMessage } from './dialogs';
import { ProgramEditor } from './editor';
import { chooseFileToOpen, chooseFileToSave, downloadCount, finishSave, forgetUnfinishedSaves, initFiles } from './files';
import { DataTableView } from './table';
import { MemoryPicture } from './picture';
import { HelpPanel } from './help';
import { TaskPanel } from './task_panel';
import { keepWork, restoreWork, forgetWork, holdWork, leaveWork, showNote } from './storage';
import { refuseUnsavableCharacters } from './typed_text';

let setup: PageSetup;
let captions: Record<string, string> = {};
const controls = new Map<string, HTMLElement>();
let editor: ProgramEditor;
let table: DataTableView;
let picture: MemoryPicture;
let help: HelpPanel;
let task: TaskPanel;
let graphicalView = false;
const timers: Array<number | undefined> = [];
let registers: HTMLInputElement[] = [];
const radios: HTMLInputElement[] = [];

function el<K extends keyof HTMLElementTagNameMap>(tag: K, id?: string): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  if (id) {
    e.id = id;
    controls.set(id, e);
  }
  return e;
}

// A caption with "&" before its access key: the letter underlined, the key set where the
// browser lets a page have it (Alt and the letter, or Alt+Shift in some browsers).
function label(target: HTMLElement, caption: string): void {
  const index = caption.indexOf('&');
  const plain = caption.replace('&', '');
  if (index >= 0 && index + 1 < caption.length) {
    const key = caption[index + 1];
    target.append(caption.slice(0, index));
    const u = document.createElement('u');
    u.textContent = key;
    target.append(u, caption.slice(index + 2));
    target.accessKey = key.toLowerCase();
  } else {
    target.append(plain);
  }
  target.setAttribute('aria-label', plain);
}

function group(id: string, caption: string, parent: HTMLElement, name = caption): HTMLDivElement {
  const box = el('div', id);
  box.className = 'group';
  box.setAttribute('role', 'group');
  box.setAttribute('aria-label', name);
  const frame = document.createElement('div');
  frame.className = 'frame';
  box.append(frame);
  if (caption) {
    const title = document.createElement('span');
    title.className = 'caption';
    title.textContent = caption;
    title.setAttribute('aria-hidden', 'true');
    box.append(title);
  }
  parent.append(box);
  return box;
}

function button(id: string, caption: string, parent: HTMLElement, action: () => void, icon?: string): HTMLButtonElement {
  const b = el('button', id);
  b.type = 'button';
  if (icon) {
    b.className = 'command';
    const picture = document.createElement('span');
    picture.className = 'icon';
    picture.setAttribute('aria-hidden', 'true');
    picture.innerHTML = icon.replace(/<!--[^>]*-->/g, '');
    b.append(picture);
    const textSpan = document.createElement('span');
    label(textSpan, caption);
    b.append(textSpan);
    b.accessKey = textSpan.accessKey;
    textSpan.accessKey = '';
    b.setAttribute('aria-label', textSpan.getAttribute('aria-label')!);
    textSpan.removeAttribute('aria-label');
  } else {
    label(b, caption);
  }
  b.addEventListener('click', () => {
    if (!isBusy()) action();
  });
  parent.append(b);
  return b;
}

function registerField(id: string, boxId: string, caption: string, parent: HTMLElement): void {
  const box = group(boxId, caption, parent);
  const field = el('input', id);
  field.readOnly = true;
  field.tabIndex = -1;
  field.className = 'register';
  field.setAttribute('aria-label', caption);
  field.value = '0';
  box.append(field);
}

// The click of a command button: the core's command of that name, as the core numbers it.
function command(name: string): () => void {
  const which = setup.commands[name];
  if (which === undefined) throw new BoundaryError(`Der Kern kennt den Befehl ${name} nicht.`);
  return () => void core.qz_command(which);
}

function buildWindow(app: HTMLElement): void {
  const c = captions;
  const gbProgram = group('gbProgram', c.gbProgram, app);
  editor = new ProgramEditor(el('div', 'meProgram'));
  gbProgram.append(editor.box);

  const gbData = group('gbData', c.gbData, app);
  table = new DataTableView(el('div', 'sgData'), setup.table);
  gbData.append(table.box);

  const gbGraphical = group('gbDataGraphical', c.gbData, app);
  gbGraphical.hidden = true;
  const canvas = el('canvas', 'pbMemory');
  canvas.setAttribute('aria-label', c.pbMemory);
  canvas.setAttribute('role', 'img');
  gbGraphical.append(canvas);
  const hover: HTMLInputElement[] = [];
  for (const [id, tip] of [['enumber', c.enumberTip], ['evalue', c.evalueTip], ['ecomment', c.ecommentTip]]) {
    const field = el('input', id);
    field.readOnly = true;
    field.tabIndex = -1;
    field.className = 'hover';
    field.title = tip;
    field.setAttribute('aria-label', tip);
    gbGraphical.append(field);
    hover.push(field);
  }
  picture = new MemoryPicture(canvas, hover, setup.colours, setup.framePenWidth);

  const gbVM = group('gbVMInspector', c.gbVMInspector, app);
  registerField('ebAccu', 'gbVMAccu', c.gbVMAccu, gbVM);
  registerField('ebWindow', 'gbVMWindow', c.gbVMWindow, gbVM);
  registerField('ebIndex', 'gbVMIndex', c.gbVMIndex, gbVM);
  registerField('ebIP', 'gbVMIP', c.gbVMIP, gbVM);
  registerField('ebSP', 'gbVMSP', c.gbVMSP, gbVM);
  // In the order of the core's register numbers.
  registers = setup.registerFields.map((name) => controls.get(name) as HTMLInputElement);
  (controls.get('ebSP') as HTMLInputElement).value = '512';

  const gbFlow = group('gbFlowControl', c.gbFlowControl, app);
  button('btCheck', c.btCheck, gbFlow, command('Check'));
  button('btRun', c.btRun, gbFlow, command('Run'));
  const gbSpeed = group('gbSpeed', c.gbSpeed, gbFlow);
  gbSpeed.setAttribute('role', 'radiogroup');
  // In the order of the core's speed numbers.
  setup.speedButtons.forEach((id, speed) => {
    const wrap = el('label', id);
    wrap.className = 'radio';
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = 'speed';
    radio.checked = speed === 0;
    radio.setAttribute('aria-label', c[id]);
    radio.addEventListener('change', () => {
      if (!radio.checked) return;
      if (isBusy()) return;
      void core.qz_speed(speed);
    });
    wrap.append(radio, c[id]);
    gbSpeed.append(wrap);
    radios.push(radio);
  });
  button('btStep', c.btStep, gbFlow, command('Step'));
  const back = button('btBack', c.btBack, gbFlow, command('Back'));
  back.title = c.btBackTip;
  back.disabled = true;
  const steps = el('div', 'lbSteps');
  steps.setAttribute('role', 'status');
  steps.setAttribute('aria-label', 'Schritte');
  steps.title = c.lbStepsTip;
  steps.textContent = `${c.lbStepsPrefix}0`;
  gbFlow.append(steps);
  button('btAufgabe', c.btAufgabe, gbFlow, () => task.toggle()).title = c.btAufgabeTip;

  const gbFile = group('gbFile', '', app, c.gbFile);
  button('btNew', c.btNew, gbFile, command('New'), iconNew);
  button('btLoad', c.btLoad, gbFile, command('Load'), iconLoad);
  button('btSave', c.btSave, gbFile, command('Save'), iconSave);
  button('btHTML', c.btHTML, gbFile, () => void core.qz_html(today()), iconHtml);
  button('btView', c.btView, gbFile, toggleView, iconView);
  button('btHelp', c.btHelp, gbFile, () => help.toggle(), iconHelp);
  button('btExit', c.btExit, gbFile, () => detach(exit()), iconExit);
}

// Today's date in the user's short format, as the window's export writes it.
function today(): string {
  return new Intl.DateTimeFormat(navigator.language || 'de-DE', { dateStyle: 'short' }).format(new Date());
}

function toggleView(): void {
  graphicalView = !graphicalView;
  controls.get('gbDataGraphical')!.hidden = !graphicalView;
  controls.get('gbData')!.hidden = graphicalView;
  if (graphicalView) picture.paint();
}

// "Ende": the kept copy of the work goes only when every part was saved for certain or let go;
// a file that went to the download folder may not have arrived, so the copy stays then.
async function exit(): Promise<void> {
  const downloads = downloadCount();
  holdWork(true);
  try {
    const closed = await core.qz_close();
    if (closed === undefined || closed === CloseResult.Stayed) return;
    editor.clearMarks();
    help.hide();
    task.clear();
    if (graphicalView) toggleView();
    if (closed === CloseResult.AllSettled && downloadCount() === downloads) forgetWork();
    else leaveWork();
  } finally {
    holdWork(false);
  }
}

// The core's layout function, for the page's client size (at least 800 x 600; a smaller
// window scrolls).
export function layoutRects(width: number, height: number): Record<string, [number, number, number, number]> {
  return JSON.parse(core.qz_layout(width, height));
}

function clientSize(): [number, number] {
  return [Math.max(800, document.documentElement.clientWidth), Math.max(600, document.documentElement.clientHeight)];
}

const layOut = guarded((): void => {
  layoutPending = false;
  const [width, height] = clientSize();
  const app = document.getElementById('app')!;
  app.style.width = `${width}px`;
  app.style.height = `${height}px`;
  const rects = layoutRects(width, height);
  for (const [name, [left, top, w, h]] of Object.entries(rects)) {
    const e = controls.get(name)!;
    e.style.left = `${left}px`;
    e.style.top = `${top}px`;
    e.style.width = `${w}px`;
    e.style.height = `${h}px`;
  }
  table.applyColumnWidths();
  editor.view.requestMeasure();
  picture.resize(rects.pbMemory[2], rects.pbMemory[3]);
});

// A resize, a zoom or a turn of the tablet while a box waits for the user is laid out once the
// command is over: the core is inside the command until then.
let layoutPending = false;
function applyLayout(): void {
  if (layoutPending) return;
  layoutPending = true;
  whenIdle(layOut);
}

function runTimer(index: number): void {
  if (isBusy()) return;  // a tick while the core waits for the user is dropped, as a busy event loop would
  void core.qz_timer(index);
}

// The page's side of the core's views.
function viewAnswers(): Omit<PageAnswers, keyof ReturnType<TaskPanel['answers']>> {
  return {
    setEditorText: (value: string, clearMarks: boolean) => editor.setText(value, clearMarks),
    deleteEditorLine: (line: number) => editor.deleteLine(line),
    setEditorFirstLine: (line: number) => editor.setFirstLine(line),
    editorFirstLine: () => editor.firstLine(),
    selectEditorLine: (line: number) => editor.selectLine(line),
    editorCaretToEnd: () => editor.caretToEnd(),
    editorHasBreakpoint: (line: number) => editor.hasMark(line),
    setEditorBreakpoint: (line: number, on: boolean) => editor.setMark(line, on),
    setEditorReadOnly: (on: boolean) => editor.setReadOnly(on),
    showCurrentLine: (line: number) => editor.showCurrentLine(line),
    showRowAtTop: (row: number) => table.showRowAtTop(row),
    setTableEditable: (on: boolean) => table.setEditable(on),
    showRow: (row: number, value: string, comment: string) => table.showRow(row, value, comment),
    paintPicture: (numbers: Int32Array, squares: number) => picture.draw(numbers, squares),
    showRegister: (which: number, value: number) => {
      registers[which].value = String(value);
    },
    setRunCaption: (caption: string) => {
      controls.get('btRun')!.textContent = caption;
      controls.get('btRun')!.setAttribute('aria-label', caption);
    },
    setStepEnabled: (on: boolean) => {
      (controls.get('btStep') as HTMLButtonElement).disabled = !on;
    },
    setBackEnabled: (on: boolean) => {
      (controls.get('btBack') as HTMLButtonElement).disabled = !on;
    },
    setTimerEnabled: (index: number, on: boolean, interval: number) => {
      if (!on) {
        window.clearInterval(timers[index]);
        timers[index] = undefined;
      } else if (timers[index] === undefined) {
        timers[index] = window.setInterval(() => runTimer(index), interval);  // a running timer keeps its phase
      }
    },
    showStepCount: (steps: number) => {
      controls.get('lbSteps')!.textContent = `${captions.lbStepsPrefix}${steps}`;
    },
    showSpeed: (speed: number) => {
      radios[speed].checked = true;
    },
    showMessage,
    showNote,
    askYesNo,
    chooseFileToOpen,
    chooseFileToSave,
    finishSave,
    askNumber,
  };
}

function wireEditor(): void {
  editor.isBusy = isBusy;
  editor.accepts = guarded(core.qz_program_fits);
  editor.refused = () => void core.qz_refuse_text();
  editor.acceptsText = guarded(core.qz_accept_typed);
  editor.edited = guarded((value) => {
    core.qz_program_changed(value);
    keepWork(false);
  });
  editor.toggled = guarded((line) => {
    if (!isBusy()) core.qz_toggle_breakpoint(line);
  });
  editor.view.contentDOM.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    showContextMenu(event.clientX, event.clientY, editor.lineAt(event.clientX, event.clientY));
  });
}

function showContextMenu(x: number, y: number, line: number): void {
  document.querySelector('.context-menu')?.remove();
  const menu = document.createElement('div');
  menu.className = 'context-menu';
  menu.setAttribute('role', 'menu');
  const item = document.createElement('button');
  item.setAttribute('role', 'menuitem');
  item.textContent = captions.actBreakpoint;
  item.title = captions.actBreakpointTip;
  item.addEventListener('click', () => {
    menu.remove();
    editor.toggled(line);
  });
  menu.append(item);
  menu.style.left = `${x}px`;
  menu.style.top = `${y}px`;
  document.body.append(menu);
  item.focus();
  const close = (event: Event) => {
    if (!menu.contains(event.target as Node)) {
      menu.remove();
      document.removeEventListener('mousedown', close, true);
    }
  };
  document.addEventListener('mousedown', close, true);
  menu.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') menu.remove();
  });
}

// The core's colours and the table's geometry, for the style sheet.
function applyLook(): void {
  const style = document.documentElement.style;
  const { colours, table: t } = setup;
  style.setProperty('--qz-face', colours.face);
  style.setProperty('--qz-breakpoint', colours.breakpoint);
  style.setProperty('--qz-current-line-arrow', colours.currentLineArrow);
  style.setProperty('--qz-passed', colours.passed);
  style.setProperty('--qz-failed', colours.failed);
  style.setProperty('--qz-row-height', `${t.rowHeight}px`);
  document.title = `Quarzel ${setup.version}`;
}

async function main(): Promise<void> {
  setup = await startCore();
  captions = setup.captions;
  applyLook();
  const fs = fileSystem();
  initFiles(fs);
  task = new TaskPanel(fs, captions);
  const app = document.getElementById('app')!;
  buildWindow(app);
  for (const name of setup.layoutFields) {
    if (!controls.has(name)) throw new BoundaryError(`Die Seite hat kein Element ${name}.`);
  }
  help = new HelpPanel(captions.frmHilfe, core.qz_reference_text().replace(/\n$/, ''));
  wireEditor();
  table.onTyped = guarded((column, row, value) => {
    core.qz_cell_typed(column, row, value);
    keepWork(false);
  });
  table.onEdited = guarded((column, row, value) => {
    core.qz_cell_edited(column, row, value);
    keepWork(false);
  });
  table.isBusy = isBusy;
  const cellAt = guarded(core.qz_cell_at);
  const cellText = guarded(core.qz_cell_text);
  picture.cellAt = (x, y) => cellAt(x, y) ?? 0;
  picture.cellText = (column, row) => cellText(column, row) ?? '';
  picture.resized = guarded(core.qz_picture_size);
  picture.isBusy = isBusy;
  // A button press first hands an open cell editor's text to the core.
  document.addEventListener('pointerdown', () => table.commitPending(), true);
  onCommandDone(forgetUnfinishedSaves);
  onCommandDone(() => keepWork(true));

  answerPageCalls({ ...viewAnswers(), ...task.answers() });
  core.qz_init();
  applyLayout();
  window.addEventListener('resize', applyLayout);
  refuseUnsavableCharacters(table.table, isBusy, guarded(core.qz_accept_typed));
  // A record longer than this many characters cannot be one the core wrote.
  await restoreWork(core.qz_kept_work(), Math.floor(setup.textLimits.RecordText / 3));
  const unsaved = guarded(() => {
    keepWork(false);
    return core.qz_unsaved();
  });
  window.addEventListener('beforeunload', (event) => {
    // While a command waits for an answer the core takes no call; a question open counts as unsaved.
    if (isBusy() || unsaved() !== false) {
      event.preventDefault();
      event.returnValue = '';
    }
  });
  document.body.dataset.readyMs = String(Math.round(performance.now()));
  document.body.dataset.ready = 'true';
}

// Tests and figures reach the layout function and the readiness through this.
(window as any).quarzel = {
  layoutRects,
  controls,
  program: () => editor.text,
  programSelection: () => editor.selection(),
  programReadOnly: () => editor.isReadOnly,
  breakpoints: () => editor.marks(),
  setCaret: (offset: number) => editor.setCaret(offset),
  firstLine: () => editor.firstLine(),
  // The page's answers to the core's calls: a scenario makes one fail to see the page survive.
  pageCalls: pageAnswers,
};

void main().catch((error) => {
  document.body.textContent = `Quarzel konnte nicht gestartet werden: ${error}`;
});
