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
import iconExamples from 'lucide-static/icons/library.svg';

import { CloseResult, type PageSetup } from './boundary';
import { BoundaryError, type PageAnswers, answerPageCalls, core, detach, fileSystem, guarded, isBusy, onCommandDone, pageAnswers, startCore, whenIdle } from './core';
import { askNumber, askYesNo, chooseExample, showMessage } from './dialogs';
import { ProgramEditor } from './editor';
import { chooseFileToOpen, chooseFileToSave, downloadCount, finishSave, forgetUnfinishedSaves, initFiles } from './files';
import { DataTableView } from './table';
import { MemoryPicture } from './picture';
import { HelpPanel } from './help';
import { plainCaption } from './movable_panel';
import { TaskPanel } from './task_panel';
import { HistoryControls } from './history';
import { ProtocolPanel } from './protocol_panel';
import { RunPace } from './run_pace';
import { SentenceLine } from './sentence';
import { keepTyped, keepWork, restoreWork, typingUnkept, forgetWork, holdWork, leaveWork, showNote } from './storage';
import { refuseUnsavableCharacters } from './typed_text';

let setup: PageSetup;
let captions: Record<string, string> = {};
const controls = new Map<string, HTMLElement>();
let editor: ProgramEditor;
let table: DataTableView;
let picture: MemoryPicture;
let help: HelpPanel | undefined;
let task: TaskPanel;
let protocol: ProtocolPanel;
let sentence: SentenceLine;
let history: HistoryControls;
let runPace: RunPace;
let graphicalView = false;
const timers: Array<number | undefined> = [];
// The core makes the editor read-only exactly while a run goes on; its timer may tick on after
// the run ended (at STP), until the speed changes.
let runGoing = false;
const timedRunGoing = (): boolean => runGoing && timers.some((timer) => timer !== undefined);
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
  buildLearnControls(gbFlow);

  const gbFile = group('gbFile', '', app, c.gbFile);
  button('btNew', c.btNew, gbFile, command('New'), iconNew);
  button('btLoad', c.btLoad, gbFile, command('Load'), iconLoad);
  button('btSave', c.btSave, gbFile, command('Save'), iconSave);
  button('btHTML', c.btHTML, gbFile, () => void core.qz_html(today()), iconHtml);
  button('btView', c.btView, gbFile, toggleView, iconView);
  button('btHelp', c.btHelp, gbFile, () => helpPanel().toggle(), iconHelp);
  button('btExit', c.btExit, gbFile, () => detach(exit()), iconExit);
  const examples = button('btExamples', c.btExamples, gbFile, command('Examples'), iconExamples);
  examples.title = c.btExamplesTip;
  fitExamplesCaption(examples);
}

// The run's learning aids: "Protokoll" in the run panel, the line "Was geschah" (placed in the
// box the layout names), and "Verlauf" with "Zurück bis Haltepunkt" heading the protocol panel,
// as in the window's protocol window; their access keys work while the panel is in use.
function buildLearnControls(gbFlow: HTMLElement): void {
  const c = captions;
  button('btProtocol', c.btProtocol, gbFlow, () => protocol.toggle()).title = c.btProtocolPanelTip;
  runPace = new RunPace(setup.reportPaceMs, timedRunGoing);
  const due = (draw: () => void): void => runPace.due(draw);
  const line = el('div', 'lbSentence');
  gbFlow.append(line);
  sentence = new SentenceLine(line, due);

  const head = document.createElement('div');
  head.className = 'protocol-history';
  const caption = document.createElement('label');
  label(caption, c.lbHistory);
  const sliderKey = caption.accessKey;
  caption.accessKey = '';
  caption.removeAttribute('aria-label');
  caption.htmlFor = 'tbHistory';
  const slider = el('input', 'tbHistory');
  const back = button('btBackToBreakpoint', c.btBackToBreakpoint, head, () => void core.qz_back_to_breakpoint());
  const backKey = back.accessKey;
  back.accessKey = '';
  back.title = c.btBackToBreakpointTip;
  head.prepend(caption, slider);
  history = new HistoryControls(slider, back, c.tbHistory, c.tbHistoryTip, due);
  protocol = new ProtocolPanel({
    caption: c.frmProtocol,
    columns: setup.traceColumns,
    exportCaption: c.btTraceExport,
    formatCaption: c.cbTraceFormat,
    empty: c.lbTraceEmpty,
  }, { row: head, keys: [[slider, sliderKey], [back, backKey]] }, setup.table.rowHeight, due);
}

// "Beispiele" narrower than the other command buttons (800 x 600): its caption on two lines
// under a smaller icon, so that it is read whole. The accessible name stays "Beispiele".
function fitExamplesCaption(examples: HTMLButtonElement): void {
  const text = examples.lastElementChild as HTMLSpanElement;
  new ResizeObserver(() => {
    const narrow = examples.offsetWidth < controls.get('btExit')!.offsetWidth;
    const caption = narrow ? captions.btExamplesNarrow : captions.btExamples;
    if (text.dataset.caption === caption) return;
    text.dataset.caption = caption;
    examples.classList.toggle('narrow', narrow);
    text.textContent = '';
    label(text, caption);
    text.removeAttribute('aria-label');
    text.accessKey = '';
  }).observe(examples);
}

// Today's date in the user's short format, as the window's export writes it. A browser may name
// a language that is no language tag (WebKitGTK under the C locale says "C"): then German.
function today(): string {
  const date = new Date();
  try {
    return new Intl.DateTimeFormat(navigator.language || 'de-DE', { dateStyle: 'short' }).format(date);
  } catch {
    return new Intl.DateTimeFormat('de-DE', { dateStyle: 'short' }).format(date);
  }
}

function toggleView(): void {
  graphicalView = !graphicalView;
  controls.get('gbDataGraphical')!.hidden = !graphicalView;
  controls.get('gbData')!.hidden = graphicalView;
  picture.shown = graphicalView;
  if (graphicalView) picture.paint();
  else table.forgetPlace();
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
    help?.hide();
    protocol.hide();
    task.clear();
    if (graphicalView) toggleView();
    if (closed === CloseResult.AllSettled && downloadCount() === downloads) forgetWork();
    else leaveWork();
  } finally {
    holdWork(false);
  }
}

// The core's layout function, for the page's client size: from 800 pixels of width the window's
// form (a client lower than 600 pixels scrolls), below that (and on a touch screen) the narrow
// form, one column with the run panel fixed at the bottom of the screen.
export interface PageLayout {
  narrow: boolean;
  runPanelFixed: boolean;
  width: number;
  height: number;
  rects: Record<string, [number, number, number, number]>;
  // The box the line "Was geschah" lies in: the command group, or the narrow form's bar.
  sentenceBox: string;
}

// A finger rather than a mouse: the narrow form at any width, for its touch-sized controls.
const coarsePointer = window.matchMedia('(pointer: coarse)');

export function pageLayout(width: number, height: number, touch = coarsePointer.matches): PageLayout {
  return JSON.parse(core.qz_layout(width, height, touch));
}

export function layoutRects(width: number, height: number): PageLayout['rects'] {
  return pageLayout(width, height).rects;
}

// The form follows the window's width with its scrollbar: a vertical scrollbar alone never
// turns the window's form into the narrow one (which would then need none, and the page would
// flip between the two). Where the scrollbar leaves less than the window's form needs, the page
// is laid out at the window's width and scrolls sideways by the scrollbar's width, as before.
function clientSize(): [number, number] {
  const root = document.documentElement;
  const height = root.clientHeight;
  if (!pageLayout(window.innerWidth, height).narrow && pageLayout(root.clientWidth, height).narrow) {
    return [window.innerWidth, height];
  }
  return [root.clientWidth, height];
}

function place(width: number, height: number): void {
  const layout = pageLayout(width, height);
  document.body.classList.toggle('narrow', layout.narrow);
  controls.get('gbFlowControl')!.classList.toggle('fixed', layout.runPanelFixed);
  const app = document.getElementById('app')!;
  app.style.width = `${layout.width}px`;
  app.style.height = `${layout.height}px`;
  const { rects } = layout;
  const sentenceBox = controls.get(layout.sentenceBox)!;
  const line = controls.get('lbSentence')!;
  if (line.parentElement !== sentenceBox) sentenceBox.append(line);
  for (const [name, [left, top, w, h]] of Object.entries(rects)) {
    const e = controls.get(name)!;
    e.style.left = `${left}px`;
    e.style.top = `${top}px`;
    e.style.width = `${w}px`;
    e.style.height = `${h}px`;
  }
  editor.view.requestMeasure();
  picture.resize(rects.pbMemory[2], rects.pbMemory[3]);
}

// The client size is read while the page may still overflow (before the first layout, or laid
// out for another size): where scrollbars take space it differs from what it is once the page
// is placed, and scrollbars that come or go send no resize event. So the page is placed again
// until the size it was placed for is the client size (a narrow column that grows a vertical
// scrollbar is placed once more at the width left beside it).
const layOut = guarded((first?: [number, number]): void => {
  layoutPending = false;
  let size = first ?? clientSize();
  for (let pass = 0; pass < 3; ++pass) {
    place(...size);
    const now = clientSize();
    if (now[0] === size[0] && now[1] === size[1]) break;
    size = now;
  }
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
    setEditorReadOnly: (on: boolean) => {
      editor.setReadOnly(on);
      runGoing = on;
      if (!on) runPace.runEnded();
    },
    showCurrentLine: (line: number) => editor.showCurrentLine(line),
    showRowAtTop: (row: number) => table.showRowAtTop(row),
    setTableEditable: (on: boolean) => table.setEditable(on),
    showRow: (row: number, value: string, comment: string) => table.showRow(row, value, comment),
    paintPicture: (numbers: Int32Array, squares: number) => picture.draw(numbers, squares),
    showRegister: (which: number, value: number) => {
      const text = String(value);
      if (registers[which].value !== text) registers[which].value = text;
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
        if (!timedRunGoing()) runPace.runEnded();
      } else if (timers[index] === undefined) {
        timers[index] = window.setInterval(() => runTimer(index), interval);  // a running timer keeps its phase
      }
    },
    showStepCount: (steps: number) => {
      const text = `${captions.lbStepsPrefix}${steps}`;
      const line = controls.get('lbSteps')!;
      if (line.textContent !== text) line.textContent = text;
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
    sentenceChanged: () => sentence.changed(),
    traceRowsAdded: () => protocol.changed(),
    traceRowsRemoved: (first: number, last: number) => protocol.removed(first, last),
    showHistory: (oldest: number, newest: number, current: number, movable: boolean) => history.show(oldest, newest, current, movable),
    chooseExample: (examples: string) => chooseExample(examples, plainCaption(captions.btExamples), captions.lsExamplesName),
  };
}

function wireEditor(): void {
  editor.isBusy = isBusy;
  editor.accepts = guarded(core.qz_program_fits);
  editor.refused = () => void core.qz_refuse_text();
  editor.acceptsText = guarded(core.qz_accept_typed);
  editor.edited = guarded((fromLine, fromColumn, toLine, toColumn, text) => {
    core.qz_program_edit(fromLine, fromColumn, toLine, toColumn, text);
    keepTyped();
  });
  editor.toggled = guarded((line) => {
    if (!isBusy()) core.qz_toggle_breakpoint(line);
  });
  editor.view.contentDOM.addEventListener('contextmenu', (event) => {
    event.preventDefault();
    showContextMenu(event.clientX, event.clientY, editor.lineAt(event.clientX, event.clientY));
  });
  onLongPress(editor.view.contentDOM, (x, y) => showContextMenu(x, y, editor.lineAt(x, y), true));
}

// How long a finger rests on a program line before its menu opens, and how far it may wander
// meanwhile (farther, it scrolls or selects instead).
const kLongPressMs = 500;
const kLongPressSlop = 10;

// A long press of a finger opens what a right click opens: a touch screen has no right button,
// and not every browser turns the press into a contextmenu event.
function onLongPress(target: HTMLElement, action: (x: number, y: number) => void): void {
  let timer: number | undefined;
  let start: [number, number] = [0, 0];
  let opened = false;
  const cancel = () => {
    window.clearTimeout(timer);
    timer = undefined;
  };
  target.addEventListener('pointerdown', (event) => {
    cancel();
    opened = false;
    if (event.pointerType !== 'touch') return;
    start = [event.clientX, event.clientY];
    timer = window.setTimeout(() => {
      timer = undefined;
      opened = true;
      swallowLiftedFinger();
      action(...start);
    }, kLongPressMs);
  });
  target.addEventListener('pointermove', (event) => {
    if (Math.hypot(event.clientX - start[0], event.clientY - start[1]) > kLongPressSlop) cancel();
  });
  for (const end of ['pointerup', 'pointercancel']) target.addEventListener(end, cancel);
  // A browser that also turns the press into a contextmenu event opens nothing a second time.
  target.addEventListener('contextmenu', (event) => {
    if (!opened) return;
    event.preventDefault();
    event.stopImmediatePropagation();
  }, true);
}

// Some browsers end a long press with the mouse events of a tap where the finger was lifted:
// they would close the menu just opened, or choose its entry. They are swallowed until the
// click that ends them, or for a moment where none comes.
const kLiftedFingerMs = 500;

function swallowLiftedFinger(): void {
  const swallow = (event: Event) => {
    event.stopImmediatePropagation();
    event.preventDefault();
    if (event.type === 'click') stop();
  };
  const stop = () => {
    document.removeEventListener('mousedown', swallow, true);
    document.removeEventListener('click', swallow, true);
  };
  document.addEventListener('mousedown', swallow, true);
  document.addEventListener('click', swallow, true);
  document.addEventListener('pointerup', () => window.setTimeout(stop, kLiftedFingerMs), { capture: true, once: true });
}

// Opened by a long press, the menu lies beside the finger rather than under it.
function showContextMenu(x: number, y: number, line: number, byTouch = false): void {
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
  const offset = byTouch ? kLongPressSlop : 0;
  menu.style.left = `${x + offset}px`;
  menu.style.top = `${y + offset}px`;
  document.body.append(menu);
  // Whole on the screen, also when the line is near its right or bottom edge.
  const fits = menu.getBoundingClientRect();
  const view = document.documentElement;
  menu.style.left = `${Math.max(0, Math.min(x + offset, view.clientWidth - fits.width))}px`;
  menu.style.top = `${Math.max(0, Math.min(y + offset, view.clientHeight - fits.height))}px`;
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

// The reference and the primer are made when "Hilfe" is first pressed: the first picture of the
// page does not need them.
function helpPanel(): HelpPanel {
  help ??= new HelpPanel({
    caption: captions.frmHilfe,
    reference: core.qz_reference_text().replace(/\n$/, ''),
    commandListTab: captions.tsCommandList,
    primerTab: captions.tsPrimer,
    tryCaption: captions.tsPrimerTry,
    programName: captions.tsPrimerProgramName,
    primer: JSON.parse(core.qz_primer()),
  }, (section) => {
    if (!isBusy()) void core.qz_try_program(section);
  });
  return help;
}

async function main(): Promise<void> {
  setup = await startCore();
  captions = setup.captions;
  applyLook();
  const fs = fileSystem();
  initFiles(fs);
  task = new TaskPanel(fs, captions);
  // The window is built and filled apart from the page and put in at once: nothing is laid
  // out before everything is there, and then once.
  const app = document.getElementById('app')!;
  const [parent, next] = [app.parentNode!, app.nextSibling];
  app.remove();
  buildWindow(app);
  for (const name of setup.layoutFields) {
    if (!controls.has(name)) throw new BoundaryError(`Die Seite hat kein Element ${name}.`);
  }
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
  // The client's size read while the page is still empty costs nothing; read after the window
  // is in, it would lay out the whole page once more before the window is placed.
  const firstSize = clientSize();
  parent.insertBefore(app, next);
  performance.mark('qz-dom-built');
  layOut(firstSize);
  performance.mark('qz-laid-out');
  window.addEventListener('resize', applyLayout);
  coarsePointer.addEventListener('change', applyLayout);
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
  // Usable: the core has started, the controls answer and the program editor takes keys. The
  // time counted (from the navigation's start) is to the first picture of the page after that.
  document.body.dataset.ready = 'true';
  requestAnimationFrame(() => {
    const after = new MessageChannel();
    after.port1.onmessage = () => {
      performance.mark('qz-ready');
      document.body.dataset.readyMs = String(Math.round(performance.now()));
      table.layOutAll();
    };
    after.port2.postMessage(null);
  });
}

// Tests and figures reach the layout function and the readiness through this.
(window as any).quarzel = {
  layoutRects,
  pageLayout,
  controls,
  program: () => editor.text,
  programSelection: () => editor.selection(),
  programReadOnly: () => editor.isReadOnly,
  breakpoints: () => editor.marks(),
  setCaret: (offset: number) => editor.setCaret(offset),
  firstLine: () => editor.shownFirstLine(),
  // Whether typing waits to be kept; the core's record of the work; the whole text handed to
  // the core once more (the scenarios compare the record made by the edits with that one).
  typingUnkept,
  keptRecord: () => core.qz_kept_work(),
  resendProgram: () => core.qz_program_changed(editor.text),
  // The page's answers to the core's calls: a scenario makes one fail to see the page survive.
  pageCalls: pageAnswers,
};

performance.mark('qz-page-script');
void main().catch((error) => {
  document.body.textContent = `Quarzel konnte nicht gestartet werden: ${error}`;
});
