// The command reference ("Hilfe") as a panel that can be moved by its title bar and never
// blocks the window, with the window's text.

import { MovablePanel } from './movable_panel';

export class HelpPanel extends MovablePanel {
  constructor(caption: string, reference: string) {
    super(caption, 'help');
    const text = document.createElement('textarea');
    text.readOnly = true;
    text.wrap = 'off';
    text.value = reference;
    text.setAttribute('aria-label', caption);
    this.panel.append(this.titleBar, text);
    this.open(192, 107);
  }
}
