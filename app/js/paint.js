// Calls `done` once the browser has painted the changes made so far: the
// animation frame callback runs just before the paint, and a message posted
// from it is delivered after the paint.
function afterPaint(done) {
  requestAnimationFrame(() => {
    const channel = new MessageChannel();
    channel.port1.onmessage = () => done();
    channel.port2.postMessage(null);
  });
}

// Leaves a User Timing mark once the current changes are on screen, so that
// the time from an input event to its painted result can be measured.
export function markPainted(name) {
  afterPaint(() => performance.mark(name));
}
