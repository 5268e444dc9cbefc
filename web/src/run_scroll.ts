// How a run scrolls the program editor: at every step the line it executes next becomes the
// first line in sight. The position a step asks for is written once per frame and remembered,
// so that a step neither reads nor writes the scroll position: either would make the browser
// lay out at once what the step has just changed. Anything else that moves the text or the
// view first writes what is due and forgets the remembered place (`forget`).
//
// The editor answers every scroll by measuring itself, which at "Direkt" was a quarter of a
// step's script time. Where the lines a step brings into sight are already drawn, the answer to
// that step's scroll is put off: the scroll event is kept from the editor until the run rests
// for a moment, the user reaches for the editor, or anything else moves it. Then the editor is
// told of the scroll once, with the position it has come to.
import type { EditorView } from '@codemirror/view';

// After this long without a scroll of its own the run is resting, and the editor catches up.
const kRestMs = 150;

export class RunScroll {
  private askedTop: number | null = null;
  private due = false;
  // The position whose scroll event is kept from the editor, once it comes.
  private keepFor: number | null = null;
  private lastWritten: number | null = null;
  private behind = false;
  private restTimer: number | undefined;
  private keptAt = 0;
  private shownHeight = 0;

  constructor(private readonly view: EditorView) {
    // Scroll events do not bubble, but they pass the editor's own element first on their way to
    // the scroller, where the editor listens.
    view.dom.addEventListener('scroll', (event) => this.arrived(event), { capture: true });
    for (const type of ['pointerdown', 'wheel', 'touchstart', 'keydown', 'focusin']) {
      view.dom.addEventListener(type, () => this.catchUp(), { capture: true, passive: true });
    }
  }

  // The scroller's height, told by the editor when its geometry changes (then it is laid out).
  geometryChanged(): void {
    this.shownHeight = this.view.scrollDOM.clientHeight;
  }

  // The remembered position, or the one the browser shows.
  get top(): number {
    return this.askedTop ?? this.view.scrollDOM.scrollTop;
  }

  ask(top: number): void {
    this.askedTop = top;
    if (this.due) return;
    this.due = true;
    requestAnimationFrame(() => this.write());
  }

  // The first line the browser shows is wanted: what is due is written and forgotten.
  forget(): void {
    this.write();
    this.askedTop = null;
    this.catchUp();
  }

  private write(): void {
    if (!this.due) return;
    this.due = false;
    const top = this.askedTop;
    if (top === null) return;
    const scroller = this.view.scrollDOM;
    const drawn = this.drawn(top);
    // No event comes for a position that does not change.
    if (top !== this.lastWritten) this.keepFor = drawn === true ? top : null;
    this.lastWritten = top;
    scroller.scrollTop = top;
    // Lines not drawn yet are drawn before this frame is painted, not a frame later when the
    // browser's event comes.
    if (drawn === false) scroller.dispatchEvent(new Event('scroll'));
  }

  // Whether the editor has drawn every line from `top` to the bottom of the view (null while
  // the view's height is not known).
  private drawn(top: number): boolean | null {
    if (this.shownHeight <= 0) return null;
    const { from, to } = this.view.viewport;
    return this.view.lineBlockAt(from).top <= top && this.view.lineBlockAt(to).bottom >= top + this.shownHeight;
  }

  private arrived(event: Event): void {
    if (event.target !== this.view.scrollDOM) return;
    if (this.keepFor === null) {
      // Anyone else's scroll: the remembered place is gone where the view left it.
      if (!this.due && this.askedTop !== null && Math.abs(this.view.scrollDOM.scrollTop - this.askedTop) > 1) this.askedTop = null;
      this.lastWritten = null;
      return;
    }
    this.keepFor = null;
    event.stopPropagation();
    this.behind = true;
    // One timer for the whole run, not one per step: it looks again when it finds a scroll kept
    // since it was set.
    this.keptAt = event.timeStamp;
    if (this.restTimer === undefined) this.awaitRest(kRestMs);
  }

  private awaitRest(delay: number): void {
    this.restTimer = window.setTimeout(() => {
      this.restTimer = undefined;
      const rested = performance.now() - this.keptAt;
      if (rested < kRestMs) this.awaitRest(kRestMs - rested);
      else this.catchUp();
    }, delay);
  }

  private catchUp(): void {
    this.keepFor = null;
    if (!this.behind) return;
    this.behind = false;
    window.clearTimeout(this.restTimer);
    this.restTimer = undefined;
    this.view.scrollDOM.dispatchEvent(new Event('scroll'));
  }
}
