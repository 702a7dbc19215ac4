// "Check My Work…": the worked form of the current entries with a box at
// every value the navigator works out, laid where the form prints it, so a
// sheet worked by hand is copied in line for line. Check hands the boxes'
// texts to the core, which reads them, marks them and names the slips; this
// module only places the boxes and shows what the core answers. It changes
// nothing on the page behind it.

import { messageBox } from './alerts.js';

const dialog = document.getElementById('checkDialog');
const entries = document.getElementById('checkEntries');
const formArea = document.getElementById('checkForm');
const tolerance = document.getElementById('checkTolerance');
const summary = document.getElementById('checkSummary');
const slips = document.getElementById('checkSlips');

// Shown for a box whose text is not a value of its kind.
const unreadableSign = '?';

// The boxes of the open form, in the form's order of values (the order the
// core reads them in); each with the copies that show it again elsewhere on
// the form, and the marks under it and under each copy.
let boxes = [];
let showingMarks = false;

const columns = (first, count) => [`${first - 1}ch`, `${count}ch`];

function placeAt(element, [line, first, count]) {
  const [left, width] = columns(first, count);
  element.style.setProperty('--left', left);
  element.style.setProperty('--width', width);
  return line;
}

function buildForm(opened) {
  const lines = opened.lines.map(text => {
    const line = document.createElement('div');
    line.className = 'checkLine';
    const words = document.createElement('span');
    words.className = 'checkWords';
    words.textContent = text;
    line.append(words);
    return line;
  });
  // Every line that holds a box has room under it for the marks.
  const placed = [];
  boxes = opened.values.map(value => {
    const entry = { name: value.name, input: null, copies: [], marks: [] };
    value.places.forEach((place, i) => {
      let shown;
      if (i === 0) {
        shown = document.createElement('input');
        shown.type = 'text';
        shown.id = `check_${value.name}`;
        shown.setAttribute('aria-label', value.name);
        shown.autocomplete = 'off';
        shown.spellcheck = false;
        shown.inputMode = value.kind === 'angle' ? 'text' : 'decimal';
        entry.input = shown;
      } else {
        // Shown again where the form shows it again, never typed twice.
        shown = document.createElement('output');
        shown.id = `check_${value.name}_again`;
        shown.setAttribute('aria-label', `${value.name} (again)`);
        entry.copies.push(shown);
      }
      shown.classList.add('checkBox');
      const mark = document.createElement('span');
      mark.className = 'checkMark';
      mark.id = `${shown.id}_mark`;
      mark.setAttribute('aria-hidden', 'true');
      entry.marks.push(mark);
      const line = placeAt(shown, place);
      placeAt(mark, place);
      lines[line].classList.add('holdsValues');
      placed.push({ line, first: place[1], nodes: [shown, mark] });
    });
    return entry;
  });
  // The boxes in the order of the form, line by line and left to right, so
  // Tab goes through them as the eye does.
  placed.sort((a, b) => a.line - b.line || a.first - b.first);
  for (const { line, nodes } of placed) lines[line].append(...nodes);
  formArea.replaceChildren(...lines);
  for (const entry of boxes) {
    if (!entry.input) continue;
    entry.input.addEventListener('input', () => {
      for (const copy of entry.copies) copy.value = entry.input.value;
      clearMarks();
    });
  }
}

function shownElements(entry) {
  return [entry.input, ...entry.copies].filter(Boolean);
}

function removeMarks() {
  for (const entry of boxes) {
    for (const shown of shownElements(entry)) {
      delete shown.dataset.mark;
      shown.removeAttribute('aria-description');
      shown.title = '';
    }
    for (const mark of entry.marks) mark.textContent = '';
  }
}

// A box typed in after a check: the marks no longer belong to the boxes.
function clearMarks() {
  if (!showingMarks) return;
  showingMarks = false;
  removeMarks();
  summary.textContent = '';
  slips.replaceChildren();
}

function markBox(entry, mark, sign, description) {
  for (const shown of shownElements(entry)) {
    shown.dataset.mark = mark;
    // The sign and the words are given to screen readers with the box, so
    // neither the colour nor the sign alone carries the result.
    shown.setAttribute('aria-description', `${sign} ${description}`);
    shown.title = description;
  }
  for (const shownMark of entry.marks) shownMark.textContent = sign;
}

function check(core) {
  const answer = core.check(boxes.map(entry => entry.input?.value ?? ''), tolerance.value);
  removeMarks();
  showingMarks = true;
  const byName = new Map(boxes.map(entry => [entry.name, entry]));
  for (const problem of answer.problems)
    markBox(byName.get(problem.name), 'unreadable', unreadableSign, problem.problem);
  for (const value of answer.values) markBox(byName.get(value.name), value.mark, value.sign, value.description);
  const lines = [
    ...answer.problems.map(problem => `${problem.name}: ${problem.problem}`),
    ...answer.slips,
  ];
  slips.replaceChildren(...lines.map(line => {
    const item = document.createElement('li');
    item.textContent = line;
    return item;
  }));
  // A new text node each time, so the same result checked again is
  // announced again.
  summary.replaceChildren(document.createTextNode(answer.summary));
}

// Opens the check on the entries as the window's controls hold them
// ({texts, method, decName, latName, loName}); entries that cannot be
// reduced are said in the message box, as Calculate says them.
function open(core, current) {
  const { texts, method, decName, latName, loName } = current;
  const opened = core.openCheck(texts, method, decName, latName, loName);
  if (opened.outcome !== 'complete') {
    messageBox(opened.message);
    return;
  }
  showingMarks = false;
  entries.textContent = opened.entries;
  buildForm(opened);
  summary.textContent = '';
  slips.replaceChildren();
  dialog.showModal();
  boxes.find(entry => entry.input)?.input.focus();
}

export function connectCheck(core, readEntries) {
  document.getElementById('mnuCheck').addEventListener('click', () => open(core, readEntries()));
  document.getElementById('checkClose').addEventListener('click', () => dialog.close());
  document.getElementById('cmdCheck').addEventListener('click', () => check(core));
  // Enter in a box checks, as the dialog's default button.
  formArea.addEventListener('keydown', event => {
    if (event.key === 'Enter' && event.target instanceof HTMLInputElement) {
      event.preventDefault();
      check(core);
    }
  });
  // Another tolerance marks the same boxes again.
  tolerance.addEventListener('change', () => {
    if (showingMarks) check(core);
  });
}
