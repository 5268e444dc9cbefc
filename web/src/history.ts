// "Verlauf": the slider over the steps the journal holds, and "Zurück bis Haltepunkt". Moving the
// slider asks the core to move the run there; while a move runs, only the latest position the
// user wants is kept and moved to next. The core's showHistory sets the slider without a move.

import { core, isBusy, whenIdle } from './core';

export class HistoryControls {
  private wanted: number | undefined;
  private moving = false;
  private shown: [number, number, number, boolean] = [0, 0, 0, false];
  private readonly drawShown = (): void => this.draw(...this.shown);

  // `due`: draws what it is given now, or at its pace during a timed run (RunPace.due).
  constructor(private readonly slider: HTMLInputElement, private readonly back: HTMLButtonElement, caption: string, tip: string,
    private readonly due: (draw: () => void) => void) {
    slider.type = 'range';
    slider.min = '0';
    slider.max = '0';
    slider.step = '1';
    slider.value = '0';
    slider.disabled = true;
    slider.className = 'history';
    slider.title = tip;
    slider.setAttribute('aria-label', caption);
    slider.setAttribute('aria-valuetext', `${caption}: 0`);
    slider.addEventListener('input', () => {
      this.wanted = Number(slider.value);
      if (!this.moving) void this.move();
    });
    back.disabled = true;
  }

  // The core's view: range, position and whether the user may move it.
  show(oldest: number, newest: number, current: number, movable: boolean): void {
    this.shown = [oldest, newest, current, movable];
    this.due(this.drawShown);
  }

  private draw(oldest: number, newest: number, current: number, movable: boolean): void {
    const s = this.slider;
    // The range first, so that the browser does not clamp the value to the old one.
    s.min = String(oldest);
    s.max = String(newest);
    s.value = String(current);
    s.disabled = !movable || oldest === newest;
    s.setAttribute('aria-valuetext', `${s.getAttribute('aria-label')}: ${current}`);
    this.back.disabled = !movable || current <= oldest;
  }

  private async move(): Promise<void> {
    this.moving = true;
    try {
      while (this.wanted !== undefined) {
        if (isBusy()) {
          await new Promise<void>((resolve) => whenIdle(resolve));
          continue;
        }
        const step = this.wanted;
        this.wanted = undefined;
        await core.qz_history_move(step);
      }
    } finally {
      this.moving = false;
    }
  }
}
