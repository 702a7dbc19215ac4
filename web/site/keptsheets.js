// The sheets typed into "Check My Work…", each kept under the entries it was
// typed for, with its tolerance and its marks, so that closing the check or
// reloading the page throws no work away. They live in the tab's session
// storage, for the visit; where the browser refuses storage (a private
// window, a full quota) they are kept in memory only, for as long as the
// page is open.

const storageKey = 'sightcheck.checkSheets';
// Sheets kept at most, the oldest typed going first: a class's exercises of
// a day, not a growing archive.
const sheetsKept = 20;

let kept = null;

function empty() {
  return { order: [], sheets: {}, asIGo: false };
}

function load() {
  try {
    const stored = JSON.parse(sessionStorage.getItem(storageKey) ?? 'null');
    if (stored && Array.isArray(stored.order) && typeof stored.sheets === 'object' && stored.sheets !== null)
      return { ...empty(), ...stored, order: stored.order.filter(key => key in stored.sheets) };
  } catch {
    // Unreadable or refused: start afresh.
  }
  return empty();
}

function state() {
  kept ??= load();
  return kept;
}

function save() {
  try {
    sessionStorage.setItem(storageKey, JSON.stringify(kept));
  } catch {
    // Refused or full: the sheets stay in memory for this visit.
  }
}

// The sheet typed for these entries ({texts: {name: text}, tolerance,
// marked: [names], checked}), or null.
export function keptSheet(entries) {
  const sheet = state().sheets[entries];
  return sheet && typeof sheet.texts === 'object' && sheet.texts !== null ? sheet : null;
}

// Keeps the sheet as typed now for these entries; a sheet with nothing
// typed in it is let go.
export function keepSheet(entries, sheet) {
  const { order, sheets } = state();
  const typed = Object.values(sheet.texts).some(text => text.trim() !== '');
  kept.order = order.filter(key => key !== entries);
  if (typed) {
    sheets[entries] = sheet;
    kept.order.push(entries);
  } else {
    delete sheets[entries];
  }
  while (kept.order.length > sheetsKept) delete sheets[kept.order.shift()];
  save();
}

// The entries of the sheet typed in last, or null.
export const lastTyped = () => state().order.at(-1) ?? null;

export const markingAsIGo = () => state().asIGo === true;

export function keepMarkingAsIGo(on) {
  state().asIGo = on;
  save();
}
