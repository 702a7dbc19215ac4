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

// Types the sheet into the open check, box after box with Tab, as a person
// copies their form; a value not given leaves its box empty.
async function typeSheet(page, sheet) {
  const order = await boxOrder(page);
  assert.deepEqual([...order].sort(), [...valueNames].sort(), 'one box per value');
  for (const [i, name] of order.entries()) {
    assert.equal(await focusedId(page), `check_${name}`, 'Tab goes through the boxes in the form\'s order');
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
        label: box.getAttribute('aria-label'),
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
    assert.equal(got.label, want.name);
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
  assert.equal(await focusedId(page), 'check_LHA', 'the first box has the focus');
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
  assert.match(shown.slips[0], /^t: /);
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
