// The reference ("Hilfe") as a panel that can be moved by its title bar and never blocks the
// window: the command list with the window's text, and beside it the primer ("Einführung"),
// whose small programs go into the editor with "Ausprobieren".

import { MovablePanel } from './movable_panel';

// A section of the primer as the core hands it over (qz_primer): texts UTF-8, the program with
// plain line feeds, empty where the section has none.
export interface PrimerSection {
  title: string;
  paragraphs: string[];
  program: string;
}

export interface HelpTexts {
  caption: string;          // the panel's title, "Befehlsreferenz"
  reference: string;        // the command list
  commandListTab: string;   // "Befehlsliste"
  primerTab: string;        // "Einführung"
  tryCaption: string;       // "Ausprobieren"
  programName: string;      // what a screen reader calls a section's program, before its title
  primer: PrimerSection[];
}

export class HelpPanel extends MovablePanel {
  private readonly tabs: HTMLButtonElement[] = [];
  private readonly pages: HTMLElement[] = [];

  // `tryProgram(i)`: "Ausprobieren" of section i.
  constructor(texts: HelpTexts, tryProgram: (section: number) => void) {
    super(texts.caption, 'help');
    const tabList = document.createElement('div');
    tabList.className = 'help-tabs';
    tabList.setAttribute('role', 'tablist');

    const text = document.createElement('textarea');
    text.readOnly = true;
    text.wrap = 'off';
    text.value = texts.reference;
    text.setAttribute('aria-label', texts.caption);

    const primer = document.createElement('div');
    primer.className = 'primer';
    primer.tabIndex = 0;
    texts.primer.forEach((section, index) => {
      const part = document.createElement('section');
      part.setAttribute('aria-label', section.title);
      const heading = document.createElement('h3');
      heading.textContent = section.title;
      part.append(heading);
      for (const paragraph of section.paragraphs) {
        const p = document.createElement('p');
        p.textContent = paragraph;
        part.append(p);
      }
      if (section.program !== '') {
        const program = document.createElement('pre');
        program.textContent = section.program.replace(/\n$/, '');
        program.setAttribute('aria-label', `${texts.programName}${section.title}`);
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = texts.tryCaption;
        button.setAttribute('aria-label', `${texts.tryCaption}: ${section.title}`);
        button.addEventListener('click', () => tryProgram(index));
        part.append(program, button);
      }
      primer.append(part);
    });

    for (const [caption, page] of [[texts.commandListTab, text], [texts.primerTab, primer]] as const) {
      const tab = document.createElement('button');
      tab.type = 'button';
      tab.setAttribute('role', 'tab');
      tab.textContent = caption;
      tab.id = `help-tab-${this.tabs.length}`;
      page.setAttribute('role', 'tabpanel');
      page.setAttribute('aria-labelledby', tab.id);
      const index = this.tabs.length;
      tab.addEventListener('click', () => this.showPage(index));
      // Arrow keys move between the two tabs, as in a tab control.
      tab.addEventListener('keydown', (event) => {
        if (event.key === 'ArrowRight' || event.key === 'ArrowLeft') {
          event.preventDefault();
          const next = (index + 1) % 2;
          this.showPage(next);
          this.tabs[next].focus();
        }
      });
      tabList.append(tab);
      this.tabs.push(tab);
      this.pages.push(page);
    }
    this.showPage(0);
    this.panel.append(this.titleBar, tabList, text, primer);
    this.open(192, 107);
  }

  showPage(index: number): void {
    this.tabs.forEach((tab, i) => {
      tab.setAttribute('aria-selected', String(i === index));
      tab.tabIndex = i === index ? 0 : -1;
      this.pages[i].hidden = i !== index;
    });
  }
}
