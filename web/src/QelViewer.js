// The viewer script inside vtr.jar. The page's loader runs it as a classic script; it defines
// the global QelViewer, whose mount() puts a viewer in place of an applet block.
import { DroppedSource, HttpSource } from './Sources.js';
import { mount } from './Viewer.js';

export const version = '1.1';
export { mount, DroppedSource, HttpSource };
