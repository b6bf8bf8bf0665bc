// The armavo page: shows what the session publishes (transcript, prompt, drawing, panel,
// dialogs) and answers with the same lines a user types at the terminal.
'use strict';

const $ = (id) => document.getElementById(id);
const SVG_NS = 'http://www.w3.org/2000/svg';

const tab = (self.crypto && crypto.randomUUID ? crypto.randomUUID() :
  String(Math.random()).slice(2) + String(Date.now())).replace(/[^A-Za-z0-9]/g, '');

let control = false;   // this tab gives the commands; other tabs watch
let waiting = false;   // the session waits for a line
let ended = false;
let session = null;    // the session's last state
let pending = [];      // lines given before the session asked for them, in order
let sending = false;
let serverWaiting = false;  // the last state said a prompt waits
let promptSerial = 0;       // which prompt that was
let answered = -1;          // the prompt this page answered last
let pictureVersion = 0;  // the picture asked for last
let pictureShown = 0;    // the picture on the page
let picture = null;    // {placement, width, height, empty}
let view = null;       // {cx, cy, w}: the drawing's centre and width shown
let cursor = null;     // the pointer in drawing units
let lastNotice = 0;
let plotAsked = null;  // {prompt, plot}: the PLOT this page started, until its command ends
const history = [];
let historyAt = 0;

// ---- Lines to the session ----

function queueLine(line) {
  if (!control || ended) return;
  pending.push(line);
  flush();
}

async function flush() {
  if (sending || !waiting || pending.length === 0) return;
  const line = pending.shift();
  sending = true;
  waiting = false;
  answered = promptSerial;
  showStatus();
  try {
    const r = await fetch('/input', {
      method: 'POST',
      headers: { 'X-Armavo-Tab': tab, 'Content-Type': 'text/plain; charset=utf-8' },
      body: line,
    });
    if (!r.ok) {
      $('error').textContent = (await r.text()).trim();
      pending = [];
      answered = -1;  // the prompt, if it still waits, waits for another line
    } else {
      $('error').textContent = '';
    }
  } catch (e) {
    $('error').textContent = 'Brak połączenia z programem.';
    pending = [];
    answered = -1;
  }
  sending = false;
  waiting = serverWaiting && promptSerial !== answered;
  render();
  flush();
}

// ---- The event stream ----

const events = new EventSource('/events?tab=' + tab);
events.addEventListener('output', (e) => appendTranscript(JSON.parse(e.data)));
events.addEventListener('state', (e) => applyState(JSON.parse(e.data)));
events.onerror = () => { if (!ended) $('status').textContent = 'Brak połączenia…'; };

function appendTranscript(text) {
  const t = $('transcript');
  const atEnd = t.scrollTop + t.clientHeight >= t.scrollHeight - 4;
  t.textContent += text;
  if (t.textContent.length > 400000) t.textContent = t.textContent.slice(-300000);
  if (atEnd) t.scrollTop = t.scrollHeight;
}

function applyState(s) {
  control = s.control;
  serverWaiting = s.waiting;
  promptSerial = s.prompt;
  waiting = s.waiting && !sending && s.prompt !== answered;
  ended = s.ended;
  if (s.session) session = s.session;
  if (ended) { events.close(); pending = []; }
  render();
  if (session && session.picture !== pictureVersion) loadPicture(session.picture);
  if (plotAsked && s.waiting && s.prompt > plotAsked.prompt && session.kind === 'command') {
    if (session.plot !== plotAsked.plot) download('/plot.pdf?v=' + session.plot);
    plotAsked = null;
  }
  flush();
}

function download(href) {
  const a = document.createElement('a');
  a.href = href;
  a.download = '';
  document.body.appendChild(a);
  a.click();
  a.remove();
}

// Everything whose look follows the session's state and whether this page may answer.
function render() {
  showStatus();
  if (!session) return;
  $('prompt').textContent = session.prompt || '';
  showKeywords();
  showPanel();
  showModal();
  updateOverlay();
}

function busy() { return !control || ended || !waiting || sending || pending.length > 0; }

function showStatus() {
  const st = $('status');
  st.className = ended ? 'ended' : control ? '' : 'readonly';
  st.textContent = ended ? 'Sesja zakończona' :
    !control ? 'Tylko podgląd: polecenia wydaje pierwsza karta' :
    waiting ? 'Czeka na odpowiedź' : 'Pracuje…';
  $('line').disabled = !control || ended;
  $('plot').disabled = busy() || !session || session.kind !== 'command';
}

function showKeywords() {
  const box = $('keywords');
  box.textContent = '';
  if (!session || session.kind === 'dialog' || session.kind === 'question') return;
  for (const k of session.keywords) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = k.replace(/_/g, ' ');
    b.title = k;
    b.disabled = busy();
    b.addEventListener('click', () => queueLine(k));
    box.appendChild(b);
  }
}

// ---- The drawing ----

async function loadPicture(version) {
  pictureVersion = version;
  const r = await fetch('/drawing');
  const p = await r.json();
  if (p.version < pictureVersion) return;
  pictureVersion = p.version;
  const g = $('picture');
  g.textContent = '';
  picture = { placement: p.placement, width: 0, height: 0, empty: true };
  if (p.svg) {
    const doc = new DOMParser().parseFromString(p.svg, 'image/svg+xml');
    const root = doc.documentElement;
    if (root && root.localName === 'svg') {
      const el = document.importNode(root, true);
      el.setAttribute('x', '0');
      el.setAttribute('y', '0');
      el.setAttribute('overflow', 'visible');
      picture.width = parseFloat(root.getAttribute('width')) || 0;
      picture.height = parseFloat(root.getAttribute('height')) || 0;
      picture.empty = root.querySelectorAll('path, line, polyline, polygon, circle, ellipse, text').length === 0;
      const pl = p.placement;
      // Picture units to page units (x, -y): u = U/s + minX - m/s, v = V/s - maxY - m/s.
      g.setAttribute('transform', `matrix(${1 / pl.scale} 0 0 ${1 / pl.scale} ` +
        `${pl.minX - pl.margin / pl.scale} ${-pl.maxY - pl.margin / pl.scale})`);
      if (!picture.empty) g.appendChild(el);
    }
  }
  pictureShown = p.version;
  if (!view) fit();
  applyView();
}

function extents() {
  if (!picture || picture.empty) return null;
  const pl = picture.placement;
  const w = (picture.width - 2 * pl.margin) / pl.scale;
  const h = (picture.height - 2 * pl.margin) / pl.scale;
  return { minX: pl.minX, maxX: pl.minX + w, minY: pl.maxY - h, maxY: pl.maxY };
}

function fit() {
  const e = extents();
  if (!e) {
    view = { cx: 250, cy: 100, w: 700 };
  } else {
    const area = $('drawing-area');
    const aspect = area.clientHeight / Math.max(1, area.clientWidth);
    const w = Math.max(e.maxX - e.minX, (e.maxY - e.minY) / aspect, 1) * 1.15;
    view = { cx: (e.minX + e.maxX) / 2, cy: (e.minY + e.maxY) / 2, w };
  }
  applyView();
}

function applyView() {
  const area = $('drawing-area');
  const h = view.w * area.clientHeight / Math.max(1, area.clientWidth);
  $('view').setAttribute('viewBox', `${view.cx - view.w / 2} ${-view.cy - h / 2} ${view.w} ${h}`);
  updateOverlay();
}

// The drawing point under a client position.
function drawingPoint(clientX, clientY) {
  const svg = $('view');
  const p = svg.createSVGPoint();
  p.x = clientX;
  p.y = clientY;
  const q = p.matrixTransform(svg.getScreenCTM().inverse());
  return { x: q.x, y: -q.y };
}

// The client position of a drawing point (the tests click through it).
function screenPoint(x, y) {
  const svg = $('view');
  const p = svg.createSVGPoint();
  p.x = x;
  p.y = -y;
  const q = p.matrixTransform(svg.getScreenCTM());
  return { x: q.x, y: q.y };
}

function snapped(p) {
  const step = parseFloat($('snap').value);
  if (!(step > 0)) return p;
  return { x: Math.round(p.x / step) * step, y: Math.round(p.y / step) * step };
}

function formatNumber(v) {
  const r = Math.round(v * 10000) / 10000;
  return String(Object.is(r, -0) ? 0 : r);
}

function updateOverlay() {
  const band = $('band');
  const ap = $('aperture');
  const kind = session && waiting ? session.kind : '';
  if (cursor && (kind === 'point') && session.base) {
    band.setAttribute('x1', session.base[0]);
    band.setAttribute('y1', -session.base[1]);
    band.setAttribute('x2', cursor.x);
    band.setAttribute('y2', -cursor.y);
    band.setAttribute('visibility', 'visible');
  } else {
    band.setAttribute('visibility', 'hidden');
  }
  // The other corner of a selection window: dragged to the left it is a crossing window.
  const win = $('window');
  if (cursor && kind === 'pick' && session.base) {
    const [bx, by] = session.base;
    win.setAttribute('x', Math.min(bx, cursor.x));
    win.setAttribute('y', -Math.max(by, cursor.y));
    win.setAttribute('width', Math.abs(cursor.x - bx));
    win.setAttribute('height', Math.abs(cursor.y - by));
    win.classList.toggle('crossing', cursor.x < bx);
    win.setAttribute('visibility', 'visible');
  } else {
    win.setAttribute('visibility', 'hidden');
  }
  if (cursor && kind === 'pick' && !session.base) {
    const a = session.aperture;
    ap.setAttribute('x', cursor.x - a);
    ap.setAttribute('y', -cursor.y - a);
    ap.setAttribute('width', 2 * a);
    ap.setAttribute('height', 2 * a);
    ap.setAttribute('visibility', 'visible');
  } else {
    ap.setAttribute('visibility', 'hidden');
  }
}

let drag = null;
const view_ = $('view');
view_.addEventListener('pointerdown', (e) => {
  $('drawing-area').focus();
  drag = { x: e.clientX, y: e.clientY, moved: e.button === 1, button: e.button, view: { ...view } };
  view_.setPointerCapture(e.pointerId);
  e.preventDefault();
});
view_.addEventListener('pointermove', (e) => {
  cursor = snapped(drawingPoint(e.clientX, e.clientY));
  $('coords').textContent = `${formatNumber(cursor.x)}, ${formatNumber(cursor.y)}`;
  if (drag) {
    const dx = e.clientX - drag.x;
    const dy = e.clientY - drag.y;
    if (!drag.moved && Math.hypot(dx, dy) > 4) drag.moved = true;
    if (drag.moved) {
      const perPixel = drag.view.w / Math.max(1, $('drawing-area').clientWidth);
      view = { cx: drag.view.cx - dx * perPixel, cy: drag.view.cy + dy * perPixel, w: drag.view.w };
      view_.classList.add('panning');
      applyView();
      return;
    }
  }
  updateOverlay();
});
view_.addEventListener('pointerup', (e) => {
  const d = drag;
  drag = null;
  view_.classList.remove('panning');
  if (!d || d.moved || d.button !== 0) return;
  const p = snapped(drawingPoint(e.clientX, e.clientY));
  // A click answers the prompts that take a point; a pick is a point too.
  if (session && ['point', 'pick'].includes(session.kind)) {
    queueLine(`${formatNumber(p.x)},${formatNumber(p.y)}`);
  }
});
view_.addEventListener('wheel', (e) => {
  e.preventDefault();
  const at = drawingPoint(e.clientX, e.clientY);
  const k = e.deltaY > 0 ? 1.2 : 1 / 1.2;
  view = { cx: at.x + (view.cx - at.x) * k, cy: at.y + (view.cy - at.y) * k, w: view.w * k };
  applyView();
}, { passive: false });
window.addEventListener('resize', () => view && applyView());
$('fit').addEventListener('click', fit);
// The same three questions as PLOT at the command line; the file comes down when it is written.
$('plot').addEventListener('click', () => {
  if (busy() || !session || session.kind !== 'command') return;
  plotAsked = { prompt: promptSerial, plot: session.plot };
  queueLine(`PLOT ${session.plotFile}`);
});

// ---- Keys and the command line ----

$('command-line').addEventListener('submit', (e) => {
  e.preventDefault();
  const line = $('line').value;
  if (line) { history.push(line); }
  historyAt = history.length;
  $('line').value = '';
  queueLine(line);
});
$('line').addEventListener('keydown', (e) => {
  if (e.key === 'ArrowUp' && historyAt > 0) {
    $('line').value = history[--historyAt];
    e.preventDefault();
  } else if (e.key === 'ArrowDown') {
    historyAt = Math.min(history.length, historyAt + 1);
    $('line').value = history[historyAt] || '';
    e.preventDefault();
  }
});
document.addEventListener('keydown', (e) => {
  if (e.key === 'Escape') {
    e.preventDefault();
    pending = [];
    queueLine('^C');
    return;
  }
  const t = e.target;
  const inField = t instanceof HTMLInputElement || t instanceof HTMLSelectElement ||
    t instanceof HTMLButtonElement || t instanceof HTMLTextAreaElement;
  if (e.key === 'Enter' && !inField) {
    e.preventDefault();
    queueLine('');
  } else if (!inField && e.key.length === 1 && !e.ctrlKey && !e.metaKey && !e.altKey &&
             $('modal').hidden) {
    $('line').focus();  // typing anywhere goes to the command line
  }
});

// ---- The parameters panel ----

function plainCaption(c) {
  return (c || '').replace(/&(.)/g, '$1');
}

function showPanel() {
  const box = $('panel');
  const panel = session.panel;
  const a = document.activeElement;
  if (a && box.contains(a) && a.type === 'text') return;  // the user is typing in it
  box.textContent = '';
  if (!panel) return;
  const h = document.createElement('h2');
  h.textContent = panel.caption;
  box.appendChild(h);
  if (!panel.visible) {
    const n = document.createElement('div');
    n.className = 'note';
    n.textContent = '(panel jest ukryty; zmiana wartości go pokaże)';
    box.appendChild(n);
  }
  // At the command prompt PANEL sets the panel; at a prompt inside a command the transparent
  // 'PANEL does, and the command goes on at the same prompt. A dialog or question refuses it.
  const atCommand = !busy() && session.kind === 'command';
  const atPrompt = !busy() && ['point', 'pick', 'number', 'keyword'].includes(session.kind);
  let section = null;
  let row = null;
  let rowTop = null;
  const open = JSON.parse(sessionStorage.getItem('armavo-sections') || '{}');
  for (const c of panel.controls) {
    if (c.kind === 'group') {
      section = document.createElement('details');
      // A section the panel keeps folded opens here only on request.
      section.open = open[c.id] !== undefined ? open[c.id] : c.visible;
      section.addEventListener('toggle', () => {
        const o = JSON.parse(sessionStorage.getItem('armavo-sections') || '{}');
        o[c.id] = section.open;
        sessionStorage.setItem('armavo-sections', JSON.stringify(o));
      });
      const s = document.createElement('summary');
      s.textContent = plainCaption(c.caption).replace(/:$/, '');
      section.appendChild(s);
      box.appendChild(section);
      row = null;
      continue;
    }
    if (!section) continue;
    if (!row || Math.abs(c.rect[1] - rowTop) > 6) {
      row = document.createElement('div');
      row.className = 'row';
      rowTop = c.rect[1];
      section.appendChild(row);
    }
    const enabled = (atCommand || atPrompt) && panel.enabled && c.enabled;
    const send = (value) => queueLine(`${atCommand ? '' : "'"}PANEL ${c.id} ${value}`);
    let el;
    if (c.kind === 'label') {
      el = document.createElement('span');
      el.textContent = plainCaption(c.caption);
    } else if (c.kind === 'edit') {
      el = document.createElement('input');
      el.type = 'text';
      el.value = c.text;
      el.addEventListener('change', () => send(el.value));
    } else if (c.kind === 'list') {
      el = document.createElement('select');
      c.items.forEach((item, i) => el.add(new Option(item, item, false, i === c.selection)));
      el.addEventListener('change', () => send(el.value));
    } else if (c.kind === 'check') {
      el = document.createElement('label');
      const box_ = document.createElement('input');
      box_.type = 'checkbox';
      box_.checked = c.checked;
      box_.disabled = !enabled;
      box_.dataset.id = c.id;
      box_.addEventListener('change', () => send(box_.checked ? '1' : '0'));
      el.append(box_, ' ' + plainCaption(c.caption));
    } else {
      continue;
    }
    if (el instanceof HTMLInputElement || el instanceof HTMLSelectElement) {
      el.disabled = !enabled;
      el.dataset.id = c.id;
      el.setAttribute('aria-label', plainCaption(c.name).replace(/"/g, ''));
    }
    row.appendChild(el);
  }
}

// ---- Dialogs, questions and message boxes ----

function windowBox(caption) {
  const w = document.createElement('div');
  w.className = 'window';
  w.setAttribute('role', 'dialog');
  const t = document.createElement('div');
  t.className = 'title';
  t.textContent = caption;
  w.appendChild(t);
  return w;
}

function showModal() {
  const modal = $('modal');
  const d = session.kind === 'dialog' ? session.dialog : null;
  const q = session.kind === 'question' ? session.question : null;
  const newest = session.notices.length ? session.notices[session.notices.length - 1] : null;
  const notice = newest && newest.serial > lastNotice ? newest : null;
  const key = JSON.stringify([d, q, notice && notice.serial, control, waiting]);
  if (modal.dataset.key === key) return;
  const focusedId = document.activeElement && modal.contains(document.activeElement) ?
    document.activeElement.dataset.focus : null;
  modal.dataset.key = key;
  modal.textContent = '';
  if (d) {
    modal.appendChild(dialogWindow(d));
  } else if (q) {
    modal.appendChild(questionWindow(q));
  }
  // A message box shown while a dialog is open stands over it, as it would on a desktop.
  if (notice) {
    modal.appendChild(noticeWindow(notice)).classList.add('notice');
  }
  modal.hidden = modal.childElementCount === 0;
  const again = focusedId && modal.querySelector(`[data-focus="${focusedId}"]`);
  if (again) again.focus();
  else if (modal.hidden && control) $('line').focus();
}

function questionWindow(q) {
  const w = windowBox(q.caption);
  const m = document.createElement('div');
  m.className = 'message';
  m.textContent = q.text;
  const buttons = document.createElement('div');
  buttons.className = 'buttons';
  for (const choice of q.choices.split('/')) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = choice.charAt(0).toUpperCase() + choice.slice(1);
    b.disabled = busy();
    b.addEventListener('click', () => queueLine(choice));
    buttons.appendChild(b);
  }
  w.append(m, buttons);
  return w;
}

function noticeWindow(n) {
  const w = windowBox(n.caption);
  const m = document.createElement('div');
  m.className = 'message';
  m.textContent = n.text;
  const buttons = document.createElement('div');
  buttons.className = 'buttons';
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = 'OK';
  b.addEventListener('click', () => { lastNotice = n.serial; showModal(); });
  buttons.appendChild(b);
  w.append(m, buttons);
  setTimeout(() => b.focus(), 0);
  return w;
}

function dialogWindow(d) {
  const w = windowBox(d.caption);
  const client = document.createElement('div');
  client.className = 'client';
  client.style.width = d.width + 'px';
  client.style.height = d.height + 'px';
  const off = busy();
  for (const c of d.controls) {
    if (!c.visible) continue;
    const el = dialogControl(c, off || !c.enabled);
    if (!el) continue;
    el.classList.add('ctl', c.kind);
    el.style.left = c.rect[0] + 'px';
    el.style.top = c.rect[1] + 'px';
    el.style.width = c.rect[2] + 'px';
    // A list's rectangle includes its dropped-down part; the closed box is one line high.
    el.style.height = (c.kind === 'list' ? Math.min(c.rect[3], 24) : c.rect[3]) + 'px';
    client.appendChild(el);
  }
  w.appendChild(client);
  return w;
}

function dialogControl(c, disabled) {
  let el;
  switch (c.kind) {
    case 'label':
      el = document.createElement('span');
      el.textContent = plainCaption(c.caption);
      return el;
    case 'group':
      el = document.createElement('div');
      el.appendChild(document.createElement('span')).textContent = plainCaption(c.caption);
      return el;
    case 'picture':
      return null;
    case 'edit': {
      el = document.createElement('input');
      el.type = 'text';
      el.value = c.text;
      el.disabled = disabled;
      el.dataset.focus = 'c' + c.id;
      el.addEventListener('change', () => queueLine(`set ${c.id} ${el.value}`));
      el.addEventListener('keydown', (e) => {
        if (e.key === 'Enter') { e.preventDefault(); el.blur(); }
      });
      return el;
    }
    case 'list':
      el = document.createElement('select');
      c.items.forEach((item, i) => el.add(new Option(item, item, false, i === c.selection)));
      el.disabled = disabled;
      el.dataset.focus = 'c' + c.id;
      el.addEventListener('change', () => queueLine(`set ${c.id} ${el.value}`));
      return el;
    case 'check': {
      el = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = c.checked;
      box.disabled = disabled;
      box.dataset.focus = 'c' + c.id;
      box.addEventListener('change', () => queueLine(`check ${c.id} ${box.checked ? 1 : 0}`));
      el.append(box, ' ' + plainCaption(c.caption));
      return el;
    }
    case 'button':
    case 'default':
      el = document.createElement('button');
      el.type = 'button';
      el.textContent = plainCaption(c.caption);
      el.disabled = disabled;
      el.dataset.focus = 'c' + c.id;
      el.addEventListener('click', () => queueLine(`click ${c.id}`));
      return el;
    case 'grid':
      return gridControl(c, disabled);
  }
  return null;
}

function gridControl(c, disabled) {
  const el = document.createElement('div');
  const table = document.createElement('table');
  const head = table.createTHead().insertRow();
  head.appendChild(document.createElement('th'));
  for (const col of c.grid.columns) {
    const th = document.createElement('th');
    th.textContent = col.heading;
    if (col.unit) th.appendChild(document.createElement('small')).textContent = col.unit;
    head.appendChild(th);
  }
  const body = table.createTBody();
  c.grid.rows.forEach((cells, i) => {
    const r = i + 1;
    const tr = body.insertRow();
    if (r === c.grid.current) tr.className = 'current';
    const num = tr.insertCell();
    num.className = 'row';
    num.textContent = r;
    num.title = 'Wybierz wiersz';
    num.addEventListener('click', () => { if (!disabled) queueLine(`select ${r}`); });
    cells.forEach((cell, col) => {
      const td = tr.insertCell();
      if (!cell) return;
      // A note says where the text came from (a typed count, with the drawn one).
      const note = () => {
        if (!cell.note) return;
        td.classList.add('noted');
        td.title = cell.note;
        td.appendChild(document.createElement('small')).textContent = cell.note;
      };
      if (!cell.enabled || disabled) {
        td.textContent = cell.text;
        if (!cell.enabled) td.classList.add('disabled');
        note();
        return;
      }
      let input;
      if (cell.items) {
        input = document.createElement('select');
        if (!cell.items.includes(cell.text)) input.add(new Option(cell.text, cell.text, true, true));
        for (const item of cell.items) input.add(new Option(item, item, false, item === cell.text));
      } else {
        input = document.createElement('input');
        input.type = 'text';
        input.value = cell.text;
        input.addEventListener('keydown', (e) => {
          if (e.key === 'Enter') { e.preventDefault(); input.blur(); }
        });
      }
      input.dataset.focus = `g${c.id}-${r}-${col}`;
      input.setAttribute('aria-label', `wiersz ${r} kolumna ${col}`);
      input.addEventListener('change', () => queueLine(`cell ${r} ${col} ${input.value}`));
      td.appendChild(input);
      note();
    });
  });
  el.appendChild(table);
  return el;
}

// What the tests ask of the page.
window.armavo = {
  screenPoint,
  get session() { return session; },
  // The session waits and the page shows the drawing as it stands.
  get waiting() {
    return waiting && !sending && pending.length === 0 && session && pictureShown >= session.picture;
  },
  get control() { return control; },
};
