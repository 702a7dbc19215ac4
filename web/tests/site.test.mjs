// The page as a site: it works offline after one visit, asks nothing of
// another origin, keeps its strict security policy, is laid out as the
// window is (and still usable on a phone), prints only the form, and tells
// screen readers what the window tells them.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import {
  assertClean, firstExample, focusedId, openPage, printedLines, servedAndLaunched, siteDir,
} from './browser.mjs';

let site;
let chromium;

servedAndLaunched(started => ({ site, chromium } = started));

test('after one visit the page opens, calculates and checks with the network gone', async () => {
  const context = await chromium.browser.createBrowserContext();
  try {
    const opened = await openPage(context, site.origin);
    // The worker has cached every file once it is active.
    await opened.page.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
    await opened.page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 10000 })
      .catch(() => opened.page.reload({ waitUntil: 'load' }));
    await assertClean(opened, site.origin);
    // The browser stops an idle worker (under load, often before the next
    // visit); the visit below then starts it again from its copy.
    const session = await opened.page.createCDPSession();
    await session.send('ServiceWorker.enable');
    await session.send('ServiceWorker.stopAllWorkers');
    await opened.page.close();

    site.setOffline(true);
    const offline = await openPage(context, site.origin);
    await offline.page.setOfflineMode(true);
    await firstExample(offline.page);
    const lines = await printedLines(offline.page);
    assert.equal(lines.length, 15);
    assert.equal(lines[12].trim(), 'Zn = 141.0°');
    // The check of a navigator's own form works offline too.
    await offline.page.click('#mnuCheck');
    await offline.page.waitForSelector('#checkDialog[open]');
    await offline.page.keyboard.type('344 12.3');
    await offline.page.keyboard.press('Enter');
    await offline.page.waitForSelector('#check_LHA[data-mark=agrees]');
    // And so does a new exercise.
    await offline.page.click('#checkClose');
    await offline.page.click('#mnuNewExercise');
    await offline.page.waitForSelector('#exerciseDialog[open]');
    await offline.page.keyboard.press('Enter');
    await offline.page.waitForFunction(() => document.getElementById('exerciseSeed').textContent !== '');
    assert.notEqual(await offline.page.$eval('#txtGHADeg', field => field.value), '');
    // Every file the page loaded was answered by the worker. The browser's
    // own requests still reach the server, which answers none of them: its
    // check for a new worker script, and, while it starts a stopped worker,
    // the page's address asked of the network in parallel.
    const loaded = await offline.page.evaluate(() =>
      performance.getEntries().filter(entry => ['navigation', 'resource'].includes(entry.entryType))
        .map(entry => [new URL(entry.name).pathname, entry.workerStart > 0, entry.responseStatus]));
    assert.ok(loaded.length > 10, JSON.stringify(loaded));
    assert.deepEqual(loaded.filter(([, byWorker, status]) => !byWorker || status !== 200), []);
    await offline.page.close();
  } finally {
    site.setOffline(false);
    await context.close();
  }
});

test('every file the site has is in the worker\'s list, and the list is all there is', async () => {
  const worker = fs.readFileSync(path.join(siteDir, 'sw.js'), 'utf8');
  const listed = JSON.parse(worker.match(/const files = (\[[^\]]*\])/)[1]);
  const files = fs.readdirSync(siteDir).filter(name => name !== 'sw.js').sort();
  assert.deepEqual(listed, ['./', ...files]);
});

test('the policy forbids inline code and eval, and the page keeps to it', async () => {
  const html = fs.readFileSync(path.join(siteDir, 'index.html'), 'utf8');
  const policy = html.match(/http-equiv="Content-Security-Policy" content="([^"]*)"/)[1];
  assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'|\*|https?:/);
  assert.match(policy, /script-src 'self' 'wasm-unsafe-eval'/);
  assert.doesNotMatch(html, /<script(?![^>]*\bsrc=)|\sstyle=|\son[a-z]+=/, 'no inline script, style or handler');
  for (const file of fs.readdirSync(siteDir).filter(name => name.endsWith('.js')))
    assert.doesNotMatch(fs.readFileSync(path.join(siteDir, file), 'utf8'), /\beval\(|new Function\b/, file);
  // The whole page worked through once: no breach reported, nothing asked of
  // another origin, nothing in the console.
  const opened = await openPage(chromium.browser, site.origin);
  await firstExample(opened.page);
  await opened.page.click('#cmdHelp');
  await assertClean(opened, site.origin);
  await opened.page.close();
});

test('the window is laid out in its twips at 15 to a pixel', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const box = id => opened.page.$eval(`#${id}`, element => {
    const r = element.getBoundingClientRect();
    const window = document.getElementById('Form8').getBoundingClientRect();
    return [r.left - window.left, r.top - window.top, r.width, r.height].map(Math.round);
  });
  // Expected pixels, each twips value divided by 15 and rounded.
  assert.deepEqual(await box('Form8'), [0, 0, 672, 363]);
  assert.deepEqual(await box('txtGHADeg'), [40, 8, 33, 19]);
  assert.deepEqual(await box('txtDecDeg'), [48, 32, 25, 19]);
  assert.deepEqual(await box('cboLo'), [336, 32, 41, 21]);
  assert.deepEqual(await box('cmdQ'), [472, 96, 129, 25]);
  assert.deepEqual(await box('cmdClear'), [8, 304, 81, 25]);
  assert.deepEqual(await box('Frame1'), [472, 40, 129, 41]);
  assert.deepEqual(await box('Line2'), [0, 143, 672, 2]);
  assert.equal((await box('printout'))[1], 151);
  // Tool tips, maximum lengths and the tab order of the window.
  const fields = await opened.page.$$eval('#Form8 input[type=text]', all =>
    Object.fromEntries(all.map(field => [field.id, `${field.maxLength} ${field.title}`])));
  assert.deepEqual(fields, {
    txtGHADeg: '3 Range 0 to 719', txtGHAMin: '4 Range 0 to 59.9', txtLDeg: '2 Range 0 to 90',
    txtLMin: '4 Range 0 to 59.9', txtDecDeg: '2 Range 0 to 90', txtDecMin: '4 Range 0 to 59.9',
    txtLoDeg: '3 Range 0 to 180', txtLoMin: '4 Range 0 to 59.9',
  });
  const order = [];
  for (let i = 0; i < 16; i += 1) {
    order.push(await focusedId(opened.page));
    await opened.page.keyboard.press('Tab');
  }
  assert.deepEqual(order, ['txtGHADeg', 'txtGHAMin', 'txtDecDeg', 'txtDecMin', 'cboDec', 'txtLDeg', 'txtLMin', 'cboL',
    'txtLoDeg', 'txtLoMin', 'cboLo', 'cmdClear', 'cmdClearSome', 'cmdQ', 'cmdHelp', 'optQ']);
  // That order is the document's own, with no tabindex above 0; each access
  // key belongs to one element, and C, shared, is the page's own key.
  const keys = await opened.page.evaluate(() => ({
    positive: Array.from(document.querySelectorAll('[tabindex]'), e => e.tabIndex).filter(index => index > 0),
    accessKeys: Array.from(document.querySelectorAll('[accesskey]'), e => `${e.id} ${e.accessKey}`),
    shortcuts: Array.from(document.querySelectorAll('[aria-keyshortcuts]'),
      e => `${e.id} ${e.getAttribute('aria-keyshortcuts')}`),
  }));
  assert.deepEqual(keys, {
    positive: [],
    accessKeys: ['cmdClear a', 'mnuCheck k'],
    shortcuts: ['cmdClear Alt+A', 'cmdClearSome Alt+C', 'cmdQ Alt+C', 'mnuCheck Alt+K'],
  });
  await assertClean(opened, site.origin);
  await opened.page.close();
});

test('on a narrow phone screen nothing runs off the side and the controls are large enough to touch', async () => {
  const opened = await openPage(chromium.browser, site.origin, { viewport: { width: 360, height: 740, isMobile: true, hasTouch: true } });
  await firstExample(opened.page);
  const fit = await opened.page.evaluate(() => {
    const controls = Array.from(document.querySelectorAll('#Form8 input, #Form8 select, #Form8 button'));
    return {
      pageWidth: document.documentElement.scrollWidth,
      outside: controls.filter(c => c.getBoundingClientRect().right > window.innerWidth).map(c => c.id),
      smallest: Math.min(...controls.map(c => c.getBoundingClientRect().height)),
      fieldFont: parseFloat(getComputedStyle(document.getElementById('txtGHADeg')).fontSize),
    };
  });
  assert.equal(fit.pageWidth, 360);
  assert.deepEqual(fit.outside, []);
  assert.ok(fit.smallest >= 24, `controls large enough to touch (${fit.smallest}px)`);
  assert.ok(fit.fieldFont >= 16, 'no zoom on focus');
  assert.equal((await printedLines(opened.page)).length, 15);
  await assertClean(opened, site.origin);
  await opened.page.close();
});

test('printing puts the entries line and the form on the page, and nothing else', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  await firstExample(opened.page);
  await opened.page.emulateMediaType('print');
  const shown = await opened.page.evaluate(() =>
    Array.from(document.querySelectorAll('body *'))
      .filter(e => e.checkVisibility() && e.getClientRects().length > 0 && !e.parentElement.closest('#printout'))
      .map(e => e.id || e.tagName));
  assert.deepEqual(shown.filter(id => !['page', 'windowColumn', 'Form8'].includes(id)), ['printout', 'entries']);
  assert.equal(await opened.page.$eval('#entries', e => e.innerText),
    "GHA 54°12.3'   Dec N 20°15.0'   DR L N 40°00.0'   DR Lo W 70°00.0'   Q(x) table");
  await opened.page.emulateMediaType(null);
  await assertClean(opened, site.origin);
  await opened.page.close();
});

test('screen readers get the window\'s names, the form as text and the result', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  await firstExample(opened.page);
  const snapshot = await opened.page.accessibility.snapshot({ interestingOnly: true });
  const named = [];
  const walk = node => {
    if (['textbox', 'combobox', 'button', 'radio', 'region', 'status'].includes(node.role)) named.push(`${node.role}: ${node.name}`);
    node.children?.forEach(walk);
  };
  walk(snapshot);
  for (const expected of ['textbox: GHA degrees', 'textbox: GHA minutes', 'textbox: Dec degrees', 'textbox: Dec minutes',
    'textbox: DR L degrees', 'textbox: DR L minutes', 'textbox: DR Lo degrees', 'textbox: DR Lo minutes',
    'combobox: Dec name', 'combobox: DR L name', 'combobox: DR Lo name', 'button: Calculate', 'button: Clear except DR',
    'button: Clear All', 'button: ?', 'radio: Q(x)', 'radio: QQ(x)', 'region: Worked form'])
    assert.ok(named.includes(expected), `${expected} in ${named.join(', ')}`);
  const result = await opened.page.$eval('#result', e => [e.getAttribute('aria-live'), e.textContent]);
  assert.deepEqual(result, ['polite', "Hc = 66°04.2', Zn = 141.0°"]);
  assert.equal(await opened.page.$eval('#printoutMethod', e => e.textContent), 'Printed by the Q(x) table method');
  await assertClean(opened, site.origin);
  await opened.page.close();
});

test('the manifest names icons that are there, at their sizes', async () => {
  const manifest = JSON.parse(fs.readFileSync(path.join(siteDir, 'manifest.webmanifest'), 'utf8'));
  assert.equal(manifest.start_url, './');
  assert.equal(manifest.display, 'standalone');
  for (const icon of manifest.icons) {
    const png = fs.readFileSync(path.join(siteDir, icon.src));
    const [width, height] = [png.readUInt32BE(16), png.readUInt32BE(20)];
    assert.equal(`${width}x${height}`, icon.sizes, icon.src);
  }
  assert.deepEqual(manifest.icons.map(icon => icon.sizes), ['192x192', '512x512']);
});
