// Mouse, touch and keyboard input of a viewer. Controls only change the ViewState and say
// that something changed; they never draw.
//
// Left drag does what the current drag mode says (rotate unless a control icon chose zoom or
// pan); right or middle drag pans; the wheel and a two-finger pinch zoom, two fingers also
// pan; a double click resets; while the canvas has the focus, arrow keys rotate and with Shift
// pan. Rotation is a turntable's (ViewState.turn).

const KEY_STEP = Math.PI / 36; // 5 degrees
const KEY_PAN = 20; // pixels
const KEY_ZOOM = 1.1;
const WHEEL_ZOOM_PER_PIXEL = 0.0015;
const DRAG_ZOOM_PER_PIXEL = 0.01;
const INTERACTION_SETTLE_MS = 200;

export class Controls {
  // onChange(): the state changed; onIdle(): the user let go (time for a finer frame).
  constructor(canvas, state, overlay, onChange, onIdle) {
    this.canvas = canvas;
    this.state = state;
    this.overlay = overlay;
    this.onChange = onChange;
    this.onIdle = onIdle;
    this.pointers = new Map();
    this.pendingIcon = null;
    this.pinch = null;
    this.wheelTimer = 0;
    this.listeners = [];
    canvas.style.touchAction = 'none';
    this.listen('pointerdown', (event) => this.pointerDown(event));
    this.listen('pointermove', (event) => this.pointerMove(event));
    this.listen('pointerup', (event) => this.pointerUp(event, true));
    this.listen('pointercancel', (event) => this.pointerUp(event, false));
    this.listen('dblclick', (event) => { event.preventDefault(); this.reset(); });
    this.listen('wheel', (event) => this.wheel(event), { passive: false });
    this.listen('keydown', (event) => this.key(event));
    this.listen('contextmenu', (event) => event.preventDefault());
  }

  listen(type, handler, options) {
    this.canvas.addEventListener(type, handler, options);
    this.listeners.push([type, handler, options]);
  }

  dispose() {
    for (const [type, handler, options] of this.listeners) this.canvas.removeEventListener(type, handler, options);
    clearTimeout(this.wheelTimer);
  }

  get interacting() {
    return this.pointers.size > 0 || this.wheelTimer !== 0;
  }

  local(event) {
    const rect = this.canvas.getBoundingClientRect();
    const scaleX = rect.width ? this.canvas.clientWidth / rect.width : 1;
    const scaleY = rect.height ? this.canvas.clientHeight / rect.height : 1;
    return { x: (event.clientX - rect.left) * scaleX, y: (event.clientY - rect.top) * scaleY };
  }

  reset() {
    this.state.reset();
    this.onChange();
  }

  pointerDown(event) {
    // No preventDefault here: the press focuses the canvas the browser's way (for the arrow
    // keys), which draws no keyboard focus ring over the picture.
    const at = this.local(event);
    if (this.pointers.size === 0 && event.button === 0) {
      const icon = this.overlay.iconAt(at.x, at.y);
      if (icon) {
        this.pendingIcon = icon;
        return;
      }
    }
    const action = event.pointerType === 'touch' || event.button === 0 ? 'primary' : 'pan';
    this.pointers.set(event.pointerId, { ...at, action });
    this.canvas.setPointerCapture?.(event.pointerId);
    if (this.pointers.size === 2) this.pinch = this.pinchShape();
  }

  pinchShape() {
    const [a, b] = [...this.pointers.values()];
    return { x: (a.x + b.x) / 2, y: (a.y + b.y) / 2, span: Math.hypot(a.x - b.x, a.y - b.y) };
  }

  pointerMove(event) {
    const pointer = this.pointers.get(event.pointerId);
    if (!pointer) return;
    const at = this.local(event);
    const dx = at.x - pointer.x;
    const dy = at.y - pointer.y;
    pointer.x = at.x;
    pointer.y = at.y;
    const height = this.canvas.clientHeight;
    if (this.pointers.size >= 2) {
      const shape = this.pinchShape();
      if (this.pinch && shape.span > 0 && this.pinch.span > 0) this.state.zoomBy(this.pinch.span / shape.span);
      if (this.pinch) this.state.panByPixels(shape.x - this.pinch.x, shape.y - this.pinch.y, height);
      this.pinch = shape;
    } else {
      const mode = pointer.action === 'pan' ? 'pan' : this.state.dragMode;
      if (mode === 'rotate') this.state.rotateByDrag(dx, dy, height);
      else if (mode === 'zoom') this.state.zoomBy(Math.exp(dy * DRAG_ZOOM_PER_PIXEL));
      else this.state.panByPixels(dx, dy, height);
    }
    this.onChange();
  }

  pointerUp(event, released) {
    if (this.pendingIcon) {
      const at = this.local(event);
      const icon = released ? this.overlay.iconAt(at.x, at.y) : null;
      if (icon === this.pendingIcon) this.useIcon(icon);
      this.pendingIcon = null;
      return;
    }
    if (!this.pointers.delete(event.pointerId)) return;
    this.pinch = this.pointers.size === 2 ? this.pinchShape() : null;
    if (this.pointers.size === 0) this.onIdle();
  }

  useIcon(kind) {
    if (kind === 'reset') this.state.reset();
    else this.state.setDragMode(kind);
    this.onChange();
    this.onIdle();
  }

  wheel(event) {
    event.preventDefault();
    const unit = event.deltaMode === 1 ? 16 : event.deltaMode === 2 ? this.canvas.clientHeight : 1;
    this.state.zoomBy(Math.exp(event.deltaY * unit * WHEEL_ZOOM_PER_PIXEL));
    clearTimeout(this.wheelTimer);
    this.wheelTimer = setTimeout(() => {
      this.wheelTimer = 0;
      this.onIdle();
    }, INTERACTION_SETTLE_MS);
    this.onChange();
  }

  key(event) {
    const arrows = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const arrow = arrows[event.key];
    if (arrow && event.shiftKey) this.state.panByPixels(arrow[0] * KEY_PAN, arrow[1] * KEY_PAN, this.canvas.clientHeight);
    else if (arrow) this.state.turn(arrow[0] * KEY_STEP, arrow[1] * KEY_STEP);
    else if (event.key === '+' || event.key === '=') this.state.zoomBy(1 / KEY_ZOOM);
    else if (event.key === '-') this.state.zoomBy(KEY_ZOOM);
    else if (event.key === 'Home' || event.key === '0') this.state.reset();
    else return;
    event.preventDefault();
    this.onChange();
    this.onIdle();
  }
}
