// What is drawn over the 3D view: the loading screen (title colour, title image, progress
// bar), the four control icons, the message panel that says what went wrong and what to do
// about it, the note in the middle while the model has nothing to show, and a small mark in a
// corner that opens its note (images that are not shown) while it is pointed at or focused,
// so that the note never covers the model by itself, whatever the canvas size.
import { colourToCss } from './AppletParams.js';

const BAR_HEIGHT = 8;
const BAR_MARGIN = 0.1; // of the width, on each side
const INACTIVE_ICON_ALPHA = 0.55;
const MARK_SIZE = 14;
const MARK_MARGIN = 4;

export const ICON_KINDS = ['rotate', 'zoom', 'pan', 'reset'];

export class Overlay {
  constructor(container, settings) {
    this.settings = settings;
    this.canvas = document.createElement('canvas');
    this.canvas.className = 'qel-overlay';
    this.canvas.setAttribute('aria-hidden', 'true');
    Object.assign(this.canvas.style, {
      position: 'absolute', left: '0', top: '0', width: '100%', height: '100%', pointerEvents: 'none',
    });
    this.message = document.createElement('div');
    this.message.className = 'qel-message';
    this.message.setAttribute('role', 'alert');
    this.message.hidden = true;
    Object.assign(this.message.style, {
      position: 'absolute', inset: '0', overflow: 'auto', boxSizing: 'border-box', padding: '10px',
      background: '#f4f1ea', color: '#2b2b2b', font: '12px/1.5 sans-serif', textAlign: 'left',
      border: '1px solid #b9b2a4',
    });
    container.append(this.canvas, this.message);
    this.context = this.canvas.getContext('2d');
    this.icons = [];
    this.showingLoading = true;
  }

  setPixelRatio(ratio) {
    this.ratio = ratio;
    this.canvas.width = Math.round(this.settings.width * ratio);
    this.canvas.height = Math.round(this.settings.height * ratio);
  }

  // The loading screen, with the share of the download that has arrived (0..1).
  drawLoading(logo, fraction) {
    const { width, height } = this.settings;
    const g = this.context;
    g.setTransform(this.ratio, 0, 0, this.ratio, 0, 0);
    g.fillStyle = colourToCss(this.settings.titleBackColor);
    g.fillRect(0, 0, width, height);
    if (logo) {
      const scale = Math.min(1, width / logo.width, height / logo.height);
      const w = logo.width * scale;
      const h = logo.height * scale;
      g.drawImage(logo, (width - w) / 2, (height - h) / 2, w, h);
    }
    const x = Math.round(width * BAR_MARGIN) + 0.5;
    const w = Math.round(width * (1 - 2 * BAR_MARGIN));
    const y = Math.min(Math.max(0, this.settings.progBarPosition), Math.max(0, height - BAR_HEIGHT)) + 0.5;
    g.fillStyle = colourToCss(this.settings.progBarColor);
    g.fillRect(x, y, Math.max(0, Math.min(1, fraction)) * (w - 1), BAR_HEIGHT - 1);
    g.strokeStyle = colourToCss(this.settings.progBarBorderColor);
    g.lineWidth = 1;
    g.strokeRect(x, y, w - 1, BAR_HEIGHT - 1);
  }

  // icons: [{ kind, image, x, y }] with decoded images.
  setIcons(icons) {
    this.icons = icons;
  }

  // Draws the control icons over the view; the one for the current drag mode stands out.
  drawIcons(dragMode) {
    this.showingLoading = false;
    const g = this.context;
    g.setTransform(1, 0, 0, 1, 0, 0);
    g.clearRect(0, 0, this.canvas.width, this.canvas.height);
    g.setTransform(this.ratio, 0, 0, this.ratio, 0, 0);
    for (const icon of this.icons) {
      g.globalAlpha = icon.kind === dragMode || icon.kind === 'reset' ? 1 : INACTIVE_ICON_ALPHA;
      g.drawImage(icon.image, icon.x, icon.y);
    }
    g.globalAlpha = 1;
  }

  // The icon under a point in CSS pixels of the view, or null; the last drawn is on top.
  iconAt(x, y) {
    for (let i = this.icons.length - 1; i >= 0; i--) {
      const icon = this.icons[i];
      if (x >= icon.x && y >= icon.y && x < icon.x + icon.image.width && y < icon.y + icon.image.height) return icon.kind;
    }
    return null;
  }

  // lines: [Japanese, English].
  showMessage(lines) {
    this.message.replaceChildren();
    lines.forEach((line, i) => {
      const paragraph = document.createElement('p');
      paragraph.textContent = line;
      paragraph.style.margin = i === 0 ? '0 0 6px' : '0';
      if (i > 0) paragraph.style.color = '#5a5a5a';
      this.message.append(paragraph);
    });
    this.message.hidden = false;
  }

  // messages: [[Japanese, English], ...]: a note in the middle of the view, while the model has
  // nothing to show.
  showNote(messages) {
    const note = noteText(messages, 'qel-note qel-note-lasting');
    note.setAttribute('role', 'status');
    Object.assign(note.style, {
      position: 'absolute', left: '8px', right: '8px', top: '50%', transform: 'translateY(-50%)', pointerEvents: 'none',
      textAlign: 'center', background: 'rgba(244, 241, 234, 0.9)', color: '#2b2b2b', font: '13px/1.5 sans-serif',
    });
    this.message.before(note);
    return note;
  }

  // messages as for showNote: a mark in the bottom-right corner whose note opens above it while
  // the pointer is on it or it has the focus (a tap toggles it).
  showMark(messages) {
    const mark = document.createElement('div');
    mark.className = 'qel-note qel-note-mark';
    mark.tabIndex = 0;
    mark.setAttribute('role', 'button');
    mark.setAttribute('aria-expanded', 'false');
    Object.assign(mark.style, {
      position: 'absolute', right: `${MARK_MARGIN}px`, bottom: `${MARK_MARGIN}px`, width: `${MARK_SIZE}px`,
      height: `${MARK_SIZE}px`, borderRadius: '50%', background: 'rgba(0, 0, 0, 0.6)', color: '#fff',
      font: `bold 10px/${MARK_SIZE}px sans-serif`, textAlign: 'center', cursor: 'help', userSelect: 'none',
    });
    const sign = document.createElement('span');
    sign.textContent = '!';
    sign.setAttribute('aria-hidden', 'true');
    const text = noteText(messages, 'qel-note-text');
    text.hidden = true;
    Object.assign(text.style, {
      position: 'absolute', right: '0', bottom: `${MARK_SIZE + 4}px`, width: 'max-content',
      maxWidth: `${Math.max(60, this.settings.width - 2 * MARK_MARGIN)}px`, textAlign: 'left',
      background: 'rgba(0, 0, 0, 0.8)', color: '#fff', font: '10px/1.4 sans-serif', cursor: 'auto',
    });
    mark.setAttribute('aria-label', text.textContent);
    mark.append(sign, text);
    const open = (shown) => {
      text.hidden = !shown;
      mark.setAttribute('aria-expanded', String(shown));
    };
    mark.addEventListener('pointerenter', () => open(true));
    mark.addEventListener('pointerleave', () => open(mark === document.activeElement));
    mark.addEventListener('focus', () => open(true));
    mark.addEventListener('blur', () => open(false));
    mark.addEventListener('click', () => open(text.hidden));
    this.message.before(mark);
    return mark;
  }
}

// A block of the Japanese lines of messages, then their English lines.
function noteText(messages, className) {
  const note = document.createElement('div');
  note.className = className;
  Object.assign(note.style, { boxSizing: 'border-box', padding: '4px 8px', borderRadius: '3px', lineHeight: '1.4' });
  const lines = [...messages.map(([japanese]) => japanese), ...messages.map(([, english]) => english)];
  lines.forEach((line, i) => {
    const paragraph = document.createElement('p');
    paragraph.textContent = line;
    paragraph.style.margin = '0';
    if (i >= messages.length) paragraph.style.opacity = '0.75';
    note.append(paragraph);
  });
  return note;
}
