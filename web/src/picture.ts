// The memory picture ("Ansicht"): draws the squares and the frame of the last accessed cell
// as the core computes them, in the core's colours, and shows the number, value and comment of
// the cell under the pointer.
import type { PageSetup } from './boundary';

export class MemoryPicture {
  cellAt: (x: number, y: number) => number = () => 0;
  cellText: (column: number, row: number) => string = () => '';
  resized: (width: number, height: number) => void = () => {};
  isBusy: () => boolean = () => false;
  // Whether the picture is in view: the core draws it at every step also while the table is.
  shown = false;
  private context: CanvasRenderingContext2D;
  // The last picture's numbers and size, to draw only what a step changed.
  private last: Int32Array | null = null;
  private lastSquares = 0;
  private lastSize: [number, number] = [0, 0];

  constructor(
    readonly canvas: HTMLCanvasElement,
    readonly hover: HTMLInputElement[],
    private readonly colours: PageSetup['colours'],
    private readonly framePen: number,
  ) {
    this.context = canvas.getContext('2d')!;
    canvas.addEventListener('mousemove', (event) => {
      if (this.isBusy()) return;
      const cell = this.cellAt(Math.floor(event.offsetX), Math.floor(event.offsetY));
      hover[0].value = cell === 0 ? '' : String(cell);
      hover[1].value = cell === 0 ? '' : this.cellText(1, cell - 1);
      hover[2].value = cell === 0 ? '' : this.cellText(2, cell - 1);
    });
  }

  resize(width: number, height: number): void {
    // Setting a canvas's size clears it, even to the size it has.
    if (this.canvas.width !== width) this.canvas.width = width;
    if (this.canvas.height !== height) this.canvas.height = height;
    this.resized(width, height);
  }

  paint(): void {
    this.last = null;
    this.resized(this.canvas.width, this.canvas.height);
  }

  // `numbers`: five per square (left, top, right, bottom, filled), the first `squares` of
  // them; then the frame (left, top, right, bottom, written) if a cell was accessed. A step
  // changes a square or two and moves the frame: only the areas that changed since the last
  // picture are drawn again, each clipped, in the same order as the whole picture.
  draw(numbers: Int32Array, squares: number): void {
    if (!this.shown) {
      this.last = null;  // drawn whole when shown (paint)
      return;
    }
    const areas = this.changedAreas(numbers, squares);
    this.last = numbers.slice();
    this.lastSquares = squares;
    this.lastSize = [this.canvas.width, this.canvas.height];
    if (areas === null) {
      this.paintAll(numbers, squares, null);
      return;
    }
    if (areas.length === 0) return;
    const g = this.context;
    g.save();
    g.beginPath();
    for (const [left, top, right, bottom] of areas) g.rect(left, top, right - left, bottom - top);
    g.clip();
    this.paintAll(numbers, squares, areas);
    g.restore();
  }

  // The areas that differ from the last picture, or null where all of it is drawn anew.
  private changedAreas(numbers: Int32Array, squares: number): Array<[number, number, number, number]> | null {
    const last = this.last;
    if (last === null || this.lastSize[0] !== this.canvas.width || this.lastSize[1] !== this.canvas.height) return null;
    if (this.lastSquares !== squares) return null;
    const areas: Array<[number, number, number, number]> = [];
    for (let i = 0; i < squares; i += 5) {
      if (last[i] !== numbers[i] || last[i + 1] !== numbers[i + 1] || last[i + 2] !== numbers[i + 2] || last[i + 3] !== numbers[i + 3]) return null;
      if (last[i + 4] !== numbers[i + 4]) areas.push([numbers[i], numbers[i + 1], numbers[i + 2], numbers[i + 3]]);
    }
    const before = last.subarray(squares, squares + 5);
    const now = numbers.subarray(squares, squares + 5);
    const same = before.length === now.length && before.every((v, k) => v === now[k]);
    if (!same) {
      // The wide pen reaches beyond the frame's outline by half its width.
      const reach = Math.ceil(this.framePen / 2) + 1;
      for (const frame of [before, now]) {
        if (frame.length === 5) areas.push([frame[0] - reach, frame[1] - reach, frame[2] + reach, frame[3] + reach]);
      }
    }
    return areas;
  }

  private paintAll(numbers: Int32Array, squares: number, areas: Array<[number, number, number, number]> | null): void {
    const g = this.context;
    const { face, square, write, read } = this.colours;
    const inAreas = (left: number, top: number, right: number, bottom: number) =>
      areas === null || areas.some(([l, t, r, b]) => left < r && right > l && top < b && bottom > t);
    g.fillStyle = face;
    g.fillRect(0, 0, this.canvas.width, this.canvas.height);
    if (numbers.length > squares) {
      const [left, top, right, bottom, written] = numbers.subarray(squares, squares + 5);
      g.fillStyle = face;
      g.fillRect(left, top, right - left, bottom - top);
      // The wide pen runs through the centres of the outline's pixels, as in the window.
      g.strokeStyle = written ? write : read;
      g.lineWidth = this.framePen;
      g.lineJoin = 'round';
      g.strokeRect(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1);
    }
    g.fillStyle = square;
    for (let i = 0; i < squares; i += 5) {
      const left = numbers[i];
      const top = numbers[i + 1];
      if (!inAreas(left, top, numbers[i + 2], numbers[i + 3])) continue;
      const width = numbers[i + 2] - left;
      const height = numbers[i + 3] - top;
      if (numbers[i + 4]) {
        g.fillRect(left, top, width, height);
      } else {
        g.fillRect(left, top, width, 1);
        g.fillRect(left, top + height - 1, width, 1);
        g.fillRect(left, top, 1, height);
        g.fillRect(left + width - 1, top, 1, height);
      }
    }
  }
}
