// The memory picture ("Ansicht"): draws the squares and the frame of the last accessed cell
// as the core computes them, in the core's colours, and shows the number, value and comment of
// the cell under the pointer.
import type { PageSetup } from './boundary';

export class MemoryPicture {
  cellAt: (x: number, y: number) => number = () => 0;
  cellText: (column: number, row: number) => string = () => '';
  resized: (width: number, height: number) => void = () => {};
  isBusy: () => boolean = () => false;
  private context: CanvasRenderingContext2D;

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
    this.canvas.width = width;
    this.canvas.height = height;
    this.resized(width, height);
  }

  paint(): void {
    this.resized(this.canvas.width, this.canvas.height);
  }

  // `numbers`: five per square (left, top, right, bottom, filled), the first `squares` of
  // them; then the frame (left, top, right, bottom, written) if a cell was accessed.
  draw(numbers: Int32Array, squares: number): void {
    const g = this.context;
    const { face, square, write, read } = this.colours;
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
