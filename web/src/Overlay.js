// What is drawn over the 3D view: the loading screen (title colour, title image, progress
// bar), the four control icons, the message panel that says what went wrong and what to do
// about it, and notes: one in the middle while the model has nothing to show, and passing
// ones at the bottom (an image that is not shown).
import { colourToCss } from './AppletParams.js';

const BAR_HEIGHT = 8;
const BAR_MARGIN = 0.1; // of the width, on each side
const INACTIVE_ICON_ALPHA = 0.55;
// A passing note stays this long, then fades out.
const NOTE_MS = 6000;
const NOTE_FADE_MS = 600;

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

  // messages: [[Japanese, English], ...]. A lasting note stands in the middle of the view; a
  // passing one sits at its bottom and goes away by itself after a few seconds.
  showNote(messages, { lasting = false } = {}) {
    const note = document.createElement('div');
    note.className = lasting ? 'qel-note qel-note-lasting' : 'qel-note';
    note.setAttribute('role', 'status');
    Object.assign(note.style, {
      position: 'absolute', left: '8px', right: '8px', boxSizing: 'border-box', padding: '4px 8px',
      pointerEvents: 'none', font: '10px/1.4 sans-serif', borderRadius: '3px',
      transition: `opacity ${NOTE_FADE_MS}ms`,
    });
    if (lasting) {
      Object.assign(note.style, { top: '50%', transform: 'translateY(-50%)', textAlign: 'center',
        background: 'rgba(244, 241, 234, 0.9)', color: '#2b2b2b', font: '13px/1.5 sans-serif' });
    } else {
      Object.assign(note.style, { bottom: '8px', textAlign: 'left', background: 'rgba(0, 0, 0, 0.7)', color: '#fff' });
    }
    const lines = [...messages.map(([japanese]) => japanese), ...messages.map(([, english]) => english)];
    lines.forEach((line, i) => {
      const paragraph = document.createElement('p');
      paragraph.textContent = line;
      paragraph.style.margin = '0';
      if (i >= messages.length) paragraph.style.opacity = '0.75';
      note.append(paragraph);
    });
    this.message.before(note);
    if (!lasting) {
      setTimeout(() => {
        note.style.opacity = '0';
        setTimeout(() => note.remove(), NOTE_FADE_MS);
      }, NOTE_MS);
    }
    return note;
  }
}
