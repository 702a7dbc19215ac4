// The C++ core, compiled to WebAssembly, behind plain JavaScript calls. Every
// call hands texts and numbers to one exported C function and parses its
// JSON answer; nothing here decides anything about a sight or a field.

import createSightCore from './sightcore.js';

export async function loadCore() {
  const module = await createSightCore();
  const call = (name, result, args = []) =>
    module.ccall(name, result, args.map(a => (typeof a === 'string' ? 'string' : 'number')), args);
  const answer = (name, ...args) => JSON.parse(module.UTF8ToString(call(name, 'number', args)));

  const page = call('sight_page_new', 'number');

  // Every answer is checked here, once, for what the page reads of it: an
  // answer that says no (no sheet open, an unknown name or tolerance)
  // carries only its outcome and message, and the lists the page goes
  // through are then empty rather than missing.
  const withLists = (names, reply) => {
    for (const name of names) if (!Array.isArray(reply[name])) reply[name] = [];
    return reply;
  };
  const fieldEvents = reply => {
    withLists(['fields', 'messages'], reply);
    if (!Number.isInteger(reply.beeps)) reply.beeps = 0;
    return reply;
  };

  // The rules read the fields' texts from the core's model, so every call
  // that asks a rule first tells it what all eight fields hold now.
  const setTexts = texts => texts.forEach((text, field) => call('sight_set_text', null, [page, field, text]));

  return {
    // The window's controls, in CSS pixels, and the form's geometry.
    layout: () => answer('sight_layout', page),
    helpText: () => module.UTF8ToString(call('sight_help_text', 'number', [page])),

    // A typed character (its code as the window's KeyPress gets it):
    // {key: the code to apply, 0 to drop it; fields, beeps, messages}.
    keyPress(texts, field, keyAscii) {
      setTexts(texts);
      const pressed = fieldEvents(answer('sight_key_press', page, field, keyAscii));
      // A key the answer does not pass is dropped.
      if (!Number.isInteger(pressed.key)) pressed.key = 0;
      return pressed;
    },
    // The field's text has changed: {fields, beeps, messages}.
    change(texts, field) {
      setTexts(texts);
      return fieldEvents(answer('sight_change', page, field));
    },
    // True while the focus may not leave the field.
    validateCancels(texts, field) {
      setTexts(texts);
      return call('sight_validate', 'number', [page, field]) === 1;
    },
    // {emptied: field indexes, fields, beeps, messages}.
    clear: all => withLists(['emptied'], fieldEvents(answer('sight_clear', page, all ? 1 : 0))),
    // {outcome, message} or {outcome: 'complete', lines, narrowLines,
    // entries, description}: the form's lines as printed, and as a narrow
    // screen shows them, each line {text, bold: [[column, count]]}.
    calculate(texts, method, decName, latName, loName) {
      setTexts(texts);
      const form = withLists(['lines', 'narrowLines'],
        answer('sight_calculate', page, method === 'QQ' ? 1 : 0, decName, latName, loName));
      for (const line of [...form.lines, ...form.narrowLines]) withLists(['bold'], line);
      return form;
    },
    // "Check My Work…" on the fields as they stand: {outcome, message} or
    // {outcome: 'complete', entries, lines, values: [{name, kind, places}]}.
    openCheck(texts, method, decName, latName, loName) {
      setTexts(texts);
      const opened = withLists(['lines', 'values'],
        answer('sight_check_open', page, method === 'QQ' ? 1 : 0, decName, latName, loName));
      for (const value of opened.values) withLists(['places'], value);
      return opened;
    },
    // The boxes' texts in the form's order, and the tolerance ('whole',
    // 'tenths', 'exact'): {summary, allAgree, values, problems, slips}.
    check(boxTexts, tolerance) {
      boxTexts.forEach((text, value) => call('sight_check_set_text', null, [page, value, text]));
      const checked = withLists(['values', 'problems', 'slips'], answer('sight_check', page, tolerance));
      checked.summary ??= '';
      return checked;
    },
  };
}
