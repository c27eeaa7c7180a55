// The worker that prepares a package away from the page (bundled on its own and carried by the
// viewer script as text). It says that it runs, then answers one request with progress
// messages and the prepared package, or a failure.
import { buffersOf, failureMessage, preparePackage } from './Preparation.js';

// Progress goes to the page only when its percentage changes: a model of a million objects
// must not send a million messages.
function progressReporter() {
  let sent = -1;
  return (share) => {
    const percent = Math.floor(share * 100);
    if (percent === sent) return;
    sent = percent;
    self.postMessage({ progress: share });
  };
}

self.onmessage = async ({ data }) => {
  let prepared;
  try {
    prepared = await preparePackage(data, progressReporter());
  } catch (error) {
    self.postMessage({ failure: failureMessage(error) });
    return;
  }
  self.postMessage({ prepared }, buffersOf(prepared));
};

self.postMessage({ running: true });
