// A panel inside the page that behaves like a window of its own beside the main window: moved by
// its title bar, shown and hidden by its button, closed with its ×, never blocking the window.
// The panel used last lies on top, and every panel stays whole inside the visible page.

// The window's captions mark their access key with "&".
export function plainCaption(caption: string): string {
  return caption.replace('&', '');
}
export function accessKeyOf(caption: string): string {
  const at = caption.indexOf('&');
  return at >= 0 && at + 1 < caption.length ? caption[at + 1].toLowerCase() : '';
}

// What ends a drag by the title bar.
const kDragEnds = ['pointerup', 'pointercancel', 'lostpointercapture'] as const;

// Bottom first; a panel's place in this list is its stacking order, below the page's boxes.
const kLowestLayer = 10;
const stack: MovablePanel[] = [];

function visibleArea(): [number, number] {
  return [document.documentElement.clientWidth, document.documentElement.clientHeight];
}

window.addEventListener('resize', () => {
  for (const panel of stack) {
    if (!panel.panel.hidden) panel.fit();
  }
});

export class MovablePanel {
  readonly panel: HTMLDivElement;
  protected readonly titleBar: HTMLDivElement;
  // The panel's own access keys, and the page's elements that gave up the same key meanwhile.
  private readonly keys: Array<[HTMLElement, string]> = [];
  private displaced: Array<[HTMLElement, string]> = [];
  private opener: HTMLElement | null = null;

  constructor(caption: string, className: string) {
    this.panel = document.createElement('div');
    this.panel.className = className;
    this.panel.setAttribute('role', 'dialog');
    this.panel.setAttribute('aria-label', caption);
    this.panel.tabIndex = -1;
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
      const move = (e: PointerEvent) => {
        if (e.pointerId === event.pointerId) this.place(e.clientX - startX, e.clientY - startY);
      };
      // Lifted, or taken over by the browser (a scroll, a system gesture, an incoming call):
      // the panel stays where it was last placed and follows no later move.
      const end = (e: PointerEvent) => {
        if (e.pointerId !== event.pointerId) return;
        this.titleBar.removeEventListener('pointermove', move);
        for (const type of kDragEnds) this.titleBar.removeEventListener(type, end);
        if (this.titleBar.hasPointerCapture(e.pointerId)) this.titleBar.releasePointerCapture(e.pointerId);
      };
      this.titleBar.addEventListener('pointermove', move);
      for (const type of kDragEnds) this.titleBar.addEventListener(type, end);
    });
    // A click anywhere in the panel, or the focus coming into it, makes it the one in use.
    this.panel.addEventListener('pointerdown', () => this.raise(), true);
    this.panel.addEventListener('focusin', () => {
      this.raise();
      this.claimKeys();
    });
    this.panel.addEventListener('focusout', (event) => {
      if (!this.panel.contains(event.relatedTarget as Node | null)) this.releaseKeys();
    });
    stack.push(this);
  }

  // Puts the panel, filled and hidden, into the page at its first place. Nothing is measured
  // here: a hidden panel has no size, and reading one would lay out the whole page while it is
  // still being built. Shown, the panel is fitted into the visible page (toggle).
  protected open(left: number, top: number): void {
    this.panel.style.left = `${left}px`;
    this.panel.style.top = `${top}px`;
    document.body.append(this.panel);
  }

  // `element` takes `key` while the panel is in use; an element of the page with the same key
  // gives it up meanwhile, as the main window's keys do not reach another window.
  protected ownAccessKey(element: HTMLElement, key: string): void {
    this.keys.push([element, key]);
    if (this.panel.contains(document.activeElement)) this.claimKeys();
  }

  private claimKeys(): void {
    if (this.displaced.length > 0 || this.keys.length === 0) return;
    const mine = new Set(this.keys.map(([element]) => element));
    for (const [element, key] of this.keys) {
      for (const other of Array.from(document.querySelectorAll<HTMLElement>('[accesskey]'))) {
        if (!mine.has(other) && other.accessKey.toLowerCase() === key) {
          this.displaced.push([other, other.accessKey]);
          other.accessKey = '';
        }
      }
      element.accessKey = key;
    }
    // Claimed, even when no other element had one of the keys.
    if (this.displaced.length === 0) this.displaced.push([this.panel, '']);
  }

  private releaseKeys(): void {
    for (const [element] of this.keys) element.accessKey = '';
    for (const [element, key] of this.displaced) {
      if (element !== this.panel) element.accessKey = key;
    }
    this.displaced = [];
  }

  // The panel on top of the others.
  raise(): void {
    const at = stack.indexOf(this);
    if (at < stack.length - 1) {
      stack.splice(at, 1);
      stack.push(this);
    }
    stack.forEach((panel, index) => {
      panel.panel.style.zIndex = String(kLowestLayer + index);
    });
  }

  // The panel whole inside the visible page, its × in reach: no larger than the page, moved in
  // where it stands out.
  fit(): void {
    const [width, height] = visibleArea();
    this.panel.style.maxWidth = `${width}px`;
    this.panel.style.maxHeight = `${height}px`;
    this.place(this.panel.offsetLeft, this.panel.offsetTop);
  }

  protected place(left: number, top: number): void {
    const [width, height] = visibleArea();
    const maxLeft = Math.max(0, width - this.panel.offsetWidth);
    const maxTop = Math.max(0, height - this.panel.offsetHeight);
    this.panel.style.left = `${Math.min(maxLeft, Math.max(0, left))}px`;
    this.panel.style.top = `${Math.min(maxTop, Math.max(0, top))}px`;
  }

  // Shown, the panel is the one in use and takes the focus, as a window does that opens.
  toggle(): void {
    if (!this.panel.hidden) {
      this.hide();
      return;
    }
    this.opener = document.activeElement as HTMLElement | null;
    this.panel.hidden = false;
    this.fit();
    this.raise();
    this.panel.focus();
  }

  // The focus, if it was inside, goes back where it came from.
  hide(): void {
    const hadFocus = this.panel.contains(document.activeElement);
    this.panel.hidden = true;
    if (hadFocus && this.opener?.isConnected) this.opener.focus();
    this.releaseKeys();
  }
}
