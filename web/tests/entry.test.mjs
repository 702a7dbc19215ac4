// The window's entry and command scenarios, worked on the page with real key
// events and clicks: the key filter and its beep, the range marking with
// "Out of Range", the minute lock, the focus hold, both clears, the method
// switch, help and Copy.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';

import {
  accessKey, assertClean, beeps, fieldState, focusedId, messageShown, openPage, pressOk,
  printedLines, servedAndLaunched, sightform, typeInto, valueOf,
} from './browser.mjs';

let site;
let chromium;
let opened;
let page;

servedAndLaunched(started => ({ site, chromium } = started));

// Each scenario on a freshly opened page, checked for a clean console after.
function scenario(name, body) {
  test(name, async () => {
    opened = await openPage(chromium.browser, site.origin);
    page = opened.page;
    try {
      await body();
      await assertClean(opened, site.origin);
    } finally {
      await page.close();
    }
  });
}

const firstExample = { gha: ['54', '12.3'], dec: ['20', '15.0'], lat: ['40', '00.0'], lon: ['70', '00.0'] };

async function enter({ gha, dec, lat, lon }) {
  for (const [id, text] of [['txtGHADeg', gha[0]], ['txtGHAMin', gha[1]], ['txtDecDeg', dec[0]], ['txtDecMin', dec[1]],
    ['txtLDeg', lat[0]], ['txtLMin', lat[1]], ['txtLoDeg', lon[0]], ['txtLoMin', lon[1]]])
    await typeInto(page, id, text);
}

const sightformLines = (...args) => execFileSync(sightform, args, { encoding: 'utf8' }).trimEnd().split('\n');
const firstExampleForm = method =>
  sightformLines('--method', method, '--gha', '54', '12.3', '--dec', 'N', '20', '15.0', '--lat', 'N', '40', '00.0',
    '--lon', 'W', '70', '00.0');

scenario('the page opens as the window does', async () => {
  const state = await page.evaluate(() => ({
    texts: Array.from(document.querySelectorAll('#Form8 input[type=text]'), field => field.value),
    lists: ['cboDec', 'cboL', 'cboLo'].map(id => document.getElementById(id).selectedOptions[0].text),
    items: ['cboDec', 'cboL', 'cboLo'].map(id => Array.from(document.getElementById(id).options, o => o.text)),
    method: document.getElementById('optQ').checked,
    printed: document.getElementById('printout').innerText,
  }));
  assert.deepEqual(state, {
    texts: ['', '', '', '', '', '', '', ''],
    lists: ['N', 'N', 'W'],
    items: [['N', 'S'], ['N', 'S'], ['W', 'E']],
    method: true,
    printed: '',
  });
  assert.equal(await focusedId(page), 'txtGHADeg');
});

scenario('the key filter drops what a field may not hold, with a beep', async () => {
  // Each row: field, keys typed one by one, the text they leave, beeps.
  const rows = [
    ['txtDecDeg', ['4', 'a', ' ', '-', '+', ',', '.', '5'], '45', 6],
    ['txtGHAMin', ['1', '.', '2', '.', 'x'], '1.2', 2],
    ['txtLMin', ['.', '5'], '.5', 0],
    ['txtLoDeg', ['1', 'Enter', 'Escape', '7', '9'], '179', 2],
  ];
  for (const [id, keys, text, beeped] of rows) {
    await page.focus(`#${id}`);
    const before = await beeps(page);
    for (const key of keys) await page.keyboard.press(key);
    assert.equal(await valueOf(page, id), text, id);
    assert.equal((await beeps(page)) - before, beeped, `${id} beeps`);
  }
  // Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z and Ctrl+A arrive as control characters:
  // they only beep, and the field keeps its text and selection.
  await page.focus('#txtDecDeg');
  const before = await beeps(page);
  for (const letter of ['C', 'X', 'V', 'Z', 'A']) {
    await page.keyboard.down('Control');
    await page.keyboard.press(`Key${letter}`);
    await page.keyboard.up('Control');
  }
  assert.equal(await valueOf(page, 'txtDecDeg'), '45');
  assert.equal((await beeps(page)) - before, 5);
  // Backspace always passes.
  await page.keyboard.press('Backspace');
  assert.equal(await valueOf(page, 'txtDecDeg'), '4');
  // What an input method commits is checked as typed keys are: one refused
  // character takes back the whole commit, with a beep.
  const compose = async (id, text) => {
    await page.focus(`#${id}`);
    const session = await page.createCDPSession();
    await session.send('Input.imeSetComposition', { text, selectionStart: text.length, selectionEnd: text.length });
    await session.send('Input.insertText', { text });
    await session.detach();
  };
  const beforeCommits = await beeps(page);
  await compose('txtDecDeg', 'x4');
  assert.equal(await valueOf(page, 'txtDecDeg'), '4');
  await compose('txtGHAMin', '.5');
  assert.equal(await valueOf(page, 'txtGHAMin'), '1.2', 'a second point');
  assert.equal((await beeps(page)) - beforeCommits, 2);
  await compose('txtLoMin', '7.5');
  assert.equal(await valueOf(page, 'txtLoMin'), '7.5');
  assert.equal((await beeps(page)) - beforeCommits, 2);
  // A field takes no more than its maximum length.
  await typeInto(page, 'txtGHADeg', '12345');
  assert.equal(await valueOf(page, 'txtGHADeg'), '123');
});

scenario('a value above its bound turns the field red, says "Out of Range" and holds the focus', async () => {
  await typeInto(page, 'txtDecDeg', '9');
  assert.equal(await messageShown(page), null);
  await page.keyboard.type('1');
  assert.equal(await messageShown(page), 'Out of Range');
  assert.equal((await fieldState(page, 'txtDecDeg')).colour, '#ff0000', 'red behind the box');
  await pressOk(page);
  assert.equal(await focusedId(page), 'txtDecDeg');
  assert.deepEqual(await fieldState(page, 'txtDecMin'), { enabled: true, colour: 'Field' });

  // Tab, clicks on other controls and access keys leave the focus where it is
  // and do nothing, without a message.
  await typeInto(page, 'txtLDeg', '40');
  await page.focus('#txtDecDeg');
  await page.keyboard.press('Tab');
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  for (const target of ['#txtGHAMin', '#cmdClear', '#cmdQ', '#optQQ', '#cboDec', '#cmdHelp', 'label[for=optQQ]'])
    await page.click(target);
  await accessKey(page, 'A');
  await accessKey(page, 'C');
  assert.equal(await focusedId(page), 'txtDecDeg');
  assert.equal(await messageShown(page), null);
  assert.equal(await valueOf(page, 'txtLDeg'), '40', 'Clear All did not run');
  assert.equal(await page.$eval('#optQQ', option => option.checked), false, 'the method stayed');
  assert.equal(await page.$eval('#Form1', panel => panel.hidden), true, 'help stayed closed');
  assert.deepEqual(await printedLines(page), []);

  // Backspace back to 9: the window background again, and the focus is free.
  await page.keyboard.press('Backspace');
  assert.equal((await fieldState(page, 'txtDecDeg')).colour, 'Field');
  await page.keyboard.press('Tab');
  assert.equal(await focusedId(page), 'txtDecMin');

  // A minute field above 59.9: the box at every change that stays above it.
  await page.keyboard.type('59.9');
  assert.equal(await messageShown(page), null);
  for (let i = 0; i < 4; i += 1) await page.keyboard.press('Backspace');
  await page.keyboard.type('60');
  // Escape closes the box as OK does.
  assert.equal(await messageShown(page), 'Out of Range');
  await page.keyboard.press('Escape');
  assert.equal(await messageShown(page), null);
  assert.equal(await focusedId(page), 'txtDecMin');
  await page.keyboard.type('.');
  assert.equal(await messageShown(page), 'Out of Range', 'again after "."');
  await pressOk(page);
  await page.keyboard.press('Backspace');
  await pressOk(page);
  await page.keyboard.press('Backspace');
  assert.equal(await valueOf(page, 'txtDecMin'), '6');

  // GHA degrees: 719 is in range, 720 is not; its minutes are never locked.
  await typeInto(page, 'txtGHADeg', '719');
  assert.equal(await messageShown(page), null);
  for (let i = 0; i < 3; i += 1) await page.keyboard.press('Backspace');
  await page.keyboard.type('720');
  await pressOk(page);
  assert.deepEqual(await fieldState(page, 'txtGHAMin'), { enabled: true, colour: 'Field' });
});

scenario('a degree field at its bound locks its minute field', async () => {
  const locked = { enabled: false, colour: 'ButtonFace' };
  // Empty minutes or minutes that read 0: locked, no message, the focus free.
  for (const minutes of ['', '0', '00', '0.', '.']) {
    await page.click('#cmdClear');
    if (minutes) await typeInto(page, 'txtDecMin', minutes);
    await typeInto(page, 'txtDecDeg', '90');
    assert.equal(await messageShown(page), null, `minutes '${minutes}'`);
    assert.deepEqual(await fieldState(page, 'txtDecMin'), locked);
    assert.equal(await valueOf(page, 'txtDecMin'), minutes, 'its text stays');
    await page.keyboard.press('Tab');
    assert.equal(await focusedId(page), 'cboDec', 'Tab passes the locked field');
  }
  // Minutes other than 0: the degree field is red with the box, the minute
  // field locked with its text, and the focus may still leave.
  await page.click('#cmdClear');
  await typeInto(page, 'txtLMin', '0.5');
  await typeInto(page, 'txtLDeg', '90');
  assert.equal(await messageShown(page), 'Out of Range');
  await pressOk(page);
  assert.equal((await fieldState(page, 'txtLDeg')).colour, '#ff0000');
  assert.deepEqual(await fieldState(page, 'txtLMin'), locked);
  await page.click('#txtGHADeg');
  assert.equal(await focusedId(page), 'txtGHADeg');
  // Back to 9: unlocked, with the window background.
  await page.focus('#txtLDeg');
  await page.keyboard.press('Backspace');
  assert.deepEqual(await fieldState(page, 'txtLMin'), { enabled: true, colour: 'Field' });
  // Longitude locks at 180 and is out of range from 181 on.
  await typeInto(page, 'txtLoDeg', '180');
  assert.deepEqual(await fieldState(page, 'txtLoMin'), locked);
  await page.keyboard.press('Backspace');
  await page.keyboard.type('1');
  assert.equal(await messageShown(page), 'Out of Range');
  await pressOk(page);
});

scenario('Calculate, the clears and the method switch do what the window does', async () => {
  await enter(firstExample);
  await page.click('#cmdQ');
  assert.deepEqual(await printedLines(page), firstExampleForm('Q'));
  assert.equal(await page.$eval('#result', region => region.textContent), "Hc = 66°04.2', Zn = 141.0°");

  // The other method calculates at once; the one already selected does not.
  await page.click('#optQQ');
  assert.deepEqual(await printedLines(page), firstExampleForm('QQ'));
  await page.evaluate(() => document.getElementById('printout').replaceChildren());
  await page.click('#optQQ');
  assert.deepEqual(await printedLines(page), [], 'no second calculation');
  await page.click('label[for=optQ]');
  assert.deepEqual(await printedLines(page), firstExampleForm('Q'));

  // "Check your data." keeps the last complete form: GHA 200°12.3' puts t
  // past 90, and with the same names u comes out below 0.
  await page.click('#txtGHADeg');
  await page.keyboard.press('End');
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Backspace');
  await page.keyboard.type('200');
  await page.click('#cmdQ');
  assert.equal(await messageShown(page), 'Check your data.');
  await pressOk(page);
  assert.deepEqual(await printedLines(page), firstExampleForm('Q'));

  // "Clear except DR": GHA and Dec emptied, DR and the lists kept.
  await page.focus('#cboDec');
  await page.keyboard.press('KeyS');
  await page.click('#cmdClearSome');
  const ids = ['txtGHADeg', 'txtGHAMin', 'txtDecDeg', 'txtDecMin', 'txtLDeg', 'txtLMin', 'txtLoDeg', 'txtLoMin'];
  const texts = () => Promise.all(ids.map(id => valueOf(page, id)));
  assert.deepEqual(await texts(), ['', '', '', '', '40', '00.0', '70', '00.0']);
  assert.deepEqual(await printedLines(page), []);
  assert.equal(await page.$eval('#cboDec', list => list.value), 'S');
  assert.equal(await focusedId(page), 'txtGHADeg');
  // "Clear All" empties all eight and unlocks a locked minute field; the
  // lists and the method stay.
  await page.click('#txtLoDeg');
  await page.keyboard.press('End');
  await page.keyboard.press('Backspace');
  await page.keyboard.press('Backspace');
  await page.keyboard.type('180');
  assert.deepEqual(await fieldState(page, 'txtLoMin'), { enabled: false, colour: 'ButtonFace' });
  await accessKey(page, 'A');
  assert.deepEqual(await texts(), ['', '', '', '', '', '', '', '']);
  assert.deepEqual(await fieldState(page, 'txtLoMin'), { enabled: true, colour: 'Field' });
  assert.deepEqual(await printedLines(page), []);
  assert.equal(await page.$eval('#cboDec', list => list.value), 'S');
  assert.equal(await page.$eval('#optQ', option => option.checked), true);
  assert.equal(await focusedId(page), 'txtGHADeg');

  // With the focus in a field above its bound, Clear All clears nothing.
  await typeInto(page, 'txtDecMin', '75');
  await pressOk(page);
  await page.click('#cmdClear');
  assert.equal(await valueOf(page, 'txtDecMin'), '75');
  assert.equal(await focusedId(page), 'txtDecMin');
});

scenario('a failing reduction says why and keeps the form', async () => {
  await enter(firstExample);
  await page.click('#cmdQ');
  await page.click('#cmdClearSome');
  await enter({ gha: ['90', ''], dec: ['2', '13.3'], lat: ['', ''], lon: ['', ''] });
  await page.click('#cmdClear');
  await enter({ gha: ['90', ''], dec: ['2', '13.3'], lat: ['10', ''], lon: ['', ''] });
  await page.click('#cmdQ');
  assert.equal(await messageShown(page), 'These entries cannot be reduced.\nThe table has no angle for Qw = -0.75 (below 0).');
  await pressOk(page);
  assert.equal(await focusedId(page), 'cmdQ');
});

scenario('Enter and Space press the focused button; Alt+C moves between the two C buttons', async () => {
  await enter(firstExample);
  await accessKey(page, 'C');
  assert.equal(await focusedId(page), 'cmdQ');
  assert.deepEqual(await printedLines(page), [], 'Alt+C presses nothing');
  await page.keyboard.press('Enter');
  assert.deepEqual(await printedLines(page), firstExampleForm('Q'));
  await accessKey(page, 'C');
  assert.equal(await focusedId(page), 'cmdClearSome');
  await accessKey(page, 'C');
  assert.equal(await focusedId(page), 'cmdQ');
  await accessKey(page, 'C');
  await page.keyboard.press('Space');
  assert.equal(await valueOf(page, 'txtGHADeg'), '', 'Clear except DR pressed');
  assert.equal(await valueOf(page, 'txtLDeg'), '40');
});

scenario('"?" shows the help beside the form, one at most, with its text as designed', async () => {
  await page.click('#cmdHelp');
  const help = () => page.$eval('#Text1', text => text.value);
  const designed = await help();
  const lines = designed.split('\n');
  assert.equal(lines[13], 'Switching between Q(x) and QQ(x) has the same effect as pressing the Calculate button.');
  assert.equal(lines[5], '  ', 'the line of two spaces');
  assert.match(lines[3], /10' steps instead of 1° steps/);
  assert.equal(await focusedId(page), 'Text1');
  assert.equal(await page.$eval('#Form1Title', title => title.textContent), 'QQ(x) Help');
  // Beside the form, not over it.
  const [form, panel] = await Promise.all(['#Form8', '#Form1'].map(s => page.$eval(s, e => e.getBoundingClientRect().toJSON())));
  assert.ok(panel.left >= form.right, 'beside the form');
  await page.keyboard.type('my notes');
  await page.click('#cmdHelp');
  assert.equal(await page.$$eval('#Form1', panels => panels.length), 1);
  assert.notEqual(await help(), designed, 'still open with the typing');
  await page.click('#Form1Close');
  await page.click('#cmdHelp');
  assert.equal(await help(), designed, 'reopened as designed');
});

scenario('Copy Worked Form puts the printed lines on the clipboard', async () => {
  await chromium.browser.defaultBrowserContext().overridePermissions(site.origin, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  assert.equal(await page.$eval('#mnuCopy', button => button.disabled), true, 'nothing printed yet');
  await enter(firstExample);
  await page.click('#cmdQ');
  await page.click('#mnuCopy');
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  assert.equal(copied, firstExampleForm('Q').map(line => `${line}\n`).join(''));
});

scenario('pasted text skips the key filter and is read as the window reads it', async () => {
  await chromium.browser.defaultBrowserContext().overridePermissions(site.origin, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const paste = async (id, text) => {
    await page.evaluate(t => navigator.clipboard.writeText(t), text);
    await page.focus(`#${id}`);
    await page.keyboard.down('Shift');
    await page.keyboard.press('Insert');
    await page.keyboard.up('Shift');
  };
  // Cut to the field's length; the leading number counts: "54ab" reads 54.
  await paste('txtGHADeg', '54ab');
  assert.equal(await valueOf(page, 'txtGHADeg'), '54a');
  await paste('txtGHAMin', '12.3xyz');
  await paste('txtDecDeg', '20');
  await paste('txtDecMin', '15');
  await paste('txtLDeg', '40');
  await paste('txtLoDeg', '70');
  await page.click('#cmdQ');
  assert.deepEqual(await printedLines(page),
    sightformLines('--gha', '54a', '12.3', '--dec', 'N', '20', '15', '--lat', 'N', '40', '', '--lon', 'W', '70', ''));
  assert.equal((await printedLines(page))[1].slice(0, 13), "LHA 344°12.3'");
  // A pasted value above the bound is marked as a typed one is.
  await paste('txtLMin', '75');
  assert.equal(await messageShown(page), 'Out of Range');
  await pressOk(page);
  assert.equal((await fieldState(page, 'txtLMin')).colour, '#ff0000');
});
