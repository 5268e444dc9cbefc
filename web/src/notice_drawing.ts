// Drawing that follows the core's notices once, however many come: a step sends several, and
// each drawing asks the core for what it shows, which only happens when the core is free (not
// inside a command, which may wait for the user).

import { guarded, isBusy, whenIdle } from './core';

// `draw` runs once after the first schedule() since it last ran: when the command that sent the
// notice is over, in the same task (a step at "Direkt" drawn as it ends costs a quarter less script
// than one drawn in a task of its own in the next frame), or in the next frame when no command
// runs. A fault in it is shown like one in a command.
export class NoticeDrawing {
  private scheduled = false;
  private readonly draw: () => void;
  private readonly run = (): void => {
    this.scheduled = false;
    this.draw();
  };

  constructor(draw: () => void) {
    this.draw = guarded(draw);
  }

  schedule(): void {
    if (this.scheduled) return;
    this.scheduled = true;
    if (isBusy()) {
      whenIdle(this.run);
      return;
    }
    requestAnimationFrame(() => {
      if (isBusy()) whenIdle(this.run);
      else this.run();
    });
  }
}
