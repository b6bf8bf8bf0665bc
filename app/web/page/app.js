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
const scene = new Scene();  // the drawing as this page keeps it
let loading = false;       // a request for what changed is on its way
let drawnVersion = 0;      // the scene version last drawn on the canvas
let view = null;           // {cx, cy, w}: the drawing's centre and width shown
const frames = [];         // how long the latest frames took to draw, in milliseconds
let lastLoad = null;       // the last answer of /drawing: its size and times (for measuring)
let shownCount = 0;        // the entities in view in the last frame
let measuring = false;     // frame times include the canvas's rasterising
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
loadScene(true);
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
  loadScene();
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
  checkPanelAnswer();
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

// The options a prompt names without declaring them as keywords ("Wskaż punkt, Odsuń
// <Wskaż punkt>:" takes any text, and "Odsuń" among it).
function promptOptions(prompt) {
  const m = /^[^,<\[]+,\s*([^<\[:]+?)\s*[<\[]/.exec(prompt || '');
  return m ? m[1].split(/[,/]/).map((o) => o.trim()).filter((o) => /^\p{Lu}/u.test(o)) : [];
}

function showKeywords() {
  const box = $('keywords');
  box.textContent = '';
  if (!session || session.kind === 'dialog' || session.kind === 'question') return;
  const keywords = session.keywords.length ? session.keywords : promptOptions(session.prompt);
  for (const k of keywords) {
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

// Brings the scene up to the session's: only what changed since the version it holds. The
// page asks for the whole drawing at once as it opens, beside its event stream.
async function loadScene(opening) {
  if (loading || (!opening && (!session || scene.version >= session.picture))) return;
  loading = true;
  try {
    const t0 = performance.now();
    const r = await fetch('/drawing?since=' + scene.version);
    const text = await r.text();
    const t1 = performance.now();
    const changes = JSON.parse(text);
    const t2 = performance.now();
    scene.apply(changes);
    const t3 = performance.now();
    lastLoad = { bytes: text.length, fetch: t1 - t0, parse: t2 - t1, apply: t3 - t2 };
    // The grid that finds what is in a part of the drawing is made while the page is idle,
    // rather than in the first frame that needs it.
    if (changes.full) {
      setTimeout(() => { if (!scene.cells && scene.bounds) scene.makeGrid(); }, 200);
    }
  } catch (e) {
    $('error').textContent = 'Nie udało się pobrać rysunku.';
  }
  loading = false;
  if (!view) fit(); else requestDraw();
  loadScene();  // the session may have moved on meanwhile
}

function fit() {
  const e = scene.extents();
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
  requestDraw();
}

let drawRequested = false;
function requestDraw() {
  if (drawRequested) return;
  drawRequested = true;
  requestAnimationFrame(draw);
}

// Draws what is in view on the canvas, at the zoom's level of detail.
function draw() {
  drawRequested = false;
  if (!view) return;
  const started = performance.now();
  const area = $('drawing-area');
  const canvas = $('canvas');
  const ratio = window.devicePixelRatio || 1;
  const w = area.clientWidth, h = area.clientHeight;
  if (canvas.width !== Math.round(w * ratio) || canvas.height !== Math.round(h * ratio)) {
    canvas.width = Math.round(w * ratio);
    canvas.height = Math.round(h * ratio);
  }
  const ctx = canvas.getContext('2d');
  ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
  ctx.fillStyle = '#ffffff';
  ctx.fillRect(0, 0, w, h);
  const z = w / view.w;
  const halfW = w / 2 / z, halfH = h / 2 / z;
  const candidates =
    scene.inView(view.cx - halfW, view.cy - halfH, view.cx + halfW, view.cy + halfH);
  shownCount = new Painter(ctx, w, h, { cx: view.cx, cy: view.cy, z }, scene.colours)
    .paint(candidates, ratio);
  // When measuring, the frame's time includes turning the drawing into pixels, which the
  // browser does later otherwise: reading one pixel back makes it happen now.
  if (measuring) ctx.getImageData(0, 0, 1, 1);
  drawnVersion = scene.version;
  frames.push(performance.now() - started);
  if (frames.length > 200) frames.splice(0, frames.length - 200);
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
    const send = (value) => {
      panelSent = { id: c.id, value, from: transcriptLength() };
      queueLine(`${atCommand ? '' : "'"}PANEL ${c.id} ${value}`);
    };
    let el;
    if (c.kind === 'label') {
      el = document.createElement('span');
      el.textContent = plainCaption(c.caption);
    } else if (c.kind === 'edit') {
      el = document.createElement('input');
      el.type = 'text';
      el.value = c.text;
      el.addEventListener('change', () => send(el.value));
      el.addEventListener('keydown', (e) => {
        if (e.key === 'Enter') { e.preventDefault(); el.blur(); }
      });
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
    if (refusal && refusal.id === c.id) {
      const r = document.createElement('div');
      r.className = 'refusal';
      r.setAttribute('role', 'alert');
      r.textContent = refusal.text;
      row.after(r);
    }
  }
}

// What a refused panel value shows at its field: the session's answer to the line, kept
// until the next change of the panel.
let panelSent = null;  // {id, value, from}: the last value sent and where the transcript stood
let refusal = null;    // {id, text}

function panelValue(c) {
  return c.kind === 'check' ? (c.checked ? '1' : '0') : c.text;
}

function checkPanelAnswer() {
  if (!panelSent || !waiting || !session.panel) return;
  const c = session.panel.controls.find((x) => x.id === panelSent.id);
  const said = $('transcript').textContent.slice(panelSent.from).split('\n')
    .slice(1, -1).map((l) => l.trim()).filter((l) => l);
  refusal = c && panelValue(c) !== panelSent.value && said.length ?
    { id: panelSent.id, text: said.join(' ') } : null;
  panelSent = null;
}

function transcriptLength() { return $('transcript').textContent.length; }

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
  // A dialog stays shown while a question asked from it waits; the question stands over it.
  const d = session.dialog;
  const q = session.kind === 'question' ? session.question : null;
  const newest = session.notices.length ? session.notices[session.notices.length - 1] : null;
  const notice = newest && newest.serial > lastNotice ? newest : null;
  const key = JSON.stringify([d, q, notice && notice.serial, control, waiting]);
  if (modal.dataset.key === key) return;
  const focusedId = document.activeElement && modal.contains(document.activeElement) ?
    document.activeElement.dataset.focus : null;
  modal.dataset.key = key;
  modal.textContent = '';
  if (d) modal.appendChild(dialogWindow(d, !!q));
  if (q) modal.appendChild(questionWindow(q)).classList.toggle('over', !!d);
  // A message box shown while a dialog is open stands over it, as it would on a desktop.
  if (notice) {
    modal.appendChild(noticeWindow(notice)).classList.add('notice');
  }
  modal.hidden = modal.childElementCount === 0;
  modal.querySelectorAll('.ctl.button, .ctl.default, .ctl.check, .ctl.label').forEach(fitText);
  const again = focusedId && modal.querySelector(`[data-focus="${focusedId}"]`);
  if (again) again.focus();
  else if (modal.hidden && control) $('line').focus();
}

// A caption wider than its control (the page's fonts are not the desktop's) is made smaller
// until it fits on its one line.
function fitText(el) {
  for (let size = 12; size > 8 && el.scrollWidth > el.clientWidth; --size) {
    el.style.fontSize = size - 1 + 'px';
  }
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

function dialogWindow(d, behind) {
  const w = windowBox(d.caption);
  const client = document.createElement('div');
  client.className = 'client';
  client.style.width = d.width + 'px';
  client.style.height = d.height + 'px';
  const off = busy() || behind;
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
      if (cell.background) td.style.background = cell.background;
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
    return waiting && !sending && pending.length === 0 && session &&
      scene.version >= session.picture && drawnVersion >= session.picture && !drawRequested;
  },
  get control() { return control; },
  // The entities shown (or those of another scene), in drawing order: [handle, pieces],
  // each piece as the session plotted it, with its kind as a letter and its colour.
  entities(of = scene) {
    const kinds = ['l', 'f', 'c', 'd', 't'];
    const readable = (p) => [kinds[p[0]], of.colours[p[1]], ...p.slice(2)];
    return of.sorted.map((e) => [e.h, e.pieces.map(readable)]);
  },
  // Whether anything is drawn on the canvas within `reach` pixels of a drawing point.
  inkAt(x, y, reach = 1) {
    const p = screenPoint(x, y);
    const area = $('drawing-area').getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    const px = Math.round((p.x - area.left) * ratio), py = Math.round((p.y - area.top) * ratio);
    const r = Math.ceil(reach * ratio);
    const data = $('canvas').getContext('2d')
      .getImageData(px - r, py - r, 2 * r + 1, 2 * r + 1).data;
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] < 200 || data[i + 1] < 200 || data[i + 2] < 200) return true;
    }
    return false;
  },
  frames,
  set measuring(on) { measuring = on; },
  get lastLoad() { return lastLoad; },
  get shownCount() { return shownCount; },
  // What the drawing area shows: {cx, cy, w}, the drawing's centre and width in view.
  get view() { return { ...view }; },
  setView(v) { view = { ...v }; applyView(); },
};
