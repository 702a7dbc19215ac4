// After one visit the page works with the network gone: the service worker
// keeps a copy of every file of the site.

export function keepOffline() {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('sw.js').catch(() => {
    // Without a worker (a plain http host, or the user blocked it) the page
    // still works while online.
  });
}
