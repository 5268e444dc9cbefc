// "Was geschah": one line in the run panel with the sentence of the step taken last (or the
// checker's hint), a polite live region so that a screen reader reads each new sentence.

import { core, guarded } from './core';
import { FrameDrawing } from './frame';

export class SentenceLine {
  private readonly drawing = new FrameDrawing(guarded(() => this.draw()));

  // `line`: the element the layout places as lbSentence.
  constructor(private readonly line: HTMLElement) {
    line.className = 'sentence';
    line.setAttribute('role', 'status');
    line.setAttribute('aria-live', 'polite');
  }

  // The core's notice: asked for in the next frame.
  changed(): void {
    this.drawing.schedule();
  }

  private draw(): void {
    const text = core.qz_step_sentence();
    if (this.line.textContent === text) return;
    this.line.textContent = text;
    // The line may be narrower than its sentence: the whole of it on hovering.
    this.line.title = text;
  }
}
