// "Tables…": the method's table as its booklet prints it, to work a sight
// from by hand, and a look-up each way that the core works as the table's
// first page shows it. The panel opens beside the window, as the help does,
// and leaves the window as it is; its Print sends only the table's pages to
// paper, one page to a sheet.

import { formNodes } from './printout.js';

const methodNames = [['Q', 'Q(x)'], ['QQ', 'QQ(x)']];

function make(tag, properties = {}, children = []) {
  const node = Object.assign(document.createElement(tag), properties);
  node.append(...children);
  return node;
}

// One look-up: its box, its button and the example it shows.
function lookUpForm(id, label, example, button) {
  const input = make('input', {
    id, type: 'text', placeholder: example, autocomplete: 'off', spellcheck: false,
  });
  const form = make('form', { className: 'tablesLookUp' }, [
    make('label', { htmlFor: id, textContent: label }),
    input,
    make('button', { type: 'submit', textContent: button }),
  ]);
  return { form, input };
}

function buildPanel() {
  const method = make('select', { id: 'tablesMethod' },
    methodNames.map(([value, text]) => make('option', { value, textContent: text })));
  const byAngle = lookUpForm('tablesAngle', 'Angle', '23 17.4', 'Look Up Value');
  const byValue = lookUpForm('tablesValue', 'Value', '2333.4', 'Look Up Angle');
  const close = make('button', { type: 'button', id: 'tablesClose', textContent: '\u00D7' });
  close.setAttribute('aria-label', 'Close tables');
  const print = make('button', { type: 'button', id: 'tablesPrint', textContent: 'Print Table\u2026' });
  const answer = make('div', { id: 'tablesAnswer' });
  answer.setAttribute('role', 'status');
  answer.setAttribute('aria-live', 'polite');
  const pages = make('div', { id: 'tablePages' });
  const panel = make('section', { id: 'tables', hidden: true }, [
    make('header', {}, [make('h2', { id: 'tablesTitle', textContent: 'Tables' }), close]),
    make('div', { className: 'tablesCommands' }, [
      make('label', { htmlFor: 'tablesMethod', textContent: 'Table' }), method, print,
    ]),
    byAngle.form,
    byValue.form,
    answer,
    pages,
  ]);
  panel.setAttribute('aria-labelledby', 'tablesTitle');
  document.getElementById('page').append(panel);
  return { panel, method, byAngle, byValue, close, print, answer, pages };
}

function showPages(view, book) {
  view.pages.replaceChildren(...book.pages.map((tablePage, i) => {
    const pre = make('pre', { className: 'tablePage', id: `tablePage${i + 1}`, tabIndex: -1 },
      formNodes(tablePage.lines));
    pre.setAttribute('aria-label', `Page ${i + 1}${tablePage.range ? `, ${tablePage.range}` : ''}`);
    return pre;
  }));
}

// What the core answered: the result, where to look and the sum, and the
// entries around the ones read, those read marked.
function showAnswer(view, found) {
  if (!found.ok) {
    view.answer.replaceChildren(make('p', { className: 'tablesProblem', textContent: found.message }));
    return;
  }
  const pageLink = make('a', { href: `#tablePage${found.page + 1}`, textContent: `page ${found.page + 1}` });
  pageLink.addEventListener('click', event => {
    event.preventDefault();
    const shown = document.getElementById(`tablePage${found.page + 1}`);
    shown.scrollIntoView({ block: 'start' });
    shown.focus({ preventScroll: true });
  });
  const rows = found.entries.map(entry => make('tr', { className: entry.used ? 'used' : '' }, [
    make('td', { textContent: entry.angle }),
    make('td', { textContent: entry.value }),
  ]));
  const lines = [
    make('p', { className: 'tablesResult' }, [make('strong', { textContent: found.result }), ' (see ', pageLink, ')']),
    make('p', { className: 'tablesWorking', textContent: found.working }),
  ];
  if (found.program !== undefined) {
    lines.push(make('p', { textContent: `The program's table value: ${found.program}.` }));
  }
  const excerpt = make('table', { className: 'tablesExcerpt' }, [make('tbody', {}, rows)]);
  excerpt.setAttribute('aria-label', 'Entries around it');
  view.answer.replaceChildren(...lines, excerpt);
}

export function connectTables(core) {
  let view = null;
  let shownMethod = null;

  const showMethod = method => {
    if (method === shownMethod) return;
    showPages(view, core.tablePages(method));
    shownMethod = method;
    view.answer.replaceChildren();
  };

  const open = () => {
    if (view === null) {
      view = buildPanel();
      view.close.addEventListener('click', () => {
        view.panel.hidden = true;
        document.getElementById('mnuTables').focus();
      });
      view.method.addEventListener('change', () => showMethod(view.method.value));
      view.byAngle.form.addEventListener('submit', event => {
        event.preventDefault();
        showAnswer(view, core.tableValue(view.method.value, view.byAngle.input.value));
      });
      view.byValue.form.addEventListener('submit', event => {
        event.preventDefault();
        showAnswer(view, core.tableAngle(view.method.value, view.byValue.input.value));
      });
      view.print.addEventListener('click', () => {
        document.body.classList.add('printingTables');
        window.addEventListener('afterprint', () => document.body.classList.remove('printingTables'), { once: true });
        window.print();
      });
    }
    // Opened on the method the window has selected.
    if (view.panel.hidden) {
      view.method.value = document.getElementById('optQQ')?.checked ? 'QQ' : 'Q';
      showMethod(view.method.value);
      view.panel.hidden = false;
    }
    view.panel.scrollIntoView({ block: 'nearest' });
    view.byAngle.input.focus();
  };

  document.getElementById('mnuTables').addEventListener('click', open);
}
