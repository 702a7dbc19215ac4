// The help window as a panel beside the form: one at most, opened with its
// designed text each time, and what the user typed into it forgotten when
// it is closed.

const panel = document.getElementById('Form1');
const text = document.getElementById('Text1');

export function connectHelp(helpText) {
  document.getElementById('Form1Close').addEventListener('click', () => {
    panel.hidden = true;
    text.value = '';
  });
  // A second "?" brings the open panel forward, as the window does.
  return function showHelp() {
    const opening = panel.hidden;
    if (opening) {
      text.value = helpText;
      panel.hidden = false;
    }
    panel.scrollIntoView({ block: 'nearest' });
    text.focus();
    // A freshly opened text is read from its top.
    if (opening) text.setSelectionRange(0, 0);
  };
}
