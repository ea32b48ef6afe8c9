// The service worker (service-worker.js) keeps the whole game in the
// browser, so that it opens and plays with no network and can be installed.
// It is registered once the game has started, so that its fetching of every
// file never competes with the first paint or the game's module.

// started: resolves when the game has started. untouched(): whether the
// player has done nothing yet on this page.
export function keepOffline(started, untouched) {
  if (!('serviceWorker' in navigator)) return;
  // A page served by an older build's worker learns of a new build when the
  // new worker takes over. Until the player has touched anything it
  // reloads at once, so the new build runs from the first move; otherwise
  // it runs from the next visit.
  const servedByOlderBuild = navigator.serviceWorker.controller !== null;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (servedByOlderBuild && untouched()) location.reload();
  });
  started.then(() => navigator.serviceWorker.register('service-worker.js'))
    .catch((error) => console.warn('the game cannot be kept for offline play:', error));
}
