// The page of `armavo --serve` on a large sheet, in headless Chromium: how long the page takes
// to load the sheet, each answer of a LINE (three points and Enter) from the key or click until
// `armavo.waiting`, and the frame times of panning and zooming at three zooms.
// Usage: node page_bench.mjs ARMAVO SHEET.dxf   (CHROMIUM names the browser; see
// run-page-bench.sh). Prints a Markdown table.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

// playwright-core as the page's tests install it.
const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(join(here, '../../tests/web/package.json'));
const { chromium } = require('playwright-core');

const [armavo, sheet] = process.argv.slice(2);
const loads = 3;
const rounds = 3;

function startServer(dir) {
  const started = Date.now();
  const child = spawn(armavo, ['--settings', join(dir, 'settings.ini'), '--serve', '0', sheet],
                      { cwd: dir, stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let text = '';
    child.stdout.on('data', (d) => {
      text += d;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(text);
      // The sheet is open when the first command prompt comes.
      if (m && text.includes('Polecenie:')) resolve({ child, url: m[0], open: Date.now() - started });
    });
    child.on('exit', (code) => reject(new Error(`armavo --serve ended early (${code})`)));
  });
}

const ms = (t) => `${Math.round(t)} ms`;
const stats = (list) => {
  const s = [...list].sort((a, b) => a - b);
  const at = (q) => s[Math.min(s.length - 1, Math.floor(q * s.length))];
  return { n: s.length, median: at(0.5), p95: at(0.95), max: s[s.length - 1] };
};

const dir = mkdtempSync(join(tmpdir(), 'armavo-page-bench-'));
const { child, url, open } = await startServer(dir);
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
                                        args: ['--no-sandbox'] });
const rows = [];
try {
  const page = await browser.newPage({ viewport: { width: 1400, height: 900 } });
  const waiting = (kind) => page.waitForFunction(
    (k) => window.armavo && armavo.waiting && armavo.session.kind === k, kind,
    { timeout: 120000, polling: 'raf' });
  const timed = async (act, kind) => {
    const t0 = performance.now();
    await act();
    await waiting(kind);
    return performance.now() - t0;
  };
  const at = (x, y) => page.evaluate(([a, b]) => armavo.screenPoint(a, b), [x, y]);
  const frames = async (gesture) => {
    await page.evaluate(() => armavo.frames.splice(0));
    await gesture();
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    return page.evaluate(() => [...armavo.frames]);
  };

  const loadTimes = [];
  for (let i = 0; i < loads; ++i) {
    loadTimes.push(await timed(() => i === 0 ? page.goto(url) : page.reload(), 'command'));
  }
  const entities = await page.evaluate(() => armavo.entities().length);
  const last = await page.evaluate(() => armavo.lastLoad);
  await page.evaluate(() => { armavo.measuring = true; });
  rows.push(['Sheet opened by the program (OPEN at start)', ms(open), '']);
  rows.push([`Page load, ${entities} entities (${loads} loads)`, loadTimes.map(ms).join(', '), '3,000 ms']);
  rows.push([`of which the sheet (${(last.bytes / 1e6).toFixed(1)} MB of JSON): fetched, parsed, indexed`,
             [last.fetch, last.parse, last.apply].map(ms).join(', '), '']);

  // Three zooms: the whole sheet (blocks of ten bars 500 units apart), a few blocks, one.
  const whole = await page.evaluate(() => armavo.view);
  const zooms = [['the whole sheet', whole], ['a few blocks', { cx: 300, cy: 5000, w: 5000 }],
                 ['one block', { cx: 300, cy: 5065, w: 1200 }]];
  for (let [name, view] of zooms) {
    await page.evaluate((v) => armavo.setView(v), view);
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
    const inView = await page.evaluate(() => armavo.shownCount);
    // The LINE: three clicks and Enter, a few times over; its points lie in view.
    const answers = [];
    for (let r = 0; r < rounds; ++r) {
      await page.fill('#line', 'LINE');
      answers.push(await timed(() => page.press('#line', 'Enter'), 'point'));
      for (const [x, y] of [[-0.3, 0.1 + r * 0.05], [0.1, 0.2 + r * 0.05], [0.3, -0.1 + r * 0.05]]) {
        const p = await at(view.cx + x * view.w, view.cy + y * view.w / 3);
        answers.push(await timed(() => page.mouse.click(p.x, p.y), 'point'));
      }
      answers.push(await timed(() => page.keyboard.press('Enter'), 'command'));
    }
    name = `${name} (${inView} entities in view)`;
    const a = stats(answers);
    rows.push([`LINE answers at ${name} (${a.n})`, `median ${ms(a.median)}, max ${ms(a.max)}`, '200 ms']);
    // A drag across half the view, then the wheel in and out about its middle.
    const mid = await at(view.cx, view.cy);
    const pan = stats(await frames(async () => {
      await page.mouse.move(mid.x, mid.y);
      await page.mouse.down({ button: 'middle' });
      await page.mouse.move(mid.x + 400, mid.y + 200, { steps: 30 });
      await page.mouse.up({ button: 'middle' });
    }));
    const zoom = stats(await frames(async () => {
      await page.mouse.move(mid.x, mid.y);
      for (let i = 0; i < 20; ++i) {
        await page.mouse.wheel(0, i < 10 ? -100 : 100);
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(r)));
      }
    }));
    rows.push([`Pan at ${name}: frame time (${pan.n} frames)`,
               `median ${ms(pan.median)}, 95% ${ms(pan.p95)}, max ${ms(pan.max)}`, '']);
    rows.push([`Zoom at ${name}: frame time (${zoom.n} frames)`,
               `median ${ms(zoom.median)}, 95% ${ms(zoom.p95)}, max ${ms(zoom.max)}`, '']);
  }
} finally {
  await browser.close();
  child.kill('SIGTERM');
  await new Promise((r) => child.exitCode !== null ? r() : child.on('exit', r));
  rmSync(dir, { recursive: true, force: true });
}
console.log('| Measure | Time | Target |\n|---|---|---|');
for (const r of rows) console.log(`| ${r.join(' | ')} |`);
