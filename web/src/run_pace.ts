// The line "Was geschah", the protocol's table and the slider "Verlauf" during a timed run: drawn
// at most once per pace (four times a second; every tenth tick at "Direkt"), as in the window.
// Drawn at every tick, the table alone would cost more than the tick, and the line would change
// faster than anyone reads it. Outside a timed run they are drawn as before, and what waits for
// its pace is drawn as soon as the run ends.

export class RunPace {
  private readonly waiting = new Map<() => void, number>();
  private readonly drawnAt = new Map<() => void, number>();

  // `timedRun`: whether a run timer ("Langsam", "Schnell", "Direkt") is going.
  constructor(private readonly paceMs: number, private readonly timedRun: () => boolean) {}

  // Calls `draw` now, or once its pace has come when it was drawn less than a pace ago during a
  // timed run. Asked again while waiting, it still draws once.
  due(draw: () => void): void {
    if (this.waiting.has(draw)) return;
    const now = performance.now();
    const since = now - (this.drawnAt.get(draw) ?? -Infinity);
    if (this.timedRun() && since < this.paceMs) {
      this.waiting.set(draw, window.setTimeout(() => this.drawNow(draw), this.paceMs - since));
      return;
    }
    this.drawNow(draw);
  }

  // The run ended: everything that waits for its pace is drawn now.
  runEnded(): void {
    for (const draw of [...this.waiting.keys()]) this.drawNow(draw);
  }

  private drawNow(draw: () => void): void {
    const timer = this.waiting.get(draw);
    if (timer !== undefined) {
      window.clearTimeout(timer);
      this.waiting.delete(draw);
    }
    this.drawnAt.set(draw, performance.now());
    draw();
  }
}
