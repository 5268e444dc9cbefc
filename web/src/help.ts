// The command reference ("Hilfe") as a panel that can be moved by its title bar and never
// blocks the window, with the window's text.

export class HelpPanel {
  readonly panel: HTMLDivElement;

  constructor(caption: string, reference: string) {
    this.panel = document.createElement('div');
    this.panel.className = 'help';
    this.panel.setAttribute('role', 'dialog');
    this.panel.setAttribute('aria-label', caption);
    this.panel.hidden = true;
    const title = document.createElement('div');
    title.className = 'title';
    title.append(caption);
    const close = document.createElement('button');
    close.className = 'close';
    close.textContent = '×';
    close.setAttribute('aria-label', 'Schließen');
    close.addEventListener('click', () => this.hide());
    title.append(close);
    const text = document.createElement('textarea');
    text.readOnly = true;
    text.wrap = 'off';
    text.value = reference;
    text.setAttribute('aria-label', caption);
    this.panel.append(title, text);
    document.body.append(this.panel);
    this.place(192, 107);
    title.addEventListener('pointerdown', (event) => {
      if (event.target === close) return;
      const startX = event.clientX - this.panel.offsetLeft;
      const startY = event.clientY - this.panel.offsetTop;
      title.setPointerCapture(event.pointerId);
      const move = (e: PointerEvent) => this.place(e.clientX - startX, e.clientY - startY);
      const up = () => {
        title.removeEventListener('pointermove', move);
        title.removeEventListener('pointerup', up);
      };
      title.addEventListener('pointermove', move);
      title.addEventListener('pointerup', up);
    });
  }

  // The title bar stays within the page, so the panel can always be moved back; the panel
  // moves up where its whole height would not fit below.
  private place(left: number, top: number): void {
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
