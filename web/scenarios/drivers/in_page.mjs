// Scripts the scenarios run inside the page, the same in every engine: the first script before
// the page's own, and the lookup by role and accessible name for a driver that has none.

// Runs before the page's own script. In every engine: a fresh local storage once per tab (a
// reload keeps it; Chromium's driver empties it itself, `keepStorage` here) and no File System
// Access API unless asked. `choosers`: a file input the page
// opens is kept for the driver instead of the system's dialog (Firefox's driver would answer
// that dialog with "cancel" first, WebKit's has none). `observe`, where the driver cannot see
// into the page (WebKit): its errors, the requests that leave the file and the leave warnings.
export function firstScript({ keepStorage, fileSystemAccess, choosers, observe }) {
  try {
    if (sessionStorage.getItem('quarzel-test') === null) {
      if (!keepStorage) localStorage.clear();
      sessionStorage.setItem('quarzel-test', 'offen');
    }
  } catch {
    // a page without storage starts empty anyway
  }
  if (!fileSystemAccess) {
    delete window.showOpenFilePicker;
    delete window.showSaveFilePicker;
  }
  if (!choosers && !observe) return;
  const seen = { errors: [], requests: [], choosers: [] };
  Object.defineProperty(window, '__quarzelTest', { value: seen });
  // A file input the page opens is kept for the driver, which puts files into it; the system's
  // dialog would wait for a user nobody can script.
  const open = function open(original) {
    return function opened(...args) {
      if (this.type !== 'file') return original.apply(this, args);
      if (!this.isConnected) {
        this.hidden = true;
        document.body.append(this);
      }
      seen.choosers.push(this);
      return undefined;
    };
  };
  HTMLInputElement.prototype.click = open(HTMLInputElement.prototype.click);
  if (HTMLInputElement.prototype.showPicker) HTMLInputElement.prototype.showPicker = open(HTMLInputElement.prototype.showPicker);
  if (!observe) return;
  window.addEventListener('error', (event) => seen.errors.push(String(event.error ?? event.message)));
  window.addEventListener('unhandledrejection', (event) => seen.errors.push(String(event.reason)));
  const local = /^(file|data|blob|about):/;
  const requests = new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) if (!local.test(entry.name)) seen.requests.push(entry.name);
  });
  requests.observe({ type: 'resource', buffered: true });
  // The leave warning: counted when the page asked for it and went nonetheless.
  let leaving = null;
  window.addEventListener('beforeunload', (event) => {
    leaving = event;
  });
  window.addEventListener('pagehide', () => {
    if (leaving && (leaving.defaultPrevented || leaving.returnValue !== '')) {
      sessionStorage.setItem('quarzel-test-leave', String(Number(sessionStorage.getItem('quarzel-test-leave') ?? 0) + 1));
    }
  });
}

// The elements below `root` of a role and accessible name, as an accessibility tree shows them:
// hidden ones left out, the name from aria-labelledby, aria-label, a label, the text for roles
// named by their content, then the title.
export function ariaQuery(root, role, name, all) {
  const implicit = (e) => {
    const tag = e.localName;
    if (tag === 'button') return 'button';
    if (tag === 'textarea') return 'textbox';
    if (tag === 'select') return e.multiple || e.size > 1 ? 'listbox' : 'combobox';
    if (tag === 'a' && e.hasAttribute('href')) return 'link';
    if (/^h[1-6]$/.test(tag)) return 'heading';
    if (tag === 'img') return 'image';
    if (tag === 'dialog') return 'dialog';
    if (tag === 'table') return 'table';
    if (tag === 'tr') return 'row';
    if (tag === 'td') return 'cell';
    if (tag === 'th') return 'columnheader';
    if (tag === 'ul' || tag === 'ol') return 'list';
    if (tag === 'li') return 'listitem';
    if (tag === 'input') {
      const type = e.type;
      if (type === 'radio' || type === 'checkbox') return type;
      if (type === 'button' || type === 'submit' || type === 'reset') return 'button';
      if (type === 'range') return 'slider';
      if (type === 'number') return 'spinbutton';
      if (['text', 'search', 'email', 'tel', 'url', 'password'].includes(type)) return 'textbox';
      return '';
    }
    if (e.isContentEditable && e.parentElement && !e.parentElement.isContentEditable) return 'textbox';
    return '';
  };
  // Roles by the names Chromium's accessibility tree gives them, which the scenarios use.
  const chromiumNames = { img: 'image' };
  const roleOf = (e) => {
    const r = (e.getAttribute('role') ?? '').trim().split(/\s+/)[0] || implicit(e);
    return chromiumNames[r] ?? r;
  };
  const fromContent = new Set(['button', 'heading', 'link', 'menuitem', 'cell', 'columnheader', 'rowheader',
    'radio', 'checkbox', 'option', 'tab', 'treeitem', 'tooltip', 'row']);
  const hidden = (e) => e.closest('[aria-hidden="true"]') !== null ||
    (e.checkVisibility ? !e.checkVisibility({ visibilityProperty: true }) : e.getClientRects().length === 0);
  const squeeze = (text) => text.replace(/\s+/g, ' ').trim();
  const textOf = (node) => {
    if (node.nodeType === Node.TEXT_NODE) return node.textContent;
    if (node.nodeType !== Node.ELEMENT_NODE || node.getAttribute('aria-hidden') === 'true') return '';
    const label = node.getAttribute('aria-label');
    if (label && label.trim()) return ` ${label} `;
    if (node.localName === 'input') return ` ${node.value} `;
    return Array.from(node.childNodes, textOf).join('');
  };
  const nameOf = (e, r) => {
    const ids = e.getAttribute('aria-labelledby');
    if (ids) {
      const text = ids.split(/\s+/).map((id) => document.getElementById(id)).filter(Boolean).map(textOf).join(' ');
      if (squeeze(text)) return squeeze(text);
    }
    const label = e.getAttribute('aria-label');
    if (label && label.trim()) return squeeze(label);
    if (e.labels && e.labels.length > 0) {
      const text = Array.from(e.labels, (l) => Array.from(l.childNodes).filter((n) => n !== e).map(textOf).join('')).join(' ');
      if (squeeze(text)) return squeeze(text);
    }
    if (fromContent.has(r)) {
      const text = squeeze(Array.from(e.childNodes, textOf).join(''));
      if (text) return text;
    }
    return squeeze(e.getAttribute('title') ?? e.getAttribute('placeholder') ?? '');
  };
  const found = [];
  for (const e of root.querySelectorAll('*')) {
    if (role !== null && roleOf(e) !== role) continue;
    if (name !== null && nameOf(e, roleOf(e)) !== name) continue;
    if (hidden(e)) continue;
    if (!all) return e;
    found.push(e);
  }
  return all ? found : null;
}
