// A character the files cannot hold never reaches a cell of the table: what a keystroke, a
// paste, a drop or an input method inserts is shown to the core before the table hears of it,
// and a text the core refuses (its note names the character) is taken back at once. Only the
// inserted part is checked, never the whole cell.

interface Before {
  value: string;
  start: number | null;
  end: number | null;
}

// Watches every text field inside `root`, ahead of the fields' own handlers. `accepts` is the
// core's verdict on an inserted text; nothing is asked while a command runs (the table takes no
// text then anyway).
export function refuseUnsavableCharacters(root: HTMLElement, isBusy: () => boolean, accepts: (inserted: string) => boolean | undefined): void {
  // Each field's text as it was before the input now arriving: taken when the field gets the
  // focus and before each input (where the browser announces it), kept after each input taken.
  const before = new WeakMap<HTMLInputElement, Before>();
  const remember = (event: Event) => {
    const field = event.target;
    if (field instanceof HTMLInputElement) before.set(field, { value: field.value, start: field.selectionStart, end: field.selectionEnd });
  };
  root.addEventListener('focusin', remember, true);
  root.addEventListener('beforeinput', remember, true);
  root.addEventListener('input', (event) => {
    const field = event.target;
    if (!(field instanceof HTMLInputElement) || isBusy()) return;
    const old = before.get(field);
    const inserted = old === undefined ? '' : insertedText(old.value, field.value);
    if (old === undefined || inserted === '' || accepts(inserted) === true) {
      remember(event);
      return;
    }
    field.value = old.value;
    field.setSelectionRange(old.start, old.end);
    event.stopImmediatePropagation();
  }, true);
}

// What `now` has in place of `old`'s middle, where the two differ.
function insertedText(old: string, now: string): string {
  let head = 0;
  const limit = Math.min(old.length, now.length);
  while (head < limit && old.charCodeAt(head) === now.charCodeAt(head)) ++head;
  let tail = 0;
  while (tail < limit - head && old.charCodeAt(old.length - 1 - tail) === now.charCodeAt(now.length - 1 - tail)) ++tail;
  return now.slice(head, now.length - tail);
}
