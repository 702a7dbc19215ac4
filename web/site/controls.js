// The window's controls, built from the core's control table, and their
// events: keys and edits go to the field rules, clicks to the commands. The
// rules themselves (key filter, range marking, minute lock, focus hold) and
// the reduction are the core's; this module only turns browser events into
// the calls the window makes and shows what they answer.

import { beep, messageBox } from './alerts.js';
import { clearForm, showForm } from './printout.js';

const px = value => `${value}px`;

function place(element, control) {
  element.classList.add('placed');
  element.style.setProperty('--left', px(control.left));
  element.style.setProperty('--top', px(control.top));
  element.style.setProperty('--width', px(control.width));
  element.style.setProperty('--height', px(control.height));
}

// A caption's text with its access key letter underlined.
function captionNodes(control) {
  if (control.accessKey === undefined) return [control.caption];
  const at = control.accessKeyAt;
  const underlined = document.createElement('u');
  underlined.textContent = control.caption[at];
  return [control.caption.slice(0, at), underlined, control.caption.slice(at + 1)];
}

// The controls in the window's tab order, which the document keeps, so Tab
// follows it with no tabindex: each control that takes the focus in its
// turn, and every other (a caption, a degree sign, a line) just before the
// next one in the table that does, so a screen reader reads it with that.
function documentOrder(controls) {
  let next = Infinity;
  const keyed = controls.map((control, i) => ({ control, i })).reverse().map(entry => {
    if (entry.control.tabIndex >= 0) next = entry.control.tabIndex;
    return { ...entry, key: entry.control.tabIndex >= 0 ? entry.control.tabIndex : next };
  });
  return keyed.sort((a, b) => a.key - b.key || a.i - b.i).map(entry => entry.control);
}

// HTML lets one element have an access key, so a letter the table gives to
// several buttons is left to the page's own key handling.
function sharedLetters(controls) {
  const counts = new Map();
  for (const { accessKey } of controls)
    if (accessKey !== undefined) counts.set(accessKey, (counts.get(accessKey) ?? 0) + 1);
  return new Set(Array.from(counts).filter(([, count]) => count > 1).map(([letter]) => letter));
}

const builders = {
  Label(control) {
    const element = document.createElement('span');
    element.textContent = control.caption;
    element.classList.toggle('wraps', control.wraps);
    return element;
  },
  TextField(control) {
    const element = document.createElement('input');
    element.type = 'text';
    element.maxLength = control.maxLength;
    element.title = control.toolTip;
    element.setAttribute('aria-label', control.accessibleName);
    element.autocomplete = 'off';
    element.spellcheck = false;
    // The keyboard a phone shows: digits, and for minutes the point too.
    element.inputMode = control.fieldKind === 'Degree' ? 'numeric' : 'decimal';
    return element;
  },
  NameList(control) {
    const element = document.createElement('select');
    element.setAttribute('aria-label', control.accessibleName);
    for (const item of control.items) element.add(new Option(item));
    return element;
  },
  CommandButton(control, shared) {
    const element = document.createElement('button');
    element.type = 'button';
    element.append(...captionNodes(control));
    if (control.accessKey !== undefined) {
      if (!shared.has(control.accessKey)) element.accessKey = control.accessKey.toLowerCase();
      element.setAttribute('aria-keyshortcuts', `Alt+${control.accessKey.toUpperCase()}`);
    }
    return element;
  },
  Frame(control) {
    const element = document.createElement('fieldset');
    const legend = document.createElement('legend');
    legend.textContent = control.caption;
    element.append(legend);
    return element;
  },
  OptionButton(control) {
    // The table's box holds the round mark and its caption; the id goes to
    // the radio input itself.
    const box = document.createElement('span');
    const input = document.createElement('input');
    input.type = 'radio';
    input.name = 'method';
    const label = document.createElement('label');
    label.textContent = control.caption;
    input.id = control.name;
    label.htmlFor = control.name;
    box.append(input, label);
    box.id = `${control.name}Box`;
    return box;
  },
  Line() {
    return document.createElement('hr');
  },
};

// Builds every control of the table into the window's box, in the window's
// tab order. Returns the elements by control name.
export function buildControls(layout, box) {
  box.style.setProperty('--client-width', px(layout.width));
  box.style.setProperty('--client-height', px(layout.height));
  box.style.setProperty('--printout-top', px(layout.printoutTop));
  const shared = sharedLetters(layout.controls);
  const byName = {};
  for (const control of documentOrder(layout.controls)) {
    const element = builders[control.kind](control, shared);
    const focusable = control.kind === 'OptionButton' ? element.querySelector('input') : element;
    if (control.kind !== 'OptionButton') element.id = control.name;
    element.classList.add(control.kind);
    place(element, control);
    (control.container ? byName[control.container] : box).append(element);
    byName[control.name] = focusable;
  }
  return byName;
}

// A key press as the window's KeyPress sees it: the character code the key
// types, or null for a key that types none (Tab, arrows, Home, End, Delete,
// access keys) or whose text arrives as an insertion instead.
function typedCode(event) {
  if (event.isComposing) return null;
  const control = event.ctrlKey && !event.altKey;
  if (!control && (event.altKey || event.metaKey)) return null;
  switch (event.key) {
    case 'Backspace':
      return control ? 127 : 8; // Ctrl+Backspace types DEL
    case 'Enter':
      return 13;
    case 'Escape':
      return 27;
    default:
      break;
  }
  // Ctrl with a letter types that letter's control character (Ctrl+C is 3,
  // Ctrl+V 22), which the filter drops, so copy, paste and undo only beep.
  if (control && /^[a-z]$/i.test(event.key)) return event.key.toUpperCase().charCodeAt(0) - 64;
  return null;
}

// A character outside the Western character set arrives as "?".
const westernCode = character => {
  const code = character.codePointAt(0);
  return code > 0xff ? 63 : code;
};

// The eight fields in the rules' order, and what they hold now.
function fieldsOf(layout, controls) {
  const fields = [];
  for (const control of layout.controls)
    if (control.field !== undefined) fields[control.field] = controls[control.name];
  return fields;
}

const texts = fields => fields.map(field => field.value);

const swallow = event => {
  event.preventDefault();
  event.stopImmediatePropagation();
};

// Shows what the rules have set, then gives their beeps and boxes: the red
// field stands behind "Out of Range".
function showRules(fields, answer) {
  answer.fields.forEach((state, i) => {
    fields[i].disabled = !state.enabled;
    fields[i].style.setProperty('--field-colour', state.colour);
  });
  for (let i = 0; i < answer.beeps; i += 1) beep();
  for (const message of answer.messages) messageBox(message);
}

// KeyPress and Change of each field, as the window raises them.
function connectFieldRules(core, fields) {
  fields.forEach((field, index) => {
    field.addEventListener('keydown', event => {
      const code = typedCode(event);
      if (code === null) return;
      const answer = core.keyPress(texts(fields), index, code);
      if (answer.key === 0) event.preventDefault();
      showRules(fields, answer);
    });
    field.addEventListener('beforeinput', event => {
      if (event.inputType !== 'insertText' || !event.data) return;
      // Every character against the text as it stands before the insertion.
      for (const character of event.data) {
        const answer = core.keyPress(texts(fields), index, westernCode(character));
        // Refused before anything is shown, so nothing shown can let it in.
        if (answer.key === 0) event.preventDefault();
        showRules(fields, answer);
        if (answer.key === 0) return;
      }
    });
    // Typing, pasting, dropping: every change runs the Change rule; text an
    // input method is still composing waits for its commit.
    field.addEventListener('input', event => {
      if (!event.isComposing) showRules(fields, core.change(texts(fields), index));
    });
    // An input method's commit is typed text too, which the browser puts in
    // without a chance to refuse it: every character is checked against the
    // text as it stood before, as the window checks a commit, and one that is
    // dropped takes the whole commit back.
    let beforeComposition = '';
    field.addEventListener('compositionstart', () => {
      beforeComposition = field.value;
    });
    field.addEventListener('compositionend', event => {
      const before = texts(fields);
      before[index] = beforeComposition;
      for (const character of event.data ?? '') {
        const answer = core.keyPress(before, index, westernCode(character));
        if (answer.key === 0) field.value = beforeComposition;
        showRules(fields, answer);
        if (answer.key === 0) break;
      }
      if (field.value !== beforeComposition) showRules(fields, core.change(texts(fields), index));
    });
  });
}

// The focus hold: while the focused field's Validate refuses, Tab, clicks on
// the window's other controls and access keys do nothing. The browser moves
// the focus for an access key before any script hears of the key, so there
// the focus is put back and the click that follows is swallowed.
function holdFocus(core, fields, windowParts) {
  // The field that has the focus, or had it last while the focus stayed
  // among the window's controls; null once it has moved on to another kind
  // of control.
  let focusedField = null;
  const isWindowControl = node => node instanceof Element && windowParts.some(part => part.contains(node));
  const fieldHolds = () => focusedField !== null && core.validateCancels(texts(fields), fields.indexOf(focusedField));
  const holds = target => target !== focusedField && isWindowControl(target) && fieldHolds();

  document.addEventListener(
    'focusin',
    event => {
      if (fields.includes(event.target)) focusedField = event.target;
      else if (holds(event.target)) focusedField.focus();
      else if (isWindowControl(event.target)) focusedField = null;
    },
    true,
  );
  document.addEventListener(
    'keydown',
    event => {
      if (event.key === 'Tab' && event.target === focusedField && fieldHolds()) swallow(event);
    },
    true,
  );
  for (const type of ['mousedown', 'pointerdown', 'click', 'dblclick', 'auxclick', 'contextmenu'])
    document.addEventListener(
      type,
      event => {
        if (document.activeElement === focusedField && holds(event.target)) swallow(event);
      },
      true,
    );
}

// An access key that several buttons share ("&Calculate" and "&Clear except
// DR" both use C) presses none of them, as in the window: each press only
// moves the focus on to the next of them, in the table's order. (While a
// field holds the focus, the focus hold takes it back at once.)
function shareAccessKeys(layout, controls) {
  const shared = sharedLetters(layout.controls);
  const sharing = letter =>
    layout.controls.filter(control => control.accessKey === letter).map(control => controls[control.name]);
  document.addEventListener('keydown', event => {
    if (!event.altKey || event.ctrlKey || event.metaKey) return;
    const letter = Array.from(shared).find(
      key => event.key.toUpperCase() === key.toUpperCase() || event.code === `Key${key.toUpperCase()}`);
    if (letter === undefined) return;
    event.preventDefault();
    const buttons = sharing(letter);
    buttons[(buttons.indexOf(document.activeElement) + 1) % buttons.length].focus();
  });
}

// Calculate, the method switch, the two clears and help.
// What Calculate works on: the fields' texts, the method and the names as
// the lists show them.
function entriesOf(fields, controls) {
  const nameText = list => list.selectedOptions[0]?.text ?? '';
  return {
    texts: texts(fields),
    method: controls.optQQ.checked ? 'QQ' : 'Q',
    decName: nameText(controls.cboDec),
    latName: nameText(controls.cboL),
    loName: nameText(controls.cboLo),
  };
}

function connectCommands(core, fields, controls, showHelp) {
  function calculate() {
    const { texts: now, method, decName, latName, loName } = entriesOf(fields, controls);
    const answer = core.calculate(now, method, decName, latName, loName);
    if (answer.outcome === 'complete') showForm(answer);
    else messageBox(answer.message);
  }
  function clear(all) {
    const answer = core.clear(all);
    for (const i of answer.emptied) fields[i].value = '';
    showRules(fields, answer);
    clearForm();
    fields[0].focus();
  }
  controls.cmdQ.addEventListener('click', calculate);
  controls.cmdClear.addEventListener('click', () => clear(true));
  controls.cmdClearSome.addEventListener('click', () => clear(false));
  controls.cmdHelp.addEventListener('click', showHelp);
  // Only a change of method calculates: a click on the selected one does not.
  controls.optQ.addEventListener('change', calculate);
  controls.optQQ.addEventListener('change', calculate);
}

// Returns a function that gives the entries as they stand.
export function connectControls(core, layout, controls, showHelp) {
  const fields = fieldsOf(layout, controls);
  connectFieldRules(core, fields);
  const form = document.getElementById('Form8');
  holdFocus(core, fields, [form, document.getElementById('formCommands')]);
  shareAccessKeys(layout, controls);
  connectCommands(core, fields, controls, showHelp);

  // As the window opens: the first item of each list, Q(x), focus in GHA.
  for (const list of [controls.cboDec, controls.cboL, controls.cboLo]) list.selectedIndex = 0;
  controls.optQ.checked = true;
  fields[0].focus();
  return () => entriesOf(fields, controls);
}
