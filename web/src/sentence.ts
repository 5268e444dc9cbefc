// "Was geschah": one line in the command group (in the narrow form's bar) with the sentence of
// the step taken last (or the checker's hint), a polite live region for screen readers.

import { core } from './core';
import { NoticeDrawing } from './notice_drawing';

export class SentenceLine {
  private readonly drawing = new NoticeDrawing(() => this.draw());
  private readonly drawSoon = (): void => this.drawing.schedule();
  // The line's one text node: a new sentence changes its text, never the element's children.
  private readonly text = document.createTextNode('');

  // `line`: the element the layout places as lbSentence; `due`: draws what it is given now, or
  // at its pace during a timed run (RunPace.due): at "Direkt" every tenth step, not faster than
  // anyone reads, nor a screen reader speaks.
  constructor(private readonly line: HTMLElement, private readonly due: (draw: () => void) => void) {
    line.className = 'sentence';
    line.setAttribute('role', 'status');
    line.setAttribute('aria-live', 'polite');
    line.append(this.text);
    // The line may be narrower than its sentence: the whole of it on hovering, taken when the
    // pointer comes rather than written with every step.
    line.addEventListener('pointerenter', () => {
      line.title = this.text.data;
    });
  }

  // The core's notice: asked for when the step's command ends, at the run's pace.
  changed(): void {
    this.due(this.drawSoon);
  }

  private draw(): void {
    const text = core.qz_step_sentence();
    if (this.text.data !== text) this.text.data = text;
  }
}
