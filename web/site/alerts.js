// The message box and the beep that the field rules and Calculate use: a
// modal dialog with the page's title, the text and an OK button, and a short
// tone through Web Audio.

const box = document.getElementById('messageBox');
const boxText = document.getElementById('messageText');
document.getElementById('messageTitle').textContent = document.title;
let closed = () => {};

// OK, or Escape: the box closes and the focus goes back where it was, at
// once (the browser's own close event comes later, when the user may have
// moved on).
function closeBox() {
  if (!box.open) return;
  box.close();
  closed();
}
document.getElementById('messageOk').addEventListener('click', closeBox);
box.addEventListener('cancel', event => {
  event.preventDefault();
  closeBox();
});

let shown = Promise.resolve();

// Shows text (lines separated by "\n") in the modal box; the promise settles
// when the user has closed it. Boxes asked for while one is open follow it.
export function messageBox(text) {
  shown = shown.then(
    () =>
      new Promise(resolve => {
        boxText.textContent = text;
        const returnTo = document.activeElement;
        closed = () => {
          // The browser gives the focus back by itself, but after a click on
          // OK the caret can stay behind in the closed box, and what the user
          // types next would go nowhere: so the focus is given back in full.
          if (returnTo instanceof HTMLElement && returnTo.isConnected) {
            returnTo.blur();
            returnTo.focus();
          }
          resolve();
        };
        box.showModal();
      }),
  );
  return shown;
}

export function isMessageOpen() {
  return box.open;
}

let audio = null;

// About a tenth of a second of a soft square wave, the classic alert's length.
// Sound is a courtesy: where Web Audio is missing, blocked or fails, the
// beep is silent and whatever caused it still happens.
export function beep() {
  try {
    // Made at the first beep, which a key press causes, so the browser lets
    // it play.
    audio ??= new AudioContext();
    const tone = audio.createOscillator();
    const level = audio.createGain();
    tone.type = 'square';
    tone.frequency.value = 880;
    level.gain.value = 0.05;
    tone.connect(level).connect(audio.destination);
    const now = audio.currentTime;
    tone.start(now);
    tone.stop(now + 0.1);
  } catch {
    // No sound here.
  }
}
