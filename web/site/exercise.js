// "New Exercise…": asks for a seed, with a fresh one offered, and fills the
// window's fields, names and method with that seed's practice sight, so a
// class that shares a seed works the same sight. The core makes the sight;
// each field gets its text as typing gives it, through the field's own
// Change rule, and the printout is left empty for the learner to work.

import { clearForm } from './printout.js';

const dialog = document.getElementById('exerciseDialog');
const seedBox = document.getElementById('exerciseSeedBox');
const okButton = document.getElementById('exerciseOk');
const shownSeed = document.getElementById('exerciseSeed');

// The window's field names in the rules' order, from the control table.
function fieldNames(layout) {
  const names = [];
  for (const control of layout.controls) if (control.field !== undefined) names[control.field] = control.name;
  return names;
}

function fill(sight, names) {
  sight.texts.forEach((text, index) => {
    // Degrees before their minutes: a minute field its degree field had
    // locked is free again before it is filled.
    const field = document.getElementById(names[index]);
    field.value = text;
    field.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertReplacementText' }));
  });
  document.getElementById('cboDec').value = sight.decName;
  document.getElementById('cboL').value = sight.latName;
  document.getElementById('cboLo').value = sight.loName;
  // Set without a change event: a method the user chooses calculates at
  // once, and this one is for the learner to work first.
  document.getElementById(sight.method === 'QQ' ? 'optQQ' : 'optQ').checked = true;
  clearForm();
  shownSeed.textContent = `Exercise ${sight.seed}`;
  document.getElementById(names[0]).focus();
}

export function connectExercise(core, layout) {
  const names = fieldNames(layout);
  document.getElementById('mnuNewExercise').addEventListener('click', () => {
    seedBox.value = core.freshSeed();
    okButton.disabled = false;
    dialog.showModal();
    seedBox.select();
  });
  seedBox.addEventListener('input', () => {
    okButton.disabled = core.exercise(seedBox.value) === null;
  });
  const accept = () => {
    const sight = core.exercise(seedBox.value);
    if (sight === null) return;
    dialog.close();
    fill(sight, names);
  };
  okButton.addEventListener('click', accept);
  seedBox.addEventListener('keydown', event => {
    if (event.key === 'Enter') {
      event.preventDefault();
      accept();
    }
  });
  document.getElementById('exerciseCancel').addEventListener('click', () => dialog.close());
  // The seed belongs to the sight: once the fields are cleared it is gone.
  for (const id of ['cmdClear', 'cmdClearSome'])
    document.getElementById(id).addEventListener('click', () => {
      shownSeed.textContent = '';
    });
}
