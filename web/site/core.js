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
      return answer('sight_key_press', page, field, keyAscii);
    },
    // The field's text has changed: {fields, beeps, messages}.
    change(texts, field) {
      setTexts(texts);
      return answer('sight_change', page, field);
    },
    // True while the focus may not leave the field.
    validateCancels(texts, field) {
      setTexts(texts);
      return call('sight_validate', 'number', [page, field]) === 1;
    },
    // {emptied: field indexes, fields, beeps, messages}.
    clear: all => answer('sight_clear', page, all ? 1 : 0),
    // {outcome, message} or {outcome: 'complete', lines, entries, description}.
    calculate(texts, method, decName, latName, loName) {
      setTexts(texts);
      return answer('sight_calculate', page, method === 'QQ' ? 1 : 0, decName, latName, loName);
    },
    // "Check My Work…" on the fields as they stand: {outcome, message} or
    // {outcome: 'complete', entries, lines, values: [{name, kind, places}]}.
    openCheck(texts, method, decName, latName, loName) {
      setTexts(texts);
      return answer('sight_check_open', page, method === 'QQ' ? 1 : 0, decName, latName, loName);
    },
    // The boxes' texts in the form's order, and the tolerance ('whole',
    // 'tenths', 'exact'): {summary, allAgree, values, problems, slips}.
    // The method's table ('Q' or 'QQ') as its booklet prints it:
    // {pages: [{range, lines}]}, the lines as a form's.
    tablePages: method => answer('sight_table_pages', page, method === 'QQ' ? 1 : 0),
    // The value of an angle typed as on the form, and the angle of a value,
    // read from the table: {ok: true, result, working, page, entries:
    // [{angle, value, used}], program (the value only)} or {ok: false, message}.
    tableValue: (method, angle) => answer('sight_table_value', page, method === 'QQ' ? 1 : 0, angle),
    tableAngle: (method, value) => answer('sight_table_angle', page, method === 'QQ' ? 1 : 0, value),
    check(boxTexts, tolerance) {
      boxTexts.forEach((text, value) => call('sight_check_set_text', null, [page, value, text]));
      return answer('sight_check', page, tolerance);
    },
  };
}
