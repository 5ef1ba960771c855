// The "Небо" and "Год" views, the horizon field, and the downloads: pictures as PNG or SVG,
// tables as the desktop's workbooks or CSV. main.js hands in what it knows through `app`.
import { csvText, layout, workbookBytes, XLSX_TYPE } from './workbook.js';
import { download, drawSky, drawYear, savePng, saveSvg, skyReadout } from './pictures.js';

const $ = (id) => document.getElementById(id);
const two = (n) => String(n).padStart(2, '0');
const SAVE_SIZE = { width: 1200, height: 600 };

// app: {core, fields(), place() -> name or '', horizons() -> {name: text}, names() -> {slot: name}, save(), tables,
//       showError(line, field, error), clearErrors(lines), today() -> "YYYY-MM-DD"}
export function pictureViews(app) {
  let sky = null;   // the scene on screen and what titles it
  let year = null;

  function skyDate() {
    const v = $('EditSkyDate').value;
    return /^\d{4}-\d\d-\d\d$/.test(v) ? v : `${$('EditYear').value}-${two($('SelectMonth').value)}-01`;
  }

  const dotted = (iso) => iso.split('-').reverse().join('.');

  // The module's scene for a horizon text; a slot text the table cannot name rings nothing.
  function skyScene(f, horizon) {
    const date = skyDate();
    // utcMs: the Sun's place now shows when the date is today in the fields' zone.
    const args = { lat: f.EditSir, lon: f.EditDolg, date, horizon, zone: app.zoneOf(f), slot: f.ESlot, utcMs: Date.now() };
    try {
      return app.core.skyScene(args);
    } catch {
      return app.core.skyScene({ ...args, slot: '' });  // the same error again when it is not the slot's
    }
  }

  function size(box) {
    const width = Math.max(300, Math.floor(box.clientWidth || 340));
    return { width, height: Math.round(Math.min(640, Math.max(380, width * 0.55))) };
  }

  function showSky() {
    const f = app.fields();
    const place = app.place();
    const horizonText = app.horizons()[place] || '';
    if ($('EditHorizon').dataset.place !== place) {
      $('EditHorizon').dataset.place = place;
      $('EditHorizon').value = horizonText;
    }
    const scene = skyScene(f, horizonText);
    scene.names = app.core.slotNamesAt(app.names(), scene.arc.map((a) => a.position));
    const title = `${place}   ${dotted(skyDate())}   ${scene.zone}`;
    sky = { scene, title };
    const box = $('SkyView');
    const { width, height } = size(box);
    box.replaceChildren(drawSky(scene, width, height, title));
    $('SkyReadout').textContent = '';
  }

  function showYear() {
    const f = app.fields();
    const scene = app.core.yearScene({
      lat: f.EditSir, lon: f.EditDolg, year: f.year, zone: app.zoneOf(f), twilight: app.twilightOf(f),
      today: app.today(),
    });
    year = { scene, title: `${app.place()}   ${scene.year}   ${scene.zone}`, month: f.month, today: scene.today };
    const box = $('YearView');
    const { width, height } = size(box);
    box.replaceChildren(drawYear(scene, width, height, year));
  }

  // The field's text is checked by the module before it is kept; a bad one stays in the
  // field with its message and changes nothing.
  function horizonChanged() {
    const input = $('EditHorizon');
    if (input.value.includes(',')) input.value = input.value.replace(',', '.');
    app.clearErrors(['sky']);
    input.removeAttribute('aria-invalid');
    const text = input.value;
    const place = app.place();
    try {
      // Only the horizon is in question here: any place, any day.
      app.core.skyScene({ lat: '0', lon: '0', date: '2000-01-01', horizon: text, slot: '' });
    } catch (e) {
      app.showError('sky', 'EditHorizon', e);
      return;
    }
    if (!place) return;
    const horizons = app.horizons();
    if (text.trim() === '') delete horizons[place];
    else horizons[place] = text;
    app.save();
    app.run('sky');
  }

  // A profile made by another tool becomes the horizon field's text, kept as if typed.
  async function importProfile(input) {
    const chosen = input.files && input.files[0];
    input.value = '';
    if (!chosen) return;
    app.clearErrors(['sky']);
    try {
      $('EditHorizon').value = app.core.horizonFromProfile(await chosen.text());
    } catch (e) {
      app.showError('sky', null, e);
      return;
    }
    horizonChanged();
  }

  function readout(e) {
    if (!sky) return;
    const svg = $('SkyView').querySelector('svg');
    const r = svg.getBoundingClientRect();
    const width = Number(svg.getAttribute('width'));
    const height = Number(svg.getAttribute('height'));
    const x = ((e.clientX - r.left) * width) / r.width;
    const y = ((e.clientY - r.top) * height) / r.height;
    const text = skyReadout(sky.scene, width, height, x, y, e.pointerType === 'touch' ? 14 : 6);
    if (text || e.type === 'pointerdown') $('SkyReadout').textContent = text;
  }

  function savePicture(kind) {
    const name = `${app.place()}_${app.view() === 'sky' ? 'небо' : 'год'}.${kind}`;
    const svg = app.view() === 'sky'
      ? drawSky(sky.scene, SAVE_SIZE.width, SAVE_SIZE.height, sky.title)
      : drawYear(year.scene, SAVE_SIZE.width, SAVE_SIZE.height, year);
    return kind === 'svg' ? saveSvg(svg, name) : savePng(svg, name);
  }

  async function saveTable(kind) {
    const view = app.view();
    app.clearErrors(['export']);
    if (!app.tables[view]) return;  // the table never came out: nothing to save
    try {
      const f = app.fields();
      const plan = layout(view, {
        f, place: app.place(), tables: app.tables, year: f.year, month: f.month,
        outNote: $('LabelOutNote').textContent, satNote: app.tables.satNote || '',
      });
      if (kind === 'csv') {
        const rows = plan.cells.filter((row, i) => i === 0 || row.some((t) => t !== ''));
        download(new Blob([csvText(rows)], { type: 'text/csv;charset=utf-8' }), `${plan.stem}.csv`);
      } else {
        $('ButtonExcel').disabled = true;
        download(new Blob([await workbookBytes(plan)], { type: XLSX_TYPE }), `${plan.stem}.xlsx`);
      }
    } catch (e) {
      app.showError('export', null, e);
    } finally {
      $('ButtonExcel').disabled = false;
    }
  }

  function wire() {
    $('EditHorizon').addEventListener('change', horizonChanged);
    $('EditHorizon').addEventListener('keydown', (e) => e.key === 'Enter' && e.target.blur());
    $('EditSkyDate').addEventListener('change', () => app.run('sky'));
    $('FileProfile').addEventListener('change', (e) => importProfile(e.target));
    for (const type of ['pointermove', 'pointerdown']) $('SkyView').addEventListener(type, readout);
    $('ButtonPng').addEventListener('click', () => savePicture('png'));
    $('ButtonSvg').addEventListener('click', () => savePicture('svg'));
    $('ButtonExcel').addEventListener('click', () => saveTable('xlsx'));
    $('ButtonCsv').addEventListener('click', () => saveTable('csv'));
    let width = 0;
    window.addEventListener('resize', () => {
      if (window.innerWidth === width) return;
      width = window.innerWidth;
      if (app.view() === 'sky' && sky) showSky();
      if (app.view() === 'year' && year) showYear();
    });
  }

  // The sky's date follows the year and month, as on the desktop.
  function monthChanged() {
    $('EditSkyDate').value = `${$('EditYear').value}-${two($('SelectMonth').value)}-01`;
  }

  return { sky: showSky, year: showYear, wire, monthChanged };
}

// Which buttons a view has under the tabs.
export function showButtons(view) {
  const picture = view === 'sky' || view === 'year';
  const table = !picture && view !== 'aim';
  $('ButtonExcel').hidden = !table;
  $('ButtonCsv').hidden = !table;
  $('ButtonPng').hidden = !picture;
  $('ButtonSvg').hidden = !picture;
}
