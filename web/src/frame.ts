// Drawing that follows the core's notices at most once per animation frame: a run at "Direkt"
// sends many notices per frame, and each drawing asks the core for what it shows, which only
// happens when the core is free (not inside a command that waits for the user).

import { isBusy, whenIdle } from './core';

// `draw` runs once in the frame after the first schedule() since it last ran.
export class FrameDrawing {
  private scheduled = false;

  constructor(private readonly draw: () => void) {}

  schedule(): void {
    if (this.scheduled) return;
    this.scheduled = true;
    requestAnimationFrame(() => {
      const run = () => {
        this.scheduled = false;
        this.draw();
      };
      if (isBusy()) whenIdle(run);
      else run();
    });
  }
}
