// The drawing as the page keeps it: every entity the plot draws, by handle, as the session
// sends it (see app/web/page_scene.h), a grid of cells to find what is in view, and the
// canvas drawing of what is in view at the zoom's level of detail.
'use strict';

const PX_PER_MM = 96 / 25.4;  // the plot's pens are millimetres on paper at 96 dots an inch
const ANCHORS = ['left', 'center', 'right'];
const FONT = '"DejaVu Sans", sans-serif';
// Below this size on screen an entity is a dot and a text a stroke where it would stand.
const DOT_PX = 1.5;
const READABLE_PX = 4;
// A line type's pattern shorter than this on screen is drawn as a continuous line.
const MIN_PATTERN_PX = 2;
// An entity spanning more cells than this is kept apart and looked at in every frame.
const MAX_CELLS = 64;
// Cells are numbered within ±CELL_LIMIT on each axis; an entity beyond is kept apart too.
const CELL_LIMIT = 2 ** 20;
const cellKey = (column, row) => (column + CELL_LIMIT) * 2 ** 21 + row + CELL_LIMIT;

// An entity: its handle, place in the drawing order, box, the colour of its dot, and its
// pieces, read from their JSON text the first time the entity is drawn whole.
class Entity {
  constructor(a) {
    this.h = a[0];
    this.n = a[1];
    this.x0 = a[2];
    this.y0 = a[3];
    this.x1 = a[4];
    this.y1 = a[5];
    this.c = a[6];
    this.text = a[7];
    this.parsed = null;
    this.seen = 0;
  }

  get pieces() { return this.parsed || (this.parsed = JSON.parse(this.text)); }
}

class Scene {
  constructor() {
    this.version = 0;           // the session's scene version this holds
    this.colours = [];          // "#rrggbb" by number
    this.byHandle = new Map();  // handle -> Entity
    this.sorted = [];           // entities in drawing order
    this.bounds = null;         // the boxes' extents (they only grow between full loads)
    // The grid of cells, made the first time a view takes in only part of the drawing.
    this.cell = 0;              // its cell size in drawing units
    this.cells = null;          // cell key -> entities touching it
    this.span = null;           // the cells in use: [first column, row, last column, row]
    this.large = new Set();     // entities too large for the cells
    this.stamp = 0;             // marks entities met in one look-up
  }

  // Takes the answer of /drawing: the whole scene or what changed.
  apply(r) {
    this.colours = r.colours;
    if (r.full) {
      this.byHandle.clear();
      this.cells = null;
      this.bounds = null;
      const entities = r.entities.map((a) => new Entity(a));
      for (const e of entities) {
        this.byHandle.set(e.h, e);
        this.grow(e);
      }
      this.sorted = entities.sort((a, b) => a.n - b.n);
    } else {
      for (const h of r.erased) this.remove(h);
      for (const a of r.entities) {
        const e = new Entity(a);
        this.remove(e.h);
        this.byHandle.set(e.h, e);
        this.grow(e);
        if (this.cells) this.index(e);
        this.sorted.splice(this.place(e.n), 0, e);
      }
    }
    this.version = r.version;
  }

  grow(e) {
    const b = this.bounds;
    if (!b) {
      this.bounds = { minX: e.x0, minY: e.y0, maxX: e.x1, maxY: e.y1 };
      return;
    }
    if (e.x0 < b.minX) b.minX = e.x0;
    if (e.y0 < b.minY) b.minY = e.y0;
    if (e.x1 > b.maxX) b.maxX = e.x1;
    if (e.y1 > b.maxY) b.maxY = e.y1;
  }

  // The grid, with cells that hold about a dozen entities each where the drawing is dense.
  makeGrid() {
    const b = this.bounds;
    const area = Math.max(b.maxX - b.minX, 1) * Math.max(b.maxY - b.minY, 1);
    this.cell = Math.max(Math.sqrt(area * 12 / Math.max(this.sorted.length, 1)), 1e-3);
    this.cells = new Map();
    this.large.clear();
    this.span = null;
    for (const e of this.sorted) this.index(e);
  }

  // Where an entity of order n stands, or would stand, in the drawing order.
  place(n) {
    let lo = 0, hi = this.sorted.length;
    while (lo < hi) {
      const mid = (lo + hi) >> 1;
      if (this.sorted[mid].n < n) lo = mid + 1; else hi = mid;
    }
    return lo;
  }

  cellRange(x0, y0, x1, y1) {
    const s = this.cell;
    return [Math.floor(x0 / s), Math.floor(y0 / s), Math.floor(x1 / s), Math.floor(y1 / s)];
  }

  index(e) {
    const [c0, r0, c1, r1] = this.cellRange(e.x0, e.y0, e.x1, e.y1);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > MAX_CELLS || !(Math.abs(c0) < CELL_LIMIT &&
        Math.abs(r0) < CELL_LIMIT && Math.abs(c1) < CELL_LIMIT && Math.abs(r1) < CELL_LIMIT)) {
      this.large.add(e);
      return;
    }
    const s = this.span;
    this.span = s ? [Math.min(s[0], c0), Math.min(s[1], r0), Math.max(s[2], c1), Math.max(s[3], r1)]
                  : [c0, r0, c1, r1];
    for (let c = c0; c <= c1; ++c) {
      for (let r = r0; r <= r1; ++r) {
        const key = cellKey(c, r);
        const list = this.cells.get(key);
        if (list) list.push(e); else this.cells.set(key, [e]);
      }
    }
  }

  remove(h) {
    const e = this.byHandle.get(h);
    if (!e) return;
    this.byHandle.delete(h);
    const at = this.place(e.n);
    if (this.sorted[at] === e) this.sorted.splice(at, 1);
    if (!this.cells || this.large.delete(e)) return;
    const [c0, r0, c1, r1] = this.cellRange(e.x0, e.y0, e.x1, e.y1);
    for (let c = c0; c <= c1; ++c) {
      for (let r = r0; r <= r1; ++r) {
        const key = cellKey(c, r);
        const list = this.cells.get(key);
        if (!list) continue;
        const i = list.indexOf(e);
        if (i >= 0) list.splice(i, 1);
        if (list.length === 0) this.cells.delete(key);
      }
    }
  }

  // The drawing's extents, or null when nothing is drawn.
  extents() {
    let minX = Infinity, minY = Infinity, maxX = -Infinity, maxY = -Infinity;
    for (const e of this.sorted) {
      minX = Math.min(minX, e.x0); minY = Math.min(minY, e.y0);
      maxX = Math.max(maxX, e.x1); maxY = Math.max(maxY, e.y1);
    }
    return minX <= maxX ? { minX, minY, maxX, maxY } : null;
  }

  // The entities that may meet the rectangle, in drawing order: those of the cells it covers,
  // or every entity when it takes in most of the drawing (the painter looks at each box).
  inView(x0, y0, x1, y1) {
    const b = this.bounds;
    if (!b) return this.sorted;
    const seen = (Math.min(x1, b.maxX) - Math.max(x0, b.minX)) *
                 (Math.min(y1, b.maxY) - Math.max(y0, b.minY));
    const area = (b.maxX - b.minX) * (b.maxY - b.minY);
    if (!(seen < area / 2)) return this.sorted;
    if (!this.cells) this.makeGrid();
    if (!this.span) return this.sorted;
    const [c0, r0, c1, r1] = this.cellRange(x0, y0, x1, y1).map((v, i) =>
      i < 2 ? Math.max(v, this.span[i]) : Math.min(v, this.span[i]));
    const span = Math.max(0, c1 - c0 + 1) * Math.max(0, r1 - r0 + 1);
    if (span > this.cells.size / 2) return this.sorted;
    const stamp = ++this.stamp;
    const found = [];
    const take = (e) => {
      if (e.seen !== stamp) {
        e.seen = stamp;
        found.push(e);
      }
    };
    for (let c = c0; c <= c1; ++c) {
      for (let r = r0; r <= r1; ++r) {
        const list = this.cells.get(cellKey(c, r));
        if (list) for (const e of list) take(e);
      }
    }
    for (const e of this.large) take(e);
    return found.sort((a, b) => a.n - b.n);
  }
}

// A colour "#rrggbb" as an opaque pixel of the canvas's memory (red in the lowest byte).
function pixelOf(colour) {
  const v = parseInt(colour.slice(1), 16);
  return (0xff000000 | ((v & 0xff) << 16) | (v & 0xff00) | ((v >> 16) & 0xff)) >>> 0;
}

// White pixels the size of the canvas, kept from frame to frame.
let blank = null;
function blankImage(ctx) {
  const { width, height } = ctx.canvas;
  if (!blank || blank.width !== width || blank.height !== height) {
    blank = ctx.createImageData(width, height);
  }
  new Uint32Array(blank.data.buffer).fill(0xffffffff);
  return blank;
}

// Draws the entities in view on a canvas: x, y of the drawing to pixels by the view
// {cx, cy, z} (the drawing point at the centre, pixels per drawing unit).
class Painter {
  constructor(ctx, width, height, view, colours) {
    this.ctx = ctx;
    this.w = width;
    this.h = height;
    this.cx = view.cx;
    this.cy = view.cy;
    this.z = view.z;
    this.colours = colours;
  }

  sx(x) { return (x - this.cx) * this.z + this.w / 2; }
  sy(y) { return this.h / 2 - (y - this.cy) * this.z; }

  // A line's width on screen: its own width at this zoom or its pen, never under a pixel.
  lineWidth(pen, width) { return Math.max(width * this.z, pen * PX_PER_MM, 1); }

  // A line type's pattern at this zoom, as the plot draws it: continuous when the whole
  // pattern is too fine to tell (under MIN_PATTERN_PX), one that starts with a gap starting
  // with a dash of no length.
  dash(pattern) {
    const ctx = this.ctx;
    if (!pattern) {
      ctx.setLineDash([]);
      return;
    }
    const px = pattern.map((d) => Math.abs(d) * this.z);
    if (!(px.reduce((a, b) => a + b, 0) >= MIN_PATTERN_PX)) {
      ctx.setLineDash([]);
      return;
    }
    ctx.setLineDash(pattern[0] < 0 ? [0, ...px] : px);
  }

  // The entities whose boxes meet the view. Those smaller than a dot on screen are put
  // straight into the pixels of the blank canvas first; the others are drawn over them in
  // drawing order. Returns how many met the view.
  paint(entities, ratio) {
    const z = this.z;
    const ox = this.w / 2 - this.cx * z, oy = this.h / 2 + this.cy * z;
    const x0 = -ox / z, x1 = (this.w - ox) / z, y0 = (oy - this.h) / z, y1 = oy / z;
    const dots = this.colours.map(pixelOf);
    let pixels = null, image = null, width = 0, height = 0, shown = 0;
    const whole = [];
    for (let i = 0; i < entities.length; ++i) {
      const e = entities[i];
      if (e.x1 < x0 || e.x0 > x1 || e.y1 < y0 || e.y0 > y1) continue;
      ++shown;
      if ((e.x1 - e.x0) * z >= DOT_PX || (e.y1 - e.y0) * z >= DOT_PX) {
        whole.push(e);
        continue;
      }
      if (!pixels) {
        // The canvas is blank white here: the dots go on white, without reading it back.
        image = blankImage(this.ctx);
        pixels = new Uint32Array(image.data.buffer);
        width = image.width;
        height = image.height;
      }
      const x = Math.floor(((e.x0 + e.x1) * 0.5 * z + ox) * ratio);
      const y = Math.floor((oy - (e.y0 + e.y1) * 0.5 * z) * ratio);
      if (x >= 0 && y >= 0 && x < width && y < height) pixels[y * width + x] = dots[e.c];
    }
    if (image) this.ctx.putImageData(image, 0, 0);
    for (const e of whole) {
      for (const piece of e.pieces) this.piece(piece);
    }
    return shown;
  }

  path(rings, closed) {
    const ctx = this.ctx;
    ctx.beginPath();
    for (const ring of rings) {
      if (ring.length < 3) continue;
      const n = ring.length / 3;
      ctx.moveTo(this.sx(ring[0]), this.sy(ring[1]));
      const segments = closed ? n : n - 1;
      for (let i = 0; i < segments; ++i) {
        const a = i * 3, b = ((i + 1) % n) * 3;
        this.segment(ring[a], ring[a + 1], ring[a + 2], ring[b], ring[b + 1]);
      }
      if (closed) ctx.closePath();
    }
  }

  // A straight segment, or a circular arc of the bulge (tan of a quarter of its turn,
  // positive anticlockwise in the drawing).
  segment(ax, ay, bulge, bx, by) {
    const ctx = this.ctx;
    if (!bulge || (ax === bx && ay === by)) {
      ctx.lineTo(this.sx(bx), this.sy(by));
      return;
    }
    const k = (1 - bulge * bulge) / (4 * bulge);
    const cx = (ax + bx) / 2 - (by - ay) * k;
    const cy = (ay + by) / 2 + (bx - ax) * k;
    const r = Math.hypot(ax - cx, ay - cy) * this.z;
    const a0 = -Math.atan2(ay - cy, ax - cx);
    const a1 = -Math.atan2(by - cy, bx - cx);
    // The screen's y points down: an arc anticlockwise in the drawing turns clockwise here.
    ctx.arc(this.sx(cx), this.sy(cy), r, a0, a1, bulge > 0);
  }

  piece(p) {
    const ctx = this.ctx;
    const colour = this.colours[p[1]];
    switch (p[0]) {
      case 0:  // [0, colour, pen, width, closed, rings, dashes?]
        ctx.strokeStyle = colour;
        ctx.lineWidth = this.lineWidth(p[2], p[3]);
        ctx.lineJoin = 'round';
        ctx.lineCap = 'round';
        this.dash(p[6]);
        this.path(p[5], p[4] === 1);
        ctx.stroke();
        return;
      case 1:  // [1, colour, opacity, rings]
        ctx.fillStyle = colour;
        ctx.globalAlpha = p[2];
        this.path(p[3], true);
        ctx.fill('evenodd');
        ctx.globalAlpha = 1;
        return;
      case 2:  // [2, colour, pen, width, x, y, r, dashes?]
        ctx.strokeStyle = colour;
        ctx.lineWidth = this.lineWidth(p[2], p[3]);
        this.dash(p[7]);
        ctx.beginPath();
        ctx.arc(this.sx(p[4]), this.sy(p[5]), p[6] * this.z, 0, 2 * Math.PI);
        ctx.stroke();
        return;
      case 3:  // [3, colour, x, y]
        ctx.fillStyle = colour;
        ctx.beginPath();
        ctx.arc(this.sx(p[2]), this.sy(p[3]), 1.5, 0, 2 * Math.PI);
        ctx.fill();
        return;
      case 4:  // [4, colour, x, y, size, anchor, turn, text]
        this.text(p, colour);
        return;
    }
  }

  text(p, colour) {
    const ctx = this.ctx;
    const size = p[4] * this.z;
    const x = this.sx(p[2]), y = this.sy(p[3]);
    const turn = -p[6] * Math.PI / 180;
    if (size < READABLE_PX) {
      // Too small to read: a stroke as long as the text, where it stands.
      const long = size * 0.55 * p[7].length;
      const start = p[5] === 0 ? 0 : p[5] === 1 ? -long / 2 : -long;
      ctx.strokeStyle = colour;
      ctx.lineWidth = Math.max(size * 0.5, 1);
      ctx.setLineDash([]);
      ctx.beginPath();
      ctx.moveTo(x + start * Math.cos(turn), y + start * Math.sin(turn));
      ctx.lineTo(x + (start + long) * Math.cos(turn), y + (start + long) * Math.sin(turn));
      ctx.stroke();
      return;
    }
    ctx.fillStyle = colour;
    ctx.font = `${size}px ${FONT}`;
    ctx.textAlign = ANCHORS[p[5]] || 'left';
    ctx.textBaseline = 'alphabetic';
    if (turn) {
      ctx.save();
      ctx.translate(x, y);
      ctx.rotate(turn);
      ctx.fillText(p[7], 0, 0);
      ctx.restore();
    } else {
      ctx.fillText(p[7], x, y);
    }
  }
}
