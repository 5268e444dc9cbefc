// The page on every screen: below 800 pixels of width the core's narrow form, placed as the
// layout function says, nothing to pan sideways and every control in reach, laid out again on
// every turn of the device; and the page under a finger, in Chromium's emulation of a phone.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { setTimeout as sleep } from 'node:timers/promises';
import { answer, byName, dialog, launch, openPage, typeProgram, unsupported } from './harness.mjs';

let chromium;
before(async () => {
  chromium = await launch();
});
after(async () => {
  await chromium.close();
});

// Every control where the core's layout for the client size puts it, relative to the box it
// lies in (the page scrolled to its top, where the fixed run panel's box is the screen's).
async function misplaced(page) {
  return page.evaluate(() => {
    window.scrollTo(0, 0);
    const { clientWidth, clientHeight } = document.documentElement;
    const layout = window.quarzel.pageLayout(clientWidth, clientHeight);
    const out = [];
    for (const [name, expected] of Object.entries(layout.rects)) {
      const element = document.getElementById(name);
      if (element.closest('[hidden]')) continue;
      const parent = element.parentElement.getBoundingClientRect();
      const r = element.getBoundingClientRect();
      const actual = [r.left - parent.left, r.top - parent.top, r.width, r.height].map(Math.round);
      if (actual.join() !== expected.join()) out.push(`${name}: ${actual} statt ${expected}`);
    }
    const app = document.getElementById('app');
    const surface = [app.offsetWidth, app.offsetHeight];
    if (surface.join() !== [layout.width, layout.height].join()) out.push(`app: ${surface} statt ${layout.width},${layout.height}`);
    return { narrow: layout.narrow, out };
  });
}

// The controls that cannot be reached: scrolled into view, the point at a control's centre
// is not the control (or something inside it), or lies off the screen.
async function unreachable(page) {
  return page.evaluate(async () => {
    const out = [];
    const { clientWidth, clientHeight } = document.documentElement;
    for (const name of Object.keys(window.quarzel.layoutRects(clientWidth, clientHeight))) {
      const element = document.getElementById(name);
      if (element.closest('[hidden]')) continue;
      element.scrollIntoView({ block: 'center', inline: 'center' });
      await new Promise((done) => requestAnimationFrame(done));
      const r = element.getBoundingClientRect();
      const [x, y] = [r.left + r.width / 2, r.top + r.height / 2];
      const hit = document.elementFromPoint(x, y);
      if (x < 0 || y < 0 || x >= clientWidth || y >= clientHeight || !hit || !element.contains(hit)) {
        out.push(`${name} (${Math.round(x)}, ${Math.round(y)}): ${hit?.id || hit?.className || hit?.tagName}`);
      }
    }
    window.scrollTo(0, 0);
    return out;
  });
}

async function sideways(page) {
  return page.evaluate(() => [document.scrollingElement.scrollWidth, document.documentElement.clientWidth]);
}

describe('Quarzel auf jedem Bildschirm', { skip: unsupported('tinyViewport') }, () => {
  it('lays the page out in the narrow form below 800 pixels, with every control in reach, turn after turn', async () => {
    const { page, errors } = await openPage(chromium.browser, { width: 768, height: 1024 });
    // A tablet upright, a phone upright, the phone turned (the window's form, scrolled
    // vertically), and back.
    const screens = [[768, 1024, true], [390, 844, true], [844, 390, false], [390, 844, true], [1366, 768, false]];
    for (const [width, height, narrow] of screens) {
      await page.setViewport({ width, height });
      // The new size is laid out (a vertical scrollbar may take some of the width).
      // Between two narrow sizes the form stays: wait for the page's width to follow.
      await page.waitForFunction((w, n) => innerWidth === w && document.body.classList.contains('narrow') === n &&
        document.getElementById('app').offsetWidth ===
          window.quarzel.pageLayout(document.documentElement.clientWidth, document.documentElement.clientHeight).width,
      {}, width, narrow);
      const placed = await misplaced(page);
      assert.equal(placed.narrow, narrow, `${width} x ${height}`);
      assert.deepEqual(placed.out, [], `${width} x ${height}`);
      const [scrollWidth, clientWidth] = await sideways(page);
      assert.ok(scrollWidth <= clientWidth, `${width} x ${height}: ${scrollWidth} > ${clientWidth}`);
      assert.deepEqual(await unreachable(page), [], `${width} x ${height}`);
    }
    assert.deepEqual(errors, []);
    await page.close();
  });

  it('keeps the run panel on the screen wherever the column is scrolled', async () => {
    const { page } = await openPage(chromium.browser, { width: 390, height: 844 });
    for (const y of [0, 300, 100000]) {
      const bar = await page.evaluate((to) => {
        window.scrollTo(0, to);
        const r = document.getElementById('gbFlowControl').getBoundingClientRect();
        const check = document.getElementById('btCheck').getBoundingClientRect();
        const hit = document.elementFromPoint(check.left + check.width / 2, check.top + check.height / 2);
        return { top: r.top, bottom: r.bottom, height: innerHeight, hit: hit?.id };
      }, y);
      assert.ok(bar.top >= 0 && bar.bottom <= bar.height, JSON.stringify(bar));
      assert.equal(bar.hit, 'btCheck');
    }
    // Scrolled to its end, the column's last buttons lie above the bar.
    const exitAboveBar = await page.evaluate(() => {
      const exit = document.getElementById('btExit').getBoundingClientRect();
      return exit.bottom <= document.getElementById('gbFlowControl').getBoundingClientRect().top;
    });
    assert.ok(exitAboveBar);
    await page.close();
  });

  it('opens the Hilfe panel and the boxes no larger than a phone', async () => {
    const { page } = await openPage(chromium.browser, { width: 320, height: 568 });
    const outside = () => page.evaluate(() => [...document.querySelectorAll('.help, .dialog')]
      .filter((e) => !e.hidden)
      .map((e) => [e.className, e.getBoundingClientRect()])
      .filter(([, r]) => r.width === 0 || r.left < 0 || r.top < 0 || r.right > innerWidth + 0.5 || r.bottom > innerHeight + 0.5)
      .map(([name, r]) => `${name}: ${Math.round(r.width)} x ${Math.round(r.height)} at ${Math.round(r.left)}, ${Math.round(r.top)}`));
    for (const name of ['Hilfe', 'Aufgabe']) {
      await (await byName(page, 'button', name)).evaluate((b) => b.click());
      await page.waitForFunction((n) => document.querySelector(`[role="dialog"][aria-label="${n}"]:not([hidden])`) !== null, {}, name === 'Hilfe' ? 'Befehlsreferenz' : 'Aufgabe');
      assert.deepEqual(await outside(), [], name);
    }
    // A box over both.
    await typeProgram(page, 'FOO');
    await (await byName(page, 'button', 'Prüfen')).evaluate((b) => b.click());
    assert.equal((await dialog(page)).caption, 'Programmfehler');
    assert.deepEqual(await outside(), []);
    await page.close();
  });
});

// A phone: a touch screen, the viewport of a 390 x 844 screen.
async function openPhone() {
  const opened = await openPage(chromium.browser, { width: 390, height: 844 });
  await opened.page.setViewport({ width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3 });
  await opened.page.reload();
  await opened.page.waitForSelector('body[data-ready="true"]', { timeout: 20000 });
  assert.ok(await opened.page.evaluate(() => matchMedia('(pointer: coarse)').matches));
  return opened;
}

function centre(rect) {
  return [rect.x + rect.width / 2, rect.y + rect.height / 2];
}

describe('Quarzel mit dem Finger', { skip: unsupported('touchScreen') }, () => {
  it('makes every control at least 44 x 44 pixels and every text field 16 pixels high', async () => {
    const { page } = await openPhone();
    await (await byName(page, 'button', 'Hilfe')).tap();
    await page.waitForSelector('.help:not([hidden])');
    const small = await page.evaluate(() => {
      const out = [];
      for (const e of document.querySelectorAll('button, label.radio')) {
        if (e.closest('[hidden]') || e.offsetParent === null) continue;
        const r = e.getBoundingClientRect();
        if (r.width < 44 || r.height < 44) out.push(`${e.id || e.getAttribute('aria-label')}: ${r.width} x ${r.height}`);
      }
      for (const selector of ['#meProgram .cm-content', '#sgData input', '.help textarea']) {
        const size = parseFloat(getComputedStyle(document.querySelector(selector)).fontSize);
        if (size < 16) out.push(`${selector}: ${size}px`);
      }
      return out;
    });
    assert.deepEqual(small, []);
    await page.close();
  });

  it('opens the breakpoint menu by a long press on a program line', async () => {
    const { page } = await openPhone();
    await typeProgram(page, 'LAD 1\nINC\nSTP');
    const line = await page.evaluate(() => {
      const r = document.querySelectorAll('#meProgram .cm-line')[1].getBoundingClientRect();
      return [r.left + 30, r.top + r.height / 2];
    });
    const touch = await page.touchscreen.touchStart(...line);
    await page.waitForSelector('.context-menu', { timeout: 3000 });
    await touch.end();
    // Lifting the finger chooses nothing; a tap on the entry sets the mark on that line.
    await sleep(100);
    assert.deepEqual(await page.evaluate(() => window.quarzel.breakpoints()), []);
    const item = await page.$('.context-menu button');
    assert.equal(await item.evaluate((b) => b.textContent), 'Haltepunkt ein/aus');
    await sleep(400);
    await item.tap();
    await page.waitForFunction(() => !document.querySelector('.context-menu'));
    assert.deepEqual(await page.evaluate(() => window.quarzel.breakpoints()), [1]);
    await page.close();
  });

  it('drags a panel by its title bar with a finger and lets it go when the browser takes the touch', async () => {
    const { page } = await openPhone();
    await (await byName(page, 'button', 'Hilfe')).tap();
    const title = await page.waitForSelector('.help:not(.task):not([hidden]) .title');
    const before = await page.$eval('.help:not(.task)', (e) => e.getBoundingClientRect().toJSON());
    const room = await page.evaluate(() => innerHeight) - before.bottom;
    // Toward the side with room: the panel follows the finger by as much.
    const dy = room >= 40 ? 40 : -40;
    const [x, y] = centre(await title.boundingBox());
    const start = [x - 60, y];
    let touch = await page.touchscreen.touchStart(...start);
    await touch.move(start[0], start[1] + dy / 2);
    await touch.move(start[0], start[1] + dy);
    await touch.end();
    const moved = await page.$eval('.help:not(.task)', (e) => e.getBoundingClientRect().toJSON());
    assert.equal(Math.round(moved.top - before.top), dy);
    // The browser cancels the next drag: later moves of that finger leave the panel alone.
    await page.evaluate(() => {
      window.lastPointer = undefined;
      addEventListener('pointerdown', (e) => { window.lastPointer = e.pointerId; }, true);
    });
    touch = await page.touchscreen.touchStart(...start);
    await page.evaluate(() => document.querySelector('.help:not(.task) .title')
      .dispatchEvent(new PointerEvent('pointercancel', { pointerId: window.lastPointer, bubbles: true })));
    await touch.move(start[0], start[1] - dy);
    await touch.end();
    const after = await page.$eval('.help:not(.task)', (e) => e.getBoundingClientRect().toJSON());
    assert.equal(after.top, moved.top);
    await page.close();
  });
});
