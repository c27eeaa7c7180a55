// The worker that prepares a package away from the page (bundled on its own and carried by the
// viewer script as text). It says that it runs, then answers one request with progress
// messages and the prepared package, or a failure.
import { buffersOf, failureMessage, preparePackage } from './Preparation.js';

self.onmessage = ({ data }) => {
  // The page waits for this before it stops thinking of preparing the package itself.
  self.postMessage({ progress: 0 });
  let prepared;
  try {
    prepared = preparePackage(data, (share) => self.postMessage({ progress: share }));
  } catch (error) {
    self.postMessage({ failure: failureMessage(error) });
    return;
  }
  self.postMessage({ prepared }, buffersOf(prepared));
};

self.postMessage({ running: true });
