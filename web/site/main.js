// Start-up: the core, the window's controls from its table, their events,
// the help panel, the form commands and the offline cache. The page marks
// itself ready for typing once the first field has the focus.

import { loadCore } from './core.js';
import { buildControls, connectControls } from './controls.js';
import { connectHelp } from './help.js';
import { keepOffline } from './offline.js';
import { connectFormCommands } from './printout.js';

const core = await loadCore();
const layout = core.layout();
const controls = buildControls(layout, document.getElementById('Form8'));
connectFormCommands();
connectControls(core, layout, controls, connectHelp(core.helpText()));
document.documentElement.dataset.state = 'ready';
performance.mark('ready-for-typing');
keepOffline();
