// The C++ core, compiled to WebAssembly, behind plain JavaScript calls. Every
// call hands texts and numbers to one exported C function and parses its
// JSON answer; nothing here decides anything about a sight or a field.

import createSightCore from './sightcore.js';

// An exercise's method for the core: 0 both, 1 Q(x), 2 QQ(x).
const methodChoice = method => ({ Q: 1, QQ: 2 })[method] ?? 0;

export async function loadCore() {
  const module = await createSightCore();
  // A text is handed over in memory of its own, freed after the call: ccall
  // would copy it onto the core's stack, which a pasted text of a few
  // megabytes runs past, over whatever lies below.
  const call = (name, result, args = []) => {
    const held = [];
    try {
      const values = args.map(arg => {
        if (typeof arg !== 'string') return arg;
        const size = module.lengthBytesUTF8(arg) + 1;
        const at = module._malloc(size);
        if (at === 0) throw new RangeError(`The core has no room for a text of ${size} bytes.`);
        held.push(at);
        module.stringToUTF8(arg, at, size);
        return at;
      });
      return module.ccall(name, result, args.map(() => 'number'), values);
    } finally {
      held.forEach(at => module._free(at));
    }
  };
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
      const checked = withLists(['values', 'problems', 'slips'], answer('sight_check', page, tolerance));
      checked.summary ??= '';
      return checked;
    },
    // A seed offered for a new exercise, as text.
    freshSeed: () => module.UTF8ToString(call('sight_exercise_seed', 'number', [page])),
    // The seed's practice sight, {seed, texts, method, decName, latName,
    // loName}, or null when the text is not a seed. method: 'Q' or 'QQ' for
    // every sight, otherwise both.
    exercise(seedText, method = '') {
      const sight = answer('sight_exercise', page, seedText, methodChoice(method));
      return sight.seed === null ? null : sight;
    },
    // The seed's first count sights, as above, or null.
    exercises(seedText, count, method = '') {
      const sights = answer('sight_exercises', page, seedText, count, methodChoice(method));
      return sights.seed === null ? null : sights.sights;
    },
  };
}
