// The worked form below the separator: one text line per printed line, in
// the form's columns, with its bold runs in bold; the entries line that the
// printed page carries above it; the result told to screen readers; and the
// Copy and Print commands, which work only while a form is shown.

const area = document.getElementById('printout');
const method = document.getElementById('printoutMethod');
const entries = document.getElementById('entries');
const result = document.getElementById('result');
const copyCommand = document.getElementById('mnuCopy');
const printCommand = document.getElementById('mnuPrint');

let shownLines = [];

// One line of text with the columns of its bold runs ([first column, count],
// columns from 1) set in <strong>.
function lineNodes(line) {
  const nodes = [];
  let at = 0;
  for (const [column, count] of line.bold) {
    const from = Math.min(column - 1, line.text.length);
    const to = Math.min(from + count, line.text.length);
    if (from > at) nodes.push(document.createTextNode(line.text.slice(at, from)));
    const bold = document.createElement('strong');
    bold.textContent = line.text.slice(from, to);
    nodes.push(bold);
    at = to;
  }
  if (at < line.text.length) nodes.push(document.createTextNode(line.text.slice(at)));
  return nodes;
}

// The form's lines ({lines: [{text, bold}]}) as nodes for a <pre>.
export function formNodes(form) {
  const nodes = [];
  form.lines.forEach((line, i) => {
    if (i > 0) nodes.push(document.createTextNode('\n'));
    nodes.push(...lineNodes(line));
  });
  return nodes;
}

// Shows a complete calculation's form ({lines, entries, description}).
export function showForm(form) {
  area.replaceChildren(...formNodes(form));
  shownLines = form.lines.map(line => line.text);
  method.textContent = form.description;
  entries.textContent = form.entries;
  // The bold runs are the results, Hc and Zn; a new text node each time, so
  // the same result calculated again is announced again.
  const bold = Array.from(area.querySelectorAll('strong'), node => node.textContent.trim());
  result.replaceChildren(document.createTextNode(bold.join(', ')));
  copyCommand.disabled = printCommand.disabled = false;
}

// Lays a form out once, unseen, so that the browser has the form's fonts,
// plain and bold, at hand before the first Calculate.
export function rehearse(form) {
  const copy = document.createElement('pre');
  copy.className = 'rehearsal';
  copy.setAttribute('aria-hidden', 'true');
  copy.append(...formNodes(form));
  area.after(copy);
  void copy.offsetHeight;
  copy.remove();
}

export function clearForm() {
  area.replaceChildren();
  shownLines = [];
  method.textContent = entries.textContent = result.textContent = '';
  copyCommand.disabled = printCommand.disabled = true;
}

// The shown lines as the window copies them: each ended by a line end.
export function formText() {
  return shownLines.map(line => `${line}\n`).join('');
}

async function copyForm() {
  if (shownLines.length === 0) return;
  await navigator.clipboard.writeText(formText());
}

export function connectFormCommands() {
  copyCommand.addEventListener('click', copyForm);
  printCommand.addEventListener('click', () => window.print());
}
