// The worked form below the separator: one text line per printed line, in
// the form's columns, with its bold runs in bold; the same form with its
// parts one above the other for a narrow screen; the entries line that the
// printed page carries above it; the result told to screen readers; and the
// Copy and Print commands, which work only while a form is shown.

const area = document.getElementById('printout');
const narrowArea = document.getElementById('narrowForm');
const copyStatus = document.getElementById('copyStatus');
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

// A form's lines ([{text, bold}]) as nodes for a <pre>.
export function formNodes(lines) {
  const nodes = [];
  lines.forEach((line, i) => {
    if (i > 0) nodes.push(document.createTextNode('\n'));
    nodes.push(...lineNodes(line));
  });
  return nodes;
}

// Shows a complete calculation's form ({lines, narrowLines, entries,
// description}). Screen readers and Copy have the form's own lines at every
// width; the narrow form is only another picture of them.
export function showForm(form) {
  area.replaceChildren(...formNodes(form.lines));
  narrowArea.replaceChildren(...formNodes(form.narrowLines));
  copyStatus.textContent = '';
  shownLines = form.lines.map(line => line.text);
  method.textContent = form.description;
  entries.textContent = form.entries;
  // The bold runs are the results, Hc and Zn; a new text node each time, so
  // the same result calculated again is announced again.
  const bold = Array.from(area.querySelectorAll('strong'), node => node.textContent.trim());
  result.replaceChildren(document.createTextNode(bold.join(', ')));
  copyCommand.disabled = printCommand.disabled = false;
  // On a narrow screen the form stands below the controls: it comes into
  // view, results and all, once calculated.
  if (narrowArea.checkVisibility()) narrowArea.scrollIntoView({ block: 'nearest' });
}

// Lays a form out once, unseen, so that the browser has the form's fonts,
// plain and bold, at hand before the first Calculate.
export function rehearse(form) {
  const copy = document.createElement('pre');
  copy.className = 'rehearsal';
  copy.setAttribute('aria-hidden', 'true');
  copy.append(...formNodes(form.lines));
  area.after(copy);
  void copy.offsetHeight;
  copy.remove();
}

export function clearForm() {
  area.replaceChildren();
  narrowArea.replaceChildren();
  copyStatus.textContent = '';
  shownLines = [];
  method.textContent = entries.textContent = result.textContent = '';
  copyCommand.disabled = printCommand.disabled = true;
}

// The shown lines as the window copies them: each ended by a line end.
export function formText() {
  return shownLines.map(line => `${line}\n`).join('');
}

// The clipboard interface is there only on a secure origin (https, or this
// computer); on plain http the older copy command still puts text on the
// clipboard during a click. True when one of them did.
async function putOnClipboard(text) {
  try {
    await navigator.clipboard.writeText(text);
    return true;
  } catch {
    // No interface, or the browser refused it: the other way.
  }
  let put = false;
  const giveText = event => {
    event.clipboardData.setData('text/plain', text);
    event.preventDefault();
    put = true;
  };
  document.addEventListener('copy', giveText);
  try {
    return document.execCommand('copy') && put;
  } catch {
    return false;
  } finally {
    document.removeEventListener('copy', giveText);
  }
}

let statusCleared = 0;

async function copyForm() {
  if (shownLines.length === 0) return;
  const copied = await putOnClipboard(formText());
  // Said beside the button, and to screen readers, for a few seconds.
  copyStatus.textContent = copied
    ? 'Copied.'
    : 'This browser does not let the page copy here: select the form and copy it yourself.';
  clearTimeout(statusCleared);
  statusCleared = setTimeout(() => {
    copyStatus.textContent = '';
  }, copied ? 4000 : 15000);
}

export function connectFormCommands() {
  copyCommand.addEventListener('click', copyForm);
  printCommand.addEventListener('click', () => window.print());
}
