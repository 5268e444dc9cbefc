// The modal boxes of the page: messages, Ja/Nein questions, the number dialog "Dateneingabe"
// and the name of a file to save. Each returns a promise that the core awaits. When a box
// closes, the focus goes back to the control that had it when the box opened, so that a learner
// who steps with Enter on "Schritt" goes on stepping after each number.
import iconError from 'lucide-static/icons/circle-x.svg';
import iconInfo from 'lucide-static/icons/info.svg';
import iconQuestion from 'lucide-static/icons/circle-help.svg';

function el<K extends keyof HTMLElementTagNameMap>(tag: K, cls?: string, textContent?: string): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (textContent !== undefined) e.textContent = textContent;
  return e;
}

interface Box {
  overlay: HTMLDivElement;
  dialog: HTMLDivElement;
  body: HTMLDivElement;
  buttons: HTMLDivElement;
  close: HTMLButtonElement;
  opener: Element | null;
}

function openBox(caption: string): Box {
  const overlay = el('div', 'overlay');
  const dialog = el('div', 'dialog');
  dialog.setAttribute('role', 'dialog');
  dialog.setAttribute('aria-modal', 'true');
  dialog.setAttribute('aria-label', caption);
  const title = el('div', 'title');
  title.append(el('span', '', caption));
  const close = el('button', 'close', '×');
  close.setAttribute('aria-label', 'Schließen');
  close.tabIndex = -1;
  title.append(close);
  const body = el('div', 'body');
  const buttons = el('div', 'buttons');
  dialog.append(title, body, buttons);
  overlay.append(dialog);
  const opener = document.activeElement;
  document.body.append(overlay);
  return { overlay, dialog, body, buttons, close, opener };
}

function closeBox(box: Box): void {
  box.overlay.remove();
  const opener = box.opener;
  if (!(opener instanceof HTMLElement) || !opener.isConnected || opener === document.body) return;
  opener.focus();
  // A control the command disabled for a moment takes the focus once the command has gone on.
  if (document.activeElement !== opener) {
    setTimeout(() => {
      if (document.activeElement === document.body || document.activeElement === null) opener.focus();
    }, 0);
  }
}

const kIcons: Record<string, string> = { error: iconError, info: iconInfo, question: iconQuestion };

function messageBody(box: Box, text: string, icon: string): void {
  const icn = el('div', `icon icon-${icon}`);
  icn.innerHTML = kIcons[icon].replace(/<!--[^>]*-->/g, '');
  icn.setAttribute('aria-hidden', 'true');
  const message = el('div', 'message', text);
  box.body.append(icn, message);
}

// Focus stays inside the box; Escape answers as `escape` does.
function trapKeys(box: Box, onEscape: () => void, onEnter?: () => void): void {
  box.overlay.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') {
      event.preventDefault();
      onEscape();
    } else if (event.key === 'Enter' && onEnter) {
      event.preventDefault();
      onEnter();
    } else if (event.key === 'Tab') {
      const focusable = Array.from(box.dialog.querySelectorAll<HTMLElement>('input, button:not(.close)'));
      const index = focusable.indexOf(document.activeElement as HTMLElement);
      event.preventDefault();
      const next = (index + (event.shiftKey ? -1 : 1) + focusable.length) % focusable.length;
      focusable[next]?.focus();
    }
    event.stopPropagation();
  });
}

export function showMessage(text: string, caption: string, error: boolean): Promise<void> {
  return new Promise((resolve) => {
    const box = openBox(caption);
    box.dialog.setAttribute('role', 'alertdialog');
    messageBody(box, text, error ? 'error' : 'info');
    const ok = el('button', '', 'OK');
    box.buttons.append(ok);
    const done = () => {
      closeBox(box);
      resolve();
    };
    ok.addEventListener('click', done);
    box.close.addEventListener('click', done);
    trapKeys(box, done, done);
    ok.focus();
  });
}

export function askYesNo(text: string, caption: string): Promise<boolean> {
  return new Promise((resolve) => {
    const box = openBox(caption);
    box.dialog.setAttribute('role', 'alertdialog');
    messageBody(box, text, 'question');
    const yes = el('button', '');
    yes.innerHTML = '<u>J</u>a';
    yes.setAttribute('aria-label', 'Ja');
    const no = el('button', '');
    no.innerHTML = '<u>N</u>ein';
    no.setAttribute('aria-label', 'Nein');
    box.buttons.append(yes, no);
    const done = (answer: boolean) => {
      closeBox(box);
      resolve(answer);
    };
    yes.addEventListener('click', () => done(true));
    no.addEventListener('click', () => done(false));
    box.close.addEventListener('click', () => done(false));
    box.overlay.addEventListener('keydown', (event) => {
      const key = event.key.toLowerCase();
      if (event.altKey && key === 'j') done(true);
      if (event.altKey && key === 'n') done(false);
    });
    trapKeys(box, () => done(false), () => done(document.activeElement !== no));
    yes.focus();
  });
}

let numberText = '0';

// "Dateneingabe": OK or Enter hands over the text; the frame's x or Escape closes it (null).
export function askNumber(again: boolean): Promise<string | null> {
  return new Promise((resolve) => {
    const box = openBox('Dateneingabe');
    box.dialog.classList.add('number-dialog');
    const field = el('input');
    field.setAttribute('aria-label', 'Dateneingabe');
    field.spellcheck = false;
    field.autocomplete = 'off';
    // Every request starts from "0", selected, so that typing replaces it; a rejected text
    // stays for correcting.
    field.value = again ? numberText : '0';
    const ok = el('button', '', 'OK');
    box.body.append(field, ok);
    const done = (value: string | null) => {
      if (value !== null) numberText = value;
      closeBox(box);
      resolve(value);
    };
    ok.addEventListener('click', () => done(field.value));
    box.close.addEventListener('click', () => done(null));
    trapKeys(box, () => done(null), () => done(field.value));
    field.focus();
    field.select();
  });
}

// The name for a file that the browser downloads: typed without an extension, it gets
// `extension`. Null when cancelled.
export function askFileName(caption: string, description: string, suggested: string, extension: string): Promise<string | null> {
  return new Promise((resolve) => {
    const box = openBox(caption);
    const label = el('label', 'file-label', `Dateiname (${description}):`);
    const field = el('input');
    field.value = suggested;
    field.setAttribute('aria-label', 'Dateiname:');
    label.append(field);
    box.body.append(label);
    const save = el('button', '', 'Speichern');
    const cancel = el('button', '', 'Abbrechen');
    box.buttons.append(save, cancel);
    const done = (value: string | null) => {
      closeBox(box);
      resolve(value);
    };
    const accept = () => {
      const name = field.value.trim().replace(/[\\/:*?"<>|]/g, '_');
      if (name === '') return;
      done(/\.[^.]*$/.test(name) ? name : `${name}.${extension}`);
    };
    save.addEventListener('click', accept);
    cancel.addEventListener('click', () => done(null));
    box.close.addEventListener('click', () => done(null));
    trapKeys(box, () => done(null), accept);
    field.focus();
    field.select();
  });
}
