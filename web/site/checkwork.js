// "Check My Work…": a box for every value the navigator works out, in the
// order of working, with what the value is as the form writes it. On a wide
// screen the boxes lie over the worked form where it prints each value, so
// a sheet is copied in line for line; on a narrow one each value is a row.
// Either way the boxes come in the order of working (down the form's left
// column, then down its right), which is the order of Tab and of screen
// readers. Check hands the boxes' texts to the core, which reads them,
// marks them and names the slips; "Mark as I go" asks the same of it each
// time a box is left. This module only lays out the boxes and shows what
// the core answers; it changes nothing on the page behind it.

import { messageBox } from './alerts.js';
import { keepMarkingAsIGo, keepSheet, keptSheet, lastTyped, markingAsIGo } from './keptsheets.js';

const element = id => document.getElementById(id);

// Far more than any value takes (a minute mark, blanks and all), and a
// long paste is cut to it before it reaches the core.
const boxMaxLength = 24;

// Each line of the form has grid rows of its own: the line, then one row
// for the slip's words under each box it holds (at most five), which take
// no room while empty.
const rowsPerLine = 6;
const lineRow = line => line * rowsPerLine + 1;

// The open sheet: the entries it is checked against (the key it is kept
// under), its boxes in the order of working, each with the copies that
// show it again elsewhere on the form, and which boxes show their marks.
let sheet = null;

const boxTexts = () => sheet.boxes.map(box => box.input.value);
const filled = box => box.input.value.trim() !== '';

function keyboardOf(value) {
  // An angle takes a blank or a degree sign, and a difference a minus sign:
  // only a full keyboard has those on every phone. The other numbers need
  // digits and a decimal mark, which the core reads as a point or a comma.
  if (value.kind === 'angle' || value.negative) return 'text';
  return 'decimal';
}

function placeAt(node, [line, first, count]) {
  node.style.setProperty('--row', lineRow(line));
  node.style.setProperty('--first', first);
  node.style.setProperty('--count', count);
}

function markNode(id) {
  const mark = document.createElement('span');
  mark.className = 'checkMark';
  mark.id = `${id}_mark`;
  mark.setAttribute('aria-hidden', 'true');
  return mark;
}

function valueBox(value, noteRow) {
  const id = `check_${value.name}`;
  const row = document.createElement('div');
  row.className = 'checkValue';
  const label = document.createElement('label');
  label.className = 'checkLabel';
  label.htmlFor = id;
  label.textContent = value.label;
  const input = document.createElement('input');
  Object.assign(input, { type: 'text', id, maxLength: boxMaxLength, autocomplete: 'off', spellcheck: false });
  input.classList.add('checkBox');
  input.inputMode = keyboardOf(value);
  input.setAttribute('autocapitalize', 'off');
  input.setAttribute('autocorrect', 'off');
  input.title = value.label;
  const right = document.createElement('span');
  right.className = 'checkRight';
  right.textContent = `the form has ${value.right}`;
  const note = document.createElement('p');
  note.className = 'checkNote';
  note.id = `${id}_note`;
  note.hidden = true;
  const box = { name: value.name, label: value.label, input, note, copies: [], marks: [markNode(id)], leftWith: null };
  for (const node of [input, box.marks[0], note]) placeAt(node, value.places[0]);
  note.style.setProperty('--row', noteRow);
  row.append(label, input, box.marks[0], right, note);
  // Shown again where the form shows it again, never typed twice, and not
  // read out twice.
  for (const place of value.places.slice(1)) {
    const copy = document.createElement('span');
    copy.className = 'checkCopy';
    copy.setAttribute('aria-hidden', 'true');
    const shown = document.createElement('output');
    shown.className = 'checkBox';
    shown.id = `${id}_again`;
    const mark = markNode(shown.id);
    placeAt(shown, place);
    placeAt(mark, place);
    copy.append(shown, mark);
    row.append(copy);
    box.copies.push(shown);
    box.marks.push(mark);
  }
  return { row, box };
}

function buildForm(opened) {
  const area = element('checkForm');
  const valueLines = new Set(opened.values.flatMap(value => value.places.map(([line]) => line)));
  const lastValueLine = Math.max(...valueLines);
  let columns = Math.max(...opened.lines.map(line => line.length));
  // The slip's words under a box take the note row of the box's place among
  // the boxes typed on its line, from the left.
  const typedOnLine = new Map();
  for (const value of opened.values) {
    const [line, first, count] = value.places[0];
    typedOnLine.set(line, [...(typedOnLine.get(line) ?? []), first].sort((a, b) => a - b));
    for (const [, at, span] of value.places) columns = Math.max(columns, at + span);
  }
  area.style.setProperty('--columns', columns);
  const lines = opened.lines.map((text, i) => {
    const line = document.createElement('div');
    line.className = 'checkLine';
    line.textContent = text;
    line.style.setProperty('--row', lineRow(i));
    line.classList.toggle('holdsValues', valueLines.has(i));
    // The footnotes are read out; the form's labels and formulas are said
    // by the boxes' own names.
    if (i > lastValueLine) line.classList.add('checkFootnote');
    else line.setAttribute('aria-hidden', 'true');
    return line;
  });
  const rows = [];
  const boxes = opened.values.map(value => {
    const [line, first] = value.places[0];
    const { row, box } = valueBox(value, lineRow(line) + 1 + typedOnLine.get(line).indexOf(first));
    rows.push(row);
    return box;
  });
  area.replaceChildren(...lines.slice(0, lastValueLine + 1), ...rows, ...lines.slice(lastValueLine + 1));
  area.classList.remove('showingRight');
  return boxes;
}

function showLegend(legend) {
  element('checkLegend').replaceChildren(...legend.map(({ mark, sign, words }) => {
    const item = document.createElement('li');
    const swatch = document.createElement('span');
    swatch.className = 'checkSwatch';
    swatch.dataset.mark = mark;
    swatch.textContent = sign;
    item.append(swatch, ` ${words}`);
    return item;
  }));
}

function shownElements(box) {
  return [box.input, ...box.copies];
}

function unmark(box) {
  for (const shown of shownElements(box)) delete shown.dataset.mark;
  box.input.removeAttribute('aria-description');
  box.input.title = box.label;
  for (const mark of box.marks) mark.textContent = '';
  box.note.hidden = true;
  box.note.textContent = '';
  box.input.removeAttribute('aria-describedby');
}

// words: the slip's own words, shown beside the box, or null.
function markBox(box, mark, sign, description, words) {
  for (const shown of shownElements(box)) shown.dataset.mark = mark;
  // The sign and the words are given to screen readers with the box, so
  // neither the colour nor the sign alone carries the result.
  box.input.setAttribute('aria-description', `${sign} ${description}`);
  box.input.title = `${box.label}: ${description}`;
  for (const shownMark of box.marks) shownMark.textContent = sign;
  if (words) {
    box.note.textContent = words;
    box.note.hidden = false;
    box.input.setAttribute('aria-describedby', box.note.id);
  }
}

// What the core says of each box: [mark, sign, description, words], the
// words (why it is not read, or the slip's) shown beside the box while
// marking as one goes; a whole sheet's are listed under it.
function verdicts(answer) {
  const said = new Map();
  const beside = element('checkAsIGo').checked;
  for (const problem of answer.problems)
    said.set(problem.name, ['unreadable', problem.sign, problem.problem, beside ? problem.problem : null]);
  for (const value of answer.values) {
    const words = beside && value.mark === 'differs' ? value.slip ?? value.description : null;
    said.set(value.name, [value.mark, value.sign, value.description, words]);
  }
  return said;
}

// The marks of the boxes in sheet.marked, as the core gives them for the
// whole sheet; with the summary and the slip lines after a whole check.
function showMarks(core) {
  const answer = core.check(boxTexts(), element('checkTolerance').value);
  const said = verdicts(answer);
  for (const box of sheet.boxes) {
    unmark(box);
    if (sheet.marked.has(box.name) && said.has(box.name)) markBox(box, ...said.get(box.name));
  }
  if (sheet.checked) {
    // Each line names its value, as the form writes it.
    const lines = [...answer.problems.map(problem => problem.problem), ...answer.slips];
    element('checkSlips').replaceChildren(...lines.map(line => {
      const item = document.createElement('li');
      item.textContent = line;
      return item;
    }));
    // A new text node each time, so the same result checked again is
    // announced again.
    element('checkSummary').replaceChildren(document.createTextNode(answer.summary));
  }
  return said;
}

function clearSummary() {
  sheet.checked = false;
  element('checkSummary').textContent = '';
  element('checkSlips').replaceChildren();
}

function keep() {
  const texts = Object.fromEntries(sheet.boxes.filter(filled).map(box => [box.name, box.input.value]));
  keepSheet(sheet.entries, {
    texts,
    tolerance: element('checkTolerance').value,
    marked: [...sheet.marked],
    checked: sheet.checked,
  });
}

function checkWhole(core) {
  sheet.marked = new Set(sheet.boxes.filter(filled).map(box => box.name));
  sheet.checked = true;
  showMarks(core);
  keep();
}

// Mark as I go: the box just left is marked, and every box marked before it
// again, since a corrected value changes what follows from it. What the box
// now says is told to screen readers at once.
function markLeft(core, box) {
  if (!sheet || box.leftWith === box.input.value) return;
  box.leftWith = box.input.value;
  if (filled(box)) sheet.marked.add(box.name);
  else sheet.marked.delete(box.name);
  const said = showMarks(core).get(box.name);
  if (said && sheet.marked.has(box.name)) {
    const [, sign, description, words] = said;
    element('checkSaid').replaceChildren(document.createTextNode(`${box.label}: ${sign} ${words ?? description}`));
  }
  keep();
}

// A box typed in: its marks no longer belong to it. When checking the whole
// sheet, none of the marks do.
function edited(box) {
  for (const copy of box.copies) copy.value = box.input.value;
  box.leftWith = null;
  if (element('checkAsIGo').checked) {
    sheet.marked.delete(box.name);
    unmark(box);
  } else if (sheet.marked.size > 0) {
    sheet.marked.clear();
    sheet.boxes.forEach(unmark);
  }
  if (sheet.checked) clearSummary();
  keep();
}

function showRightForm(shown) {
  const button = element('cmdShowRight');
  button.setAttribute('aria-expanded', String(shown));
  button.textContent = shown ? 'Hide the Right Form' : 'Show the Right Form';
  element('checkForm').classList.toggle('showingRight', shown);
  element('checkRightForm').hidden = !shown;
  if (shown) element('checkRightForm').scrollIntoView({ block: 'nearest' });
}

function sayEntriesChanged(entries) {
  const note = element('checkKeptNote');
  const last = lastTyped();
  const changed = last !== null && last !== entries && keptSheet(entries) === null;
  note.hidden = !changed;
  note.textContent = changed
    ? `The entries have changed since your sheet was typed, for ${last}. ` +
      'These boxes start empty; set those entries again to have that sheet back.'
    : '';
}

// Opens the check on the entries as the window's controls hold them
// ({texts, method, decName, latName, loName}), with the sheet typed for
// them before, if any; entries that cannot be reduced, or no entries at
// all, are said in the message box, and no form opens.
function open(core, current) {
  const { texts, method, decName, latName, loName } = current;
  const opened = core.openCheck(texts, method, decName, latName, loName);
  if (opened.outcome !== 'complete') {
    messageBox(opened.message);
    return;
  }
  sayEntriesChanged(opened.entries);
  // Each entry kept on one line where the line has to wrap.
  element('checkEntries').replaceChildren(...opened.entries.split(/(\s{2,})/).map(part => {
    if (part.trim() === '') return part;
    const entry = document.createElement('span');
    entry.className = 'checkEntry';
    entry.textContent = part;
    return entry;
  }));
  sheet = { entries: opened.entries, boxes: buildForm(opened), marked: new Set(), checked: false };
  showLegend(opened.legend);
  element('checkRightForm').textContent = opened.rightForm.join('\n');
  showRightForm(false);
  clearSummary();
  element('checkSaid').textContent = '';
  setMarkingAsIGo(markingAsIGo());

  const kept = keptSheet(opened.entries);
  if (kept) {
    for (const box of sheet.boxes) {
      const text = kept.texts[box.name];
      if (typeof text === 'string') box.input.value = text.slice(0, boxMaxLength);
      for (const copy of box.copies) copy.value = box.input.value;
      box.leftWith = box.input.value;
    }
    const tolerance = element('checkTolerance');
    if (Array.from(tolerance.options).some(option => option.value === kept.tolerance)) tolerance.value = kept.tolerance;
    sheet.marked = new Set(Array.isArray(kept.marked) ? kept.marked : []);
    sheet.checked = kept.checked === true;
    if (sheet.marked.size > 0 || sheet.checked) showMarks(core);
  } else {
    element('checkTolerance').value = 'whole';
  }
  element('checkDialog').showModal();
  // Where the work stopped: the first box still empty.
  (sheet.boxes.find(box => !filled(box)) ?? sheet.boxes[0]).input.focus();
}

function setMarkingAsIGo(on) {
  element('checkAsIGo').checked = on;
  // Enter goes on to the next box while marking as one goes, and checks the
  // whole sheet otherwise.
  for (const box of sheet?.boxes ?? []) box.input.enterKeyHint = on ? 'next' : 'go';
}

function boxOf(target) {
  return sheet?.boxes.find(box => box.input === target) ?? null;
}

export function connectCheck(core, readEntries) {
  const area = element('checkForm');
  element('mnuCheck').addEventListener('click', () => open(core, readEntries()));
  element('checkClose').addEventListener('click', () => element('checkDialog').close());
  element('cmdCheck').addEventListener('click', () => checkWhole(core));
  element('cmdShowRight').addEventListener('click', () =>
    showRightForm(element('cmdShowRight').getAttribute('aria-expanded') !== 'true'));
  area.addEventListener('input', event => {
    const box = boxOf(event.target);
    if (box) edited(box);
  });
  // Leaving a box, by Tab, Enter or a tap elsewhere, marks it while marking
  // as one goes.
  area.addEventListener('focusout', event => {
    const box = boxOf(event.target);
    if (box && element('checkAsIGo').checked) markLeft(core, box);
  });
  area.addEventListener('keydown', event => {
    const box = boxOf(event.target);
    if (!box || event.key !== 'Enter') return;
    event.preventDefault();
    if (!element('checkAsIGo').checked) {
      // Enter in a box checks, as the dialog's default button.
      checkWhole(core);
      return;
    }
    const next = sheet.boxes[sheet.boxes.indexOf(box) + 1];
    if (next) next.input.focus();
    else markLeft(core, box);
  });
  element('checkAsIGo').addEventListener('change', event => {
    const on = event.target.checked;
    keepMarkingAsIGo(on);
    setMarkingAsIGo(on);
    if (!on || !sheet) return;
    // The boxes typed so far have been left: they are marked at once.
    for (const box of sheet.boxes) box.leftWith = box.input.value;
    sheet.marked = new Set(sheet.boxes.filter(filled).map(box => box.name));
    showMarks(core);
    keep();
  });
  // Another tolerance marks the same boxes again.
  element('checkTolerance').addEventListener('change', () => {
    if (!sheet) return;
    if (sheet.marked.size > 0 || sheet.checked) showMarks(core);
    keep();
  });
}
