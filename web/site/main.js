// Start-up: the core, the window's controls from its table, their events,
// the help panel, the form commands, the check of a navigator's own form,
// the tables and the offline cache. The page marks itself ready for typing
// once the first field has the focus.

import { loadCore } from './core.js';
import { connectCheck } from './checkwork.js';
import { buildControls, connectControls } from './controls.js';
import { connectExercise } from './exercise.js';
import { connectHelp } from './help.js';
import { keepOffline } from './offline.js';
import { connectFormCommands, rehearse } from './printout.js';
import { connectTables } from './tables.js';

async function start() {
  const core = await loadCore();
  const layout = core.layout();
  const controls = buildControls(layout, document.getElementById('Form8'));
  connectFormCommands();
  const currentEntries = connectControls(core, layout, controls, connectHelp(core.helpText()));
  connectCheck(core, currentEntries);
  connectExercise(core, layout);
  connectTables(core);
  document.documentElement.dataset.state = 'ready';
  performance.mark('ready-for-typing');
  // While the user reads the page, each step in a moment of its own so that
  // none holds up a key: one reduction (all fields empty) through the core,
  // then its form laid out unseen, so the first Calculate finds the
  // WebAssembly compiled and the form's nodes and fonts at hand; then the
  // offline copy, whose downloads would otherwise compete with the page's
  // own. What the reduction leaves in the core is overwritten by every
  // calculation and never shown.
  const idle = work => (window.requestIdleCallback ?? setTimeout)(work, { timeout: 1000 });
  idle(() => {
    const form = core.calculate(Array(8).fill(''), 'Q', 'N', 'N', 'W');
    idle(() => {
      rehearse(form);
      idle(keepOffline);
    });
  });
}

start().catch(error => {
  // A browser without WebAssembly, or a site copied without sightcore.wasm:
  // said on the page, not only in the console.
  const note = document.createElement('p');
  note.id = 'startFailure';
  note.textContent = `The checker could not start in this browser: ${error.message}`;
  document.getElementById('caption').after(note);
  throw error;
});
