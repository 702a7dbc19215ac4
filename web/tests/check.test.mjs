// "Check My Work…" on the page: opened from its button and by its access
// key on the sight in the fields, the navigator's sheet typed box by box
// with real keys, and the marks, the signs under the boxes and the slip
// lines compared with what sightform --check --json says of the same row.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';

import {
  accessKey, assertClean, focusedId, messageShown, openPage, pressOk, printedLines, servedAndLaunched, sightform,
  typeInto,
} from './browser.mjs';

const entryColumns = 'method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,lonMin';
const valueNames = [
  'LHA', 't', 'tUsed', 'coDec', 'Q_coDec', 'Q_tUsed', 'Qv', 'v', 'coV', 'Q_dec', 'Q_coV', 'Qw', 'w', 'wUsed', 'u',
  'uUsed', 'Q_uUsed', 'QHc', 'Hc', 'coHc', 'Q_v', 'Q_coHc', 'QZ', 'Z', 'ZUsed', 'Zn',
];
const azimuths = new Set(['Z', 'ZUsed', 'Zn']);
const isAngle = name => !azimuths.has(name) && !name.startsWith('Q');

const formWords = { Q_coDec: 'Q(90 - dec)', tUsed: 't used', coV: '90 - v', ZUsed: 'Z after its rule' };
const signs = { agrees: '✓', 'within-reading': '≈', follows: '→', differs: '✗' };

// sightform --check --json's object for one sheet: the sight and the values
// given (by name; the others left empty).
function sightformCheck(sight, given, tolerance = 'whole') {
  const entries = [sight.method, ...sight.gha, ...sight.dec, ...sight.lat, ...sight.lon];
  const csv = `${entryColumns},${valueNames.join(',')}\n${[...entries, ...valueNames.map(n => given[n] ?? '')].join(',')}\n`;
  let output;
  try {
    output = execFileSync(sightform, ['--check', '-', '--json', '--tolerance', tolerance], { input: csv, encoding: 'utf8' });
  } catch (error) {
    // 3: a slip was found; 65: the row cannot be reduced (said in the object)
    if (error.status !== 3 && error.status !== 65) throw error;
    output = error.stdout;
  }
  return JSON.parse(output);
}

// The right form's values as the form prints them, from sightform: every
// box given a value of its kind, and each value's "right" kept.
function rightSheet(sight) {
  const placeholders = Object.fromEntries(valueNames.map(n => [n, isAngle(n) ? '0 0' : '0']));
  const report = sightformCheck(sight, placeholders);
  assert.equal(report.outcome, 'complete', JSON.stringify(sight));
  return Object.fromEntries(report.values.map(v => [v.name, v.right]));
}

// A value as a student writes it: angles in both spellings in turn
// (15°47.7' or 15 47.7), azimuths without the degree sign.
function written(name, text, i) {
  if (azimuths.has(name)) return text.replace('°', '');
  if (isAngle(name) && i % 2) return text.replace('°', ' ').replace("'", '');
  return text;
}

async function enterSight(page, sight) {
  const [ghaDeg, ghaMin] = sight.gha;
  const [decName, decDeg, decMin] = sight.dec;
  const [latName, latDeg, latMin] = sight.lat;
  const [lonName, lonDeg, lonMin] = sight.lon;
  for (const [id, text] of [['txtGHADeg', ghaDeg], ['txtGHAMin', ghaMin], ['txtDecDeg', decDeg],
    ['txtDecMin', decMin], ['txtLDeg', latDeg], ['txtLMin', latMin], ['txtLoDeg', lonDeg], ['txtLoMin', lonMin]]) {
    await page.click(`#${id}`, { clickCount: 3 });
    await page.keyboard.press('Backspace');
    if (text !== '') await typeInto(page, id, text);
  }
  for (const [id, name] of [['cboDec', decName], ['cboL', latName], ['cboLo', lonName]]) await page.select(`#${id}`, name);
  await page.click(sight.method === 'QQ' ? '#optQQ' : '#optQ');
}

// The boxes in the order Tab takes them.
const boxOrder = page => page.$$eval('#checkForm input', boxes => boxes.map(box => box.id.replace(/^check_/, '')));

// Types the sheet into the open check, over what the boxes kept, box after
// box with Tab in the order of working, as a person copies their form; a
// value not given leaves its box empty.
async function typeSheet(page, sheet) {
  assert.deepEqual(await boxOrder(page), valueNames, 'the boxes in the order of working');
  await page.focus('#check_LHA');
  for (const [i, name] of valueNames.entries()) {
    assert.equal(await focusedId(page), `check_${name}`, 'Tab goes through the boxes in the order of working');
    await page.$eval(`#check_${name}`, box => box.select());
    await page.keyboard.press('Delete');
    if (sheet[name] !== undefined) await page.keyboard.type(written(name, sheet[name], i));
    await page.keyboard.press('Tab');
  }
  assert.equal(await focusedId(page), 'checkTolerance');
}

// What the dialog shows after Check: each marked box with its mark and the
// sign under it (and under its copies), the slip lines and the summary.
const marksShown = page =>
  page.evaluate(() => {
    const values = [];
    for (const box of document.querySelectorAll('#checkForm input')) {
      if (!box.dataset.mark) continue;
      const name = box.id.replace(/^check_/, '');
      const copies = Array.from(document.querySelectorAll(`[id="check_${name}_again"]`));
      values.push({
        name,
        mark: box.dataset.mark,
        signs: [box, ...copies].map(shown => document.getElementById(`${shown.id}_mark`).textContent),
        typed: box.value,
        copies: copies.map(copy => [copy.value, copy.dataset.mark]),
        description: box.getAttribute('aria-description'),
        label: box.labels[0]?.textContent,
      });
    }
    return {
      values,
      slips: Array.from(document.querySelectorAll('#checkSlips li'), item => item.textContent),
      summary: document.getElementById('checkSummary').textContent,
      live: document.getElementById('checkSummary').getAttribute('aria-live'),
    };
  });

// The marks shown agree with sightform's for the same sheet, in every
// respect the dialog shows: mark, sign (under the box and every copy of it),
// the words for screen readers and the slip lines in the form's order.
function assertSameAsSightform(shown, report) {
  const byName = new Map(shown.values.map(v => [v.name, v]));
  assert.deepEqual([...byName.keys()].sort(), report.values.map(v => v.name).sort(), 'the boxes marked are the values given');
  for (const want of report.values) {
    const got = byName.get(want.name);
    const what = `${want.name}: ${JSON.stringify(got)}`;
    assert.equal(got.mark, want.mark, what);
    assert.ok(got.signs.every(sign => sign === signs[want.mark]), what);
    for (const copy of got.copies) assert.deepEqual(copy, [got.typed, want.mark], `${what}: its copy`);
    if (formWords[want.name]) assert.equal(got.label, formWords[want.name], 'named as the form writes it');
    assert.ok(got.description.startsWith(`${signs[want.mark]} `), what);
    if (want.mark !== 'agrees') assert.ok(got.description.endsWith(`the form has ${want.right}`), what);
  }
  assert.deepEqual(shown.slips, report.slips.map(slip => slip.text));
  assert.equal(shown.live, 'polite');
}

async function openBy(page, how) {
  if (how === 'key') await accessKey(page, 'K');
  else await page.click('#mnuCheck');
  await page.waitForSelector('#checkDialog[open]');
  assert.match(await focusedId(page), /^check_\w+$/, 'a box has the focus');
}

async function checkBy(page, how) {
  if (how === 'enter') {
    await page.focus('#check_LHA');
    await page.keyboard.press('Enter');
  } else {
    await page.click('#cmdCheck');
  }
  await page.waitForFunction(() => document.getElementById('checkSummary').textContent !== '');
}

async function closeCheck(page) {
  await page.keyboard.press('Escape');
  await page.waitForSelector('#checkDialog:not([open])');
}

const firstExample = {
  method: 'Q', gha: ['54', '12.3'], dec: ['N', '20', '15.0'], lat: ['N', '40', '00.0'], lon: ['W', '70', '00.0'],
};

// A sheet worked with Q(dec) looked up for Q(90 - dec) and every later value
// worked on right from it; with the Z rule forgotten too, it has two slips.
const oneSlipSheet = {
  ...rightSheet(firstExample),
  Q_coDec: '1060.98', Qv: '2362.21', v: "5°24.6'", coV: "84°35.4'", Q_coV: '4.46', Qw: '1056.52', w: "20°20.4'",
  wUsed: "20°20.4'", u: "109°39.6'", uUsed: "70°20.4'", Q_uUsed: '60.06', QHc: '64.52', Hc: "69°38.4'",
  coHc: "20°21.6'", Q_v: '2361.46', Q_coHc: '1055.79', QZ: '1305.67', Z: '15.7°', ZUsed: '164.3°', Zn: '164.3°',
};
const twoSlipSheet = { ...oneSlipSheet, ZUsed: '15.7°', Zn: '15.7°' };

// Sights across the method's branches: both methods, same and contrary
// names, a south latitude, east longitudes, t over 90, u over 90 and GHA
// past 360.
const sights = [
  firstExample,
  { method: 'QQ', gha: ['300', '10.0'], dec: ['S', '40', '0.0'], lat: ['N', '30', '0.0'], lon: ['E', '20', '30.0'] },
  { method: 'Q', gha: ['170', '0.0'], dec: ['N', '50', '0.0'], lat: ['N', '60', '0.0'], lon: ['W', '70', '0.0'] },
  { method: 'QQ', gha: ['400', '0.0'], dec: ['S', '20', '0.0'], lat: ['N', '10', '0.0'], lon: ['W', '20', '0.0'] },
  { method: 'Q', gha: ['130', '45.6'], dec: ['S', '12', '34.5'], lat: ['S', '35', '20.0'], lon: ['E', '160', '5.0'] },
];

let site;
let chromium;
let opened;

servedAndLaunched(async started => {
  ({ site, chromium } = started);
  opened = await openPage(chromium.browser, site.origin);
});

test('a correct sheet gets only ✓, for sights across the method\'s branches', async () => {
  const { page } = opened;
  for (const [i, sight] of sights.entries()) {
    await enterSight(page, sight);
    const form = await printedLines(page);
    const sheet = rightSheet(sight);
    await openBy(page, i % 2 ? 'key' : 'button');
    await typeSheet(page, sheet);
    await checkBy(page, i % 2 ? 'enter' : 'click');
    const shown = await marksShown(page);
    const report = sightformCheck(sight, sheet);
    assert.equal(report.allAgree, true);
    assertSameAsSightform(shown, report);
    assert.equal(shown.values.length, valueNames.length);
    assert.ok(shown.values.every(v => v.mark === 'agrees'), JSON.stringify(sight));
    assert.equal(shown.summary, `Every value you gave agrees with the form (${valueNames.length} checked).`);
    await closeCheck(page);
    assert.deepEqual(await printedLines(page), form, 'the page behind is left as it was');
  }
  await assertClean(opened, site.origin);
});

test('sheets with one slip, two slips and a table value read 0.3 off: marks and slip lines as sightform --check gives them', async () => {
  const { page } = opened;
  await enterSight(page, firstExample);
  const readingSheet = { ...rightSheet(firstExample), Q_coDec: '64.10' };
  for (const [sheet, slips, how] of [[oneSlipSheet, 1, 'key'], [twoSlipSheet, 2, 'button'], [readingSheet, 0, 'key']]) {
    await openBy(page, how);
    await typeSheet(page, sheet);
    await checkBy(page, 'click');
    const report = sightformCheck(firstExample, sheet);
    assert.equal(report.slips.length, slips);
    const shown = await marksShown(page);
    assertSameAsSightform(shown, report);
    assert.equal(shown.summary, slips === 0
      ? `Every value you gave agrees with the form (${valueNames.length} checked).`
      : `${valueNames.length} values checked: ${slips} ${slips === 1 ? 'slip' : 'slips'}, listed below.`);

    // Another tolerance marks the same boxes again, as sightform does.
    await page.select('#checkTolerance', 'exact');
    assertSameAsSightform(await marksShown(page), sightformCheck(firstExample, sheet, 'exact'));
    await page.select('#checkTolerance', 'whole');

    // Typing in a box takes the marks away; they no longer belong to it.
    await page.focus('#check_Zn');
    await page.keyboard.press('Backspace');
    assert.deepEqual((await marksShown(page)).values, []);
    assert.equal((await marksShown(page)).summary, '');
    await closeCheck(page);
  }
  // The sheet read 0.3 off is marked ≈ there, and the slip search names it
  // only when the tolerance is exact.
  assert.equal(sightformCheck(firstExample, readingSheet).values.find(v => v.name === 'Q_coDec').mark, 'within-reading');
  assert.equal(sightformCheck(firstExample, readingSheet, 'exact').slips.length, 1);
  await assertClean(opened, site.origin);
});

test('a box that is not a value of its kind is marked ? and said why; a blank box is not given', async () => {
  const { page } = opened;
  await enterSight(page, firstExample);
  await openBy(page, 'button');
  const sheet = { LHA: "344°12.3'", t: '14.8', Hc: "66°04.2'" };
  await typeSheet(page, sheet);
  await checkBy(page, 'click');
  const shown = await marksShown(page);
  assert.deepEqual(shown.values.map(v => [v.name, v.mark, v.signs[0]]),
    [['LHA', 'agrees', '✓'], ['t', 'unreadable', '?'], ['Hc', 'agrees', '✓']]);
  assert.equal(shown.slips.length, 1);
  assert.match(shown.slips[0], /^t takes /);
  assert.match(shown.summary, /could not be read/);
  await closeCheck(page);
  await assertClean(opened, site.origin);
});

test('entries that cannot be reduced: the check says why, as Calculate does, and opens no form', async () => {
  const { page } = opened;
  // u below 0: the message box of Calculate, with the check's own words.
  const sight = { method: 'Q', gha: ['0', '0.0'], dec: ['S', '60', '0.0'], lat: ['N', '60', '0.0'], lon: ['W', '0', '0.0'] };
  const report = sightformCheck(sight, {});
  assert.notEqual(report.outcome, 'complete');
  await enterSight(page, sight);
  if (await messageShown(page)) await pressOk(page);
  await page.click('#mnuCheck');
  await page.waitForSelector('#messageBox[open]');
  assert.equal(await messageShown(page), report.message);
  assert.equal(await page.$eval('#checkDialog', dialog => dialog.open), false);
  await pressOk(page);
  assert.equal(await focusedId(page), 'mnuCheck');
  await assertClean(opened, site.origin);
});

test('Tab, and a screen reader, go down the left column of the form and then down the right', async () => {
  const { page } = opened;
  await enterSight(page, firstExample);
  await openBy(page, 'button');
  const { boxes, middle, ordered } = await page.evaluate(() => {
    const form = document.getElementById('checkForm').getBoundingClientRect();
    return {
      boxes: Array.from(document.querySelectorAll('#checkForm input'), box => {
        const { left, top } = box.getBoundingClientRect();
        return { name: box.id.slice(6), left, top };
      }),
      middle: form.left + form.width / 2,
      ordered: Array.from(document.querySelectorAll('#checkDialog *')).every(node => node.tabIndex <= 0),
    };
  });
  assert.ok(ordered, 'no tab order other than the document\'s');
  const place = box => [box.left < middle ? 0 : 1, box.top, box.left];
  for (let i = 1; i < boxes.length; i += 1) {
    const [a, b] = [place(boxes[i - 1]), place(boxes[i])];
    const before = a[0] < b[0] || (a[0] === b[0] && (a[1] < b[1] || (a[1] === b[1] && a[2] < b[2])));
    assert.ok(before, `${boxes[i - 1].name} then ${boxes[i].name}`);
  }
  await closeCheck(page);
});

test('a paste of megabytes is cut at the box, and a text of any length reaches the core without overwriting it', async () => {
  const { page } = opened;
  await enterSight(page, firstExample);
  await openBy(page, 'button');
  const sheet = rightSheet(firstExample);
  await typeSheet(page, sheet);
  const long = '1'.repeat(3_000_000);
  await page.$eval('#check_t', box => box.select());
  await page.evaluate(text => document.execCommand('insertText', false, text), long);
  assert.ok((await page.$eval('#check_t', box => box.value.length)) <= 24, 'the paste is cut');
  // Past the box's limit, as a script can put it: unreadable, and nothing else changes.
  await page.$eval('#check_t', (box, text) => { box.value = text; }, long);
  await checkBy(page, 'click');
  const marks = (await marksShown(page)).values;
  assert.deepEqual(marks.filter(v => v.mark !== 'agrees').map(v => [v.name, v.mark]), [['t', 'unreadable']]);
  await page.$eval('#check_t', (box, text) => { box.value = text; }, sheet.t);
  await checkBy(page, 'click');
  assert.match((await marksShown(page)).summary, /^Every value you gave agrees/);
  await closeCheck(page);
  await assertClean(opened, site.origin);
});

test('the sheet and its tolerance are kept through Escape, ×, and a reload while the entries stay; other entries are said', async () => {
  const { page } = opened;
  await enterSight(page, firstExample);
  await openBy(page, 'button');
  await typeSheet(page, { LHA: oneSlipSheet.LHA, t: oneSlipSheet.t, Q_coDec: oneSlipSheet.Q_coDec });
  await page.select('#checkTolerance', 'tenths');
  await checkBy(page, 'click');
  const typed = await marksShown(page);
  for (const close of ['Escape', '×', 'reload']) {
    if (close === 'Escape') await closeCheck(page);
    else if (close === '×') await page.click('#checkClose');
    else {
      await page.reload({ waitUntil: 'load' });
      await page.waitForSelector('html[data-state=ready]');
      await enterSight(page, firstExample);
    }
    await openBy(page, 'button');
    assert.deepEqual(await marksShown(page), typed, `after ${close}`);
    assert.equal(await page.$eval('#checkTolerance', list => list.value), 'tenths');
    assert.equal(await page.$eval('#checkKeptNote', note => note.hidden), true);
  }
  await closeCheck(page);
  await enterSight(page, { ...firstExample, gha: ['54', '12.4'] });
  await openBy(page, 'button');
  assert.deepEqual(await page.$$eval('#checkForm input', boxes => boxes.filter(box => box.value !== '').length), 0);
  assert.match(await page.$eval('#checkKeptNote', note => (note.hidden ? '' : note.textContent)), /changed.*GHA 54°12\.3'/);
  await closeCheck(page);
  await page.select('#checkTolerance', 'whole');
});

test('with no entries, the check asks for the sight first and opens no form', async () => {
  const { page } = opened;
  await page.click('#cmdClear');
  await page.click('#mnuCheck');
  assert.match(await messageShown(page), /^Enter the sight first/);
  assert.equal(await page.$eval('#checkDialog', dialog => dialog.open), false);
  await pressOk(page);
});

// Nothing in the open check outside the screen, and nothing that scrolls
// sideways.
const sideways = page =>
  page.evaluate(() => {
    const dialog = document.getElementById('checkDialog');
    const outside = Array.from(dialog.querySelectorAll('*'), node => [node, node.getBoundingClientRect()])
      .filter(([, box]) => box.width > 0 && (box.left < 0 || box.right > innerWidth + 0.5))
      .map(([node]) => node.id || node.className);
    return { outside, page: document.documentElement.scrollWidth > innerWidth, dialog: dialog.scrollWidth > dialog.clientWidth };
  });
const fits = { outside: [], page: false, dialog: false };

let phone;

test('on a 360 × 740 touch screen: one value to a row in the order of working, within the screen before and after Check', async () => {
  phone = await openPage(chromium.browser, site.origin, { viewport: { width: 360, height: 740, isMobile: true, hasTouch: true } });
  const { page } = phone;
  await enterSight(page, firstExample);
  await page.tap('#cmdQ');
  await page.tap('#mnuCheck');
  await page.waitForSelector('#checkDialog[open]');
  assert.deepEqual(await sideways(page), fits);
  const rows = await page.$$eval('.checkValue', all => all.map(row => {
    const [label, box, mark] = ['label', 'input', '.checkMark'].map(part => row.querySelector(part));
    return { name: box.id.slice(6), keys: box.inputMode, ...Object.fromEntries([['label', label], ['box', box], ['mark', mark]]
      .map(([part, node]) => [part, node.getBoundingClientRect().toJSON()])) };
  }));
  assert.deepEqual(rows.map(row => row.name), valueNames);
  rows.forEach((row, i) => {
    assert.ok(row.label.right <= row.box.left && row.box.right <= row.mark.left, `${row.name}: its words, box and mark`);
    assert.ok(i === 0 || row.box.top >= rows[i - 1].box.bottom, `${row.name} on a row of its own`);
    assert.equal(row.keys, isAngle(row.name) || ['Qw', 'QZ'].includes(row.name) ? 'text' : 'decimal', row.name);
  });
  for (const name of valueNames) {
    await page.tap(`#check_${name}`);
    if (twoSlipSheet[name]) await page.keyboard.type(written(name, twoSlipSheet[name], 0));
  }
  await page.tap('#cmdCheck');
  assertSameAsSightform(await marksShown(page), sightformCheck(firstExample, twoSlipSheet));
  assert.deepEqual(await sideways(page), fits);
});

test('Mark as I go: a slip left is marked ✗ with its words at once, corrected ✓, and a value worked on from it →', async () => {
  const { page } = phone;
  await page.tap('#checkAsIGo');
  await page.$$eval('#checkForm input', boxes => boxes.forEach(box => {
    box.value = '';
    box.dispatchEvent(new Event('input', { bubbles: true }));
  }));
  const right = rightSheet(firstExample);
  const shown = name => page.$eval(`#check_${name}`, box => [box.dataset.mark, document.getElementById(`${box.id}_mark`).textContent,
    document.getElementById(`${box.id}_note`).hidden ? null : document.getElementById(`${box.id}_note`).textContent]);
  const leaveBy = { Tab: () => page.keyboard.press('Tab'), Enter: () => page.keyboard.press('Enter'), tap: () => page.tap('#checkHint') };
  const type = async (name, text, leave) => {
    await page.tap(`#check_${name}`);
    await page.$eval(`#check_${name}`, box => box.select());
    await page.keyboard.type(text);
    await leaveBy[leave]();
  };
  for (const [i, name] of ['LHA', 't', 'tUsed', 'coDec'].entries()) await type(name, right[name], Object.keys(leaveBy)[i % 3]);
  assert.deepEqual(await shown('coDec'), ['agrees', '✓', null]);
  const slip = sightformCheck(firstExample, { ...right, Q_coDec: oneSlipSheet.Q_coDec }).slips[0].text;
  await type('Q_coDec', oneSlipSheet.Q_coDec, 'Enter');
  assert.deepEqual(await shown('Q_coDec'), ['differs', '✗', slip]);
  assert.ok((await page.$eval('#checkSaid', said => said.textContent)).endsWith(slip), 'told to a screen reader');
  await type('Q_coDec', right.Q_coDec, 'tap');
  assert.deepEqual(await shown('Q_coDec'), ['agrees', '✓', null]);
  for (const name of ['Q_coDec', 'Q_tUsed', 'Qv']) await type(name, oneSlipSheet[name], 'Tab');
  assert.deepEqual(await shown('Qv'), ['follows', '→', null]);
  assert.deepEqual(await sideways(page), fits);
  await assertClean(phone, site.origin);
});
