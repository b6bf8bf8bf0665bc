// The page of `armavo --serve` in headless Chromium, as a designer uses it: a ribbed bar drawn
// by three clicks and Enter, described on a leader (the count set in the panel inside the
// command), the schedule opened, a cell changed and the table inserted, a line drawn and
// dashed, undone and redone, and the drawing printed to PDF; a second tab watches read-only.
// The entities the page keeps after the answers must be those of the SVG export and of the
// drawing opened afresh, and the same lines given to the program as a script must leave the
// same DXF. Screenshots of a failing run stay in ARMAVO_WEB_OUT.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

const armavo = process.env.ARMAVO;
const browserPath = process.env.CHROMIUM;
const out = process.env.ARMAVO_WEB_OUT;

// The scenario as a user types it; the page gives the same lines by clicks and forms.
const scenario = [
  'PANEL 1006 RB500W', 'PANEL 1004 12',
  'WPR', '0,0', '100,0', '100,50', '',
  'EDPR', 'Opis', "'PANEL 1015 3", 'Na_odnośniku', '50,0', '50,0', '60,20', '80,20', '^C', '^C',
  'OPR', 'cell 1 4 3', 'cell 1 1 16', 'nie', 'click 1', '0,-100',
  'LINE', '0,-50', '50,-50', '', 'CHPROP', '25,-50', '', 'Rodzaj_linii', 'DASHED', '',
  'U', 'U', 'REDO', 'REDO', 'SETVAR LTSCALE 10',
  'EXPORT page.svg',
];

// A piece of the page's scene as the SVG export writes it: its element and colour, a text's
// characters, and whether it is dashed.
function pieceInSvg(p) {
  const element = { l: 'path', f: 'path', c: 'circle', d: 'circle', t: 'text' }[p[0]];
  const dashed = { l: p[6], c: p[7] }[p[0]] ? ' dashed' : '';
  return `${element} ${p[1]}${p[0] === 't' ? ' ' + p[7] : ''}${dashed}`;
}

function elementsOfSvg(svg) {
  const unescape = (t) => t.replace(/<[^>]*>/g, '').replace(/&lt;/g, '<').replace(/&gt;/g, '>')
    .replace(/&quot;/g, '"').replace(/&amp;/g, '&');
  return [...svg.matchAll(/<(path|circle|text) ([^>]*)>(?:(.*?)<\/text>)?/g)].map(([, e, a, t]) => {
    const colour = /(?:stroke|fill)="(#[0-9a-f]{6})"/.exec(a.replace(/fill="none"/, ''))[1];
    const dashed = a.includes('stroke-dasharray') ? ' dashed' : '';
    return `${e} ${colour}${e === 'text' ? ' ' + unescape(t) : ''}${dashed}`;
  });
}

function startServer(dir) {
  const child = spawn(armavo, ['--settings', join(dir, 'settings.ini'), '--serve', '0'],
                      { cwd: dir, stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let text = '';
    child.stdout.on('data', (d) => {
      text += d;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(text);
      if (m) resolve({ child, url: m[0] });
    });
    child.on('exit', (code) => reject(new Error(`armavo --serve ended early (${code})`)));
  });
}

test('the page draws, describes, schedules and undoes as the terminal does', async (t) => {
  const dir = mkdtempSync(join(tmpdir(), 'armavo-web-'));
  const { child, url } = await startServer(dir);
  const browser = await chromium.launch({ executablePath: browserPath, args: ['--no-sandbox'] });
  const page = await browser.newPage({ viewport: { width: 1400, height: 900 } });
  let shot = 0;
  const screenshot = (name) => page.screenshot({ path: join(out, `${++shot}-${name}.png`) });
  const ready = (kind) => page.waitForFunction(
    (k) => window.armavo && armavo.waiting && armavo.session.kind === k, kind, { timeout: 15000 });
  const click = async (x, y, next) => {
    const p = await page.evaluate(([a, b]) => armavo.screenPoint(a, b), [x, y]);
    await page.mouse.click(p.x, p.y);
    await ready(next);
  };
  const type = async (line, next) => {
    await page.fill('#line', line);
    await page.press('#line', 'Enter');
    await ready(next);
  };
  // The pieces of the entities the page shows, in drawing order, by kind.
  const pieces = (kinds) => page.evaluate((k) => armavo.entities().flatMap(([, p]) => p)
    .filter((p) => k.includes(p[0])), kinds);
  const ink = (x, y) => page.evaluate(([a, b]) => armavo.inkAt(a, b), [x, y]);
  const failures = [];  // requests refused and errors while the page loads
  page.on('response', (r) => { if (r.status() >= 400) failures.push(`${r.status()} ${r.url()}`); });
  page.on('console', (m) => { if (m.type() === 'error') failures.push(m.text()); });
  let passed = false;
  try {
    await page.goto(url);
    await ready('command');
    assert.deepEqual(failures, []);

    // The panel: steel and diameter as a user picks them.
    await page.selectOption('#panel select[data-id="1006"]', 'RB500W');
    await ready('command');
    await page.selectOption('#panel select[data-id="1004"]', '12');
    await ready('command');

    // A value the panel refuses is shown at its field.
    await page.fill('#panel input[data-id="1008"]', '-3');
    await page.press('#panel input[data-id="1008"]', 'Enter');
    await ready('command');
    assert.match(await page.textContent('#panel .refusal'), /\S/);

    // A second tab sees the same session and cannot answer it.
    const watcher = await browser.newPage();
    await watcher.goto(url);
    await watcher.waitForFunction(() => window.armavo && armavo.session && !armavo.control);
    assert.equal(await watcher.isDisabled('#line'), true);
    assert.equal(await watcher.isDisabled('#panel select[data-id="1006"]'), true);

    // A ribbed bar of three clicks and Enter.
    await type('WPR', 'point');
    // The prompt's option is a button too.
    assert.equal(await page.locator('#keywords button', { hasText: 'Odsuń' }).count(), 1);
    await click(0, 0, 'point');
    // The wheel zooms about the pointer and a drag pans; neither answers the prompt.
    const at = (x, y) => page.evaluate(([a, b]) => armavo.screenPoint(a, b), [x, y]);
    const [a0, b0] = [await at(0, 0), await at(100, 0)];
    await page.mouse.move(a0.x, a0.y);
    await page.mouse.wheel(0, -100);
    await page.waitForFunction(([x, w]) => Math.abs(armavo.screenPoint(100, 0).x - x - w) < 0.5,
                               [a0.x, (b0.x - a0.x) * 1.2]);
    assert.ok(Math.abs((await at(0, 0)).x - a0.x) < 0.5, 'the point under the pointer stays');
    await page.mouse.down();
    await page.mouse.move(a0.x + 40, a0.y - 30, { steps: 5 });
    await page.mouse.up();
    const moved = await at(0, 0);
    assert.ok(Math.abs(moved.x - a0.x - 40) < 0.5 && Math.abs(moved.y - a0.y + 30) < 0.5);
    await ready('point');
    assert.equal(await page.evaluate(() => armavo.session.prompt), 'Wskaż punkt, Odsuń <Wskaż punkt>:');
    await click(100, 0, 'point');
    assert.ok(await ink(50, 0), 'the first segment is drawn');
    await click(100, 50, 'point');
    await page.keyboard.press('Enter');
    await ready('command');
    // The bar is drawn where the clicks were made, and nothing inside its corner.
    assert.ok(await ink(50, 0) && await ink(100, 25) && !(await ink(50, 25)));
    const shapes = ['l', 'c', 'f'];
    const barShapes = (await pieces(shapes)).length;
    assert.ok(barShapes > 0);
    await screenshot('bar');

    // Described on a leader: the option buttons, a pick, three points, then Esc twice.
    await type('EDPR', 'keyword');
    await page.click('#keywords button[title="Opis"]');
    await ready('keyword');
    // The panel takes a change inside the command (a transparent 'PANEL line); the command
    // goes on at the same prompt, and the leader shows the count.
    await page.fill('#panel input[data-id="1015"]', '3');
    await page.press('#panel input[data-id="1015"]', 'Tab');
    await page.waitForFunction(() => armavo.waiting && armavo.session.kind === 'keyword' &&
      armavo.session.panel.controls.find((c) => c.id === 1015).text === '3');
    await page.click('#keywords button[title="Na_odnośniku"]');
    await ready('pick');
    assert.equal(await page.evaluate(() => armavo.session.aperture), 6);  // 1000 * 3 / 500
    await click(50, 0, 'point');
    await click(50, 0, 'point');
    // The second point is measured from the start: the rubber band's base.
    assert.deepEqual(await page.evaluate(() => armavo.session.base), [50, 0]);
    await click(60, 20, 'point');
    await click(80, 20, 'keyword');
    await page.keyboard.press('Escape');
    await ready('keyword');
    await page.keyboard.press('Escape');
    await ready('command');
    assert.ok((await pieces(['t'])).some((p) => p[7] === '1'));
    await screenshot('leader');
    assert.ok((await pieces(shapes)).length >= barShapes + 2, 'the leader and its circle are drawn');
    await watcher.waitForFunction(
      () => armavo.entities().flatMap(([, p]) => p).some((p) => p[0] === 't'));

    // The schedule: a count typed in the grid, the table inserted where clicked.
    await type('OPR', 'dialog');
    const dialog = page.locator('#modal .window');
    assert.equal(await dialog.locator('.title').textContent(), 'Wstaw wykaz');
    await screenshot('schedule');
    const countCell = dialog.locator('input[aria-label="wiersz 1 kolumna 4"]');
    await countCell.fill('3');
    await countCell.press('Enter');
    // The typed count is marked as typed, with the drawn count beside it.
    await page.waitForFunction(() => armavo.waiting &&
      armavo.session.dialog.controls.find((c) => c.kind === 'grid').grid.rows[0][4].text === '3' &&
      armavo.session.dialog.controls.find((c) => c.kind === 'grid').grid.rows[0][4].note ===
        'wpisano, z rysunku: 1');
    // The bar's row comes from the drawing, and is marked so; the buttons keep one line.
    assert.notEqual(await dialog.locator('tbody tr').first().locator('td').nth(2)
      .evaluate((td) => td.style.background), '');
    for (const caption of ['Wstaw wykaz', 'Pełny wykaz']) {
      const fits = await dialog.locator('.ctl', { hasText: caption })
        .evaluate((b) => b.scrollWidth <= b.clientWidth && b.scrollHeight <= b.clientHeight);
      assert.ok(fits, caption);
    }
    // A new diameter asks whether the drawing changes too: the question stands over the dialog.
    await dialog.locator('select[aria-label="wiersz 1 kolumna 1"]').selectOption('16');
    await ready('question');
    assert.equal(await page.locator('#modal .window').count(), 2);
    await page.locator('#modal .window.over button').nth(1).click();
    await ready('dialog');
    await dialog.locator('button', { hasText: 'Wstaw wykaz' }).click();
    await ready('point');
    assert.equal(await page.locator('#modal').isHidden(), true);
    const before = (await pieces(['t'])).length;
    await click(0, -100, 'command');
    assert.ok((await pieces(['t'])).length > before);
    await screenshot('table');

    // A line drawn and dashed, both undone and redone, the pattern then scaled (LTSCALE is
    // the drawing's, not an object's): the page follows each answer with what changed.
    const dashed = async () => (await pieces(['l'])).some((p) => p[6]);
    for (const [line, next] of [['LINE', 'point'], ['0,-50', 'point'], ['50,-50', 'point'],
      ['', 'command'], ['CHPROP', 'pick'], ['25,-50', 'pick'], ['', 'keyword'],
      ['Rodzaj_linii', 'keyword'], ['DASHED', 'keyword'], ['', 'command']]) {
      await type(line, next);
    }
    assert.ok(await dashed());
    await type('U', 'command');
    await type('U', 'command');
    assert.ok(!(await dashed()) && !(await ink(25, -50)));
    await type('REDO', 'command');
    await type('REDO', 'command');
    assert.ok(await dashed());
    await type('SETVAR LTSCALE 10', 'command');
    await screenshot('redone');

    // What the page keeps after these answers is the SVG export piece for piece, and the
    // drawing plotted afresh (saved and opened again) entity for entity by handle.
    const shown = await page.evaluate(() => armavo.entities());
    await type('EXPORT page.svg', 'command');
    assert.deepEqual(shown.flatMap(([, p]) => p).map(pieceInSvg),
                     elementsOfSvg(readFileSync(join(dir, 'page.svg'), 'utf8')));
    await type('SAVE page.dxf', 'command');
    await type('OPEN page.dxf', 'command');
    assert.deepEqual(await page.evaluate(() => armavo.entities()), shown);

    // Printed to PDF: PLOT's three questions answered on the page, then the sheet comes down.
    await page.click('#plot');
    await ready('keyword');
    await page.click('#keywords button[title="A4"]');
    await ready('keyword');
    await page.click('#keywords button[title="pIonowa"]');
    await ready('number');
    const download = page.waitForEvent('download');
    await type('50', 'command');
    const sheet = await download;
    assert.equal(sheet.suggestedFilename(), 'page.pdf');
    assert.equal(readFileSync(await sheet.path(), 'latin1').slice(0, 5), '%PDF-');
    await watcher.close();
    passed = true;
  } finally {
    if (!passed) await screenshot('failure').catch(() => {});
    await browser.close();
    child.kill('SIGTERM');
    await new Promise((r) => child.exitCode !== null ? r() : child.on('exit', r));
  }
  // SIGTERM ends the session as the end of the input does, cleanly; its status is 1 for the
  // panel value it refused.
  assert.equal(child.exitCode, 1);

  // The same lines at the terminal leave the very same drawing file.
  writeFileSync(join(dir, 'typed.scr'), [...scenario, 'SAVE typed.dxf', 'QUIT', ''].join('\n'));
  const typed = spawnSync(armavo, ['--settings', join(dir, 'typed.ini')], {
    cwd: dir, input: readFileSync(join(dir, 'typed.scr')), encoding: 'utf8' });
  assert.equal(typed.status, 0, typed.stdout);
  const pageDxf = readFileSync(join(dir, 'page.dxf'), 'utf8');
  assert.ok(pageDxf.includes('LWPOLYLINE') && pageDxf.includes('OpisOdn'));
  assert.equal(pageDxf, readFileSync(join(dir, 'typed.dxf'), 'utf8'));
  rmSync(dir, { recursive: true, force: true });
  for (let i = 1; i <= shot; ++i) t.diagnostic(`screenshot ${i} taken`);
  // A passing run keeps none, unless asked to (ARMAVO_WEB_KEEP=1, to look at the page).
  if (!process.env.ARMAVO_WEB_KEEP) rmSync(out, { recursive: true, force: true });
});
