// A panel inside the page that behaves like a window of its own beside the main window: moved by
// its title bar, shown and hidden by its button, closed with its ×, never blocking the window.

export class MovablePanel {
  readonly panel: HTMLDivElement;
  protected readonly titleBar: HTMLDivElement;

  constructor(caption: string, className: string) {
    this.panel = document.createElement('div');
    this.panel.className = className;
    this.panel.setAttribute('role', 'dialog');
    this.panel.setAttribute('aria-label', caption);
    this.panel.hidden = true;
    this.titleBar = document.createElement('div');
    this.titleBar.className = 'title';
    this.titleBar.append(caption);
    const close = document.createElement('button');
    close.className = 'close';
    close.textContent = '×';
    close.setAttribute('aria-label', 'Schließen');
    close.addEventListener('click', () => this.hide());
    this.titleBar.append(close);
    this.titleBar.addEventListener('pointerdown', (event) => {
      if (event.target === close) return;
      const startX = event.clientX - this.panel.offsetLeft;
      const startY = event.clientY - this.panel.offsetTop;
      this.titleBar.setPointerCapture(event.pointerId);
      const move = (e: PointerEvent) => this.place(e.clientX - startX, e.clientY - startY);
      const up = () => {
        this.titleBar.removeEventListener('pointermove', move);
        this.titleBar.removeEventListener('pointerup', up);
      };
      this.titleBar.addEventListener('pointermove', move);
      this.titleBar.addEventListener('pointerup', up);
    });
  }

  // Puts the panel, filled, into the page at its first place.
  protected open(left: number, top: number): void {
    document.body.append(this.panel);
    this.place(left, top);
  }

  // The title bar stays within the page, so the panel can always be moved back; the panel
  // moves up where its whole height would not fit below.
  protected place(left: number, top: number): void {
    const maxLeft = Math.max(0, window.innerWidth - 60);
    const maxTop = Math.max(0, window.innerHeight - (this.panel.offsetHeight || 0));
    this.panel.style.left = `${Math.min(maxLeft, Math.max(0, left))}px`;
    this.panel.style.top = `${Math.min(maxTop, Math.max(0, top))}px`;
  }

  toggle(): void {
    this.panel.hidden = !this.panel.hidden;
    if (!this.panel.hidden) this.place(this.panel.offsetLeft, this.panel.offsetTop);
  }

  hide(): void {
    this.panel.hidden = true;
  }
}
