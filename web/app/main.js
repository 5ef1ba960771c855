// The page: fields and choices in, the module's tables and messages out.
import { openCore } from './core.js';
import { renderGrid } from './grid.js';
import * as store from './store.js';
import { aimView } from './aim.js';
import { pictureViews, showButtons } from './views.js';

const $ = (id) => document.getElementById(id);
const MONTHS = ['Январь', 'Февраль', 'Март', 'Апрель', 'Май', 'Июнь', 'Июль', 'Август', 'Сентябрь', 'Октябрь',
  'Ноябрь', 'Декабрь'];
const YEARS = { min: 1800, max: 2200 };
const TEXT_FIELDS = ['EditSir', 'EditDolg', 'EditGMT', 'EditMSK', 'EditUg', 'EditKm', 'ESlot', 'EDish', 'EFreq'];
// Which error line a field's message goes to.
const ERROR_LINE = {
  EditPunkt: 'EditPunkt', EditSir: 'EditSir', EditDolg: 'EditSir', EditYear: 'EditYear',
  EditGMT: 'EditGMT', EditMSK: 'EditGMT', RadioButtonGMT: 'EditGMT', RadioButtonMSK: 'EditGMT',
  EditUg: 'EditUg', EditKm: 'EditUg', RadioButtonUgol: 'EditUg', RadioButtonVys: 'EditUg',
  ESlot: 'out', EDish: 'out', EFreq: 'out', CheckBoxMagAz: 'sat',
  EditHorizon: 'sky', EditSkyDate: 'sky', EAimSlot: 'aim',
};
// The fields each view reads: a change elsewhere leaves its table as it is.
const READS = {
  sun: ['EditSir', 'EditDolg', 'EditYear', 'SelectMonth', 'EditGMT', 'EditMSK', 'RadioButtonGMT', 'RadioButtonMSK',
    'EditUg', 'EditKm', 'RadioButtonUgol', 'RadioButtonVys', 'CheckBoxSec'],
  sat: ['EditSir', 'EditDolg', 'CheckBoxMagAz'],
  out: ['EditSir', 'EditDolg', 'EditYear', 'EditGMT', 'EditMSK', 'RadioButtonGMT', 'RadioButtonMSK', 'ESlot', 'EDish',
    'EFreq'],
  sky: ['EditSir', 'EditDolg', 'EditYear', 'SelectMonth', 'EditGMT', 'EditMSK', 'RadioButtonGMT', 'RadioButtonMSK', 'ESlot'],
  year: ['EditSir', 'EditDolg', 'EditYear', 'SelectMonth', 'EditGMT', 'EditMSK', 'RadioButtonGMT', 'RadioButtonMSK',
    'EditUg', 'EditKm', 'RadioButtonUgol', 'RadioButtonVys'],
  aim: ['EditSir', 'EditDolg', 'EditGMT', 'EditMSK', 'RadioButtonGMT', 'RadioButtonMSK', 'ESlot'],
};
const VIEW_NAMES = ['sun', 'sat', 'out', 'sky', 'year', 'aim'];
const SECTIONS = { sun: 'ViewSun', sat: 'ViewSat', out: 'ViewOut', sky: 'ViewSky', year: 'ViewYear', aim: 'ViewAim' };

let core;
let pictures;
let file = new Uint8Array(0);  // the stored kelmar.INI, exactly as last written or imported
let ini = { places: [], selected: 0, form: {}, horizons: {}, names: {} };
let view = 'sun';
let adding = false;
const stale = { sun: true, sat: true, out: true, sky: true, year: true, aim: true };
const tables = {};  // the last table of each view, for the downloads

// ---- fields ----

function fields() {
  const f = {};
  for (const id of TEXT_FIELDS) f[id] = $(id).value;
  f.zone = $('RadioButtonGMT').checked ? 'gmt' : 'msk';
  f.twilight = $('RadioButtonUgol').checked ? 'angle' : 'height';
  f.CheckBoxSec = $('CheckBoxSec').checked;
  f.CheckBoxMagAz = $('CheckBoxMagAz').checked;
  f.year = Number($('EditYear').value);
  f.month = Number($('SelectMonth').value);
  return f;
}

// The module names the window's settings; flags may come as booleans or as the file's "1"/"0".
const isOn = (v) => v === true || v === '1' || v === 1;

function formDefaults(form) {
  const read = (key, fallback) => (form[key] === undefined || form[key] === null ? fallback : String(form[key]));
  $('EditGMT').value = read('zoneGmt', '0');
  $('EditMSK').value = read('zoneMsk', '0');
  $('EditUg').value = read('twilightAngle', '0');
  $('EditKm').value = read('twilightHeight', '0');
  $('ESlot').value = read('outageSlot', '0');
  $('EDish').value = read('dish', '0.9');
  $('EFreq').value = read('frequency', '12');
  $(isOn(form.zoneIsGmt) ? 'RadioButtonGMT' : 'RadioButtonMSK').checked = true;
  $(isOn(form.twilightByAngle) ? 'RadioButtonUgol' : 'RadioButtonVys').checked = true;
  $('CheckBoxMagAz').checked = isOn(form.compassAzimuths);
}

function formFromFields() {
  const f = fields();
  const old = ini.form;
  const flag = (key, on) => (typeof old[key] === 'string' ? (on ? '1' : '0') : on);
  return {
    ...old,
    zoneGmt: f.EditGMT, zoneMsk: f.EditMSK, twilightAngle: f.EditUg, twilightHeight: f.EditKm,
    zoneIsGmt: flag('zoneIsGmt', f.zone === 'gmt'), twilightByAngle: flag('twilightByAngle', f.twilight === 'angle'),
    compassAzimuths: flag('compassAzimuths', f.CheckBoxMagAz),
    outageSlot: f.ESlot, dish: f.EDish, frequency: f.EFreq, latitude: f.EditSir, longitude: f.EditDolg,
  };
}

// ---- errors beside the fields ----

function clearErrors(lines) {
  for (const p of document.querySelectorAll('.err')) {
    if (!lines || lines.includes(p.dataset.for)) p.textContent = '';
  }
  for (const input of document.querySelectorAll('[aria-invalid]')) {
    if (!lines || lines.includes(ERROR_LINE[input.id] || input.id)) input.removeAttribute('aria-invalid');
  }
}

function showError(line, field, error) {
  const p = document.querySelector(`.err[data-for="${line}"]`);
  p.textContent = error instanceof Error ? error.message : String(error);
  if (field && $(field) && $(field).tagName === 'INPUT' && $(field).type !== 'radio') {
    $(field).setAttribute('aria-invalid', 'true');
  }
}

// ---- the three views ----

function today() {
  const d = new Date();
  const two = (n) => String(n).padStart(2, '0');
  return `${d.getFullYear()}-${two(d.getMonth() + 1)}-${two(d.getDate())}`;
}

const VIEWS = {
  sun() {
    const t = core.sun(fields());
    tables.sun = t;
    $('LabelLocator').textContent = t.locator || '';
    renderGrid($('StringGridVos'), t.cells);
  },
  sat() {
    const t = core.sat(fields(), today());
    const d = t.declination;
    tables.sat = t;
    tables.satNote = d && d.usable && $('CheckBoxMagAz').checked ? d.note || '' : '';
    $('LabelMag').textContent = d ? [d.line, d.warning].filter(Boolean).join('\n') : '';
    // Where a compass is no use the box can still be cleared, never set.
    $('CheckBoxMagAz').disabled = !(d && d.usable) && !$('CheckBoxMagAz').checked;
    renderGrid($('StringGridSat'), t.cells);
    nameSatCells(t);
  },
  out() {
    const t = core.outage(fields());
    tables.out = t;
    const slot = t.slots[0];
    $('LabelSlotName').textContent = core.slotName(ini.names, fields().ESlot);
    $('LabelOutInfo').textContent = slot ? slot.info : '';
    $('LabelOutNote').textContent = (slot && slot.note) || t.note || '';
    // No outage, or a slot under the horizon: the note instead of an empty table, as on the desktop.
    renderGrid($('StringGridOut'), slot && slot.cells.length > 1 ? slot.cells : []);
  },
};

const VIEW_TABLE = {
  sun: 'StringGridVos', sat: 'StringGridSat', out: 'StringGridOut', sky: 'SkyView', year: 'YearView', aim: 'AimNumbers',
};

// ---- the slots' names ----

// As the desktop's tooltip: every cell of a named slot carries its names.
function nameSatCells(t) {
  const names = core.slotNamesAt(ini.names, t.slots.map((s) => s.position));
  const rows = $('StringGridSat').rows;
  t.slots.forEach((s, i) => {
    if (!names[i] || !rows[s.row]) return;
    for (let c = s.column; c < s.column + 4; ++c) if (rows[s.row].cells[c]) rows[s.row].cells[c].title = names[i];
  });
}

// The desktop's "Название…": the name of a position asked for, kept in the file's "Names".
function nameSlot(position, text) {
  const typed = window.prompt(`Название позиции ${text}:`, core.slotName(ini.names, text));
  if (typed === null) return;
  clearErrors([view]);
  try {
    ini.names = core.setSlotName(ini.names, position, typed);
  } catch (e) {
    showError(view, null, e);
    return;
  }
  save();
  for (const name of ['sat', 'out', 'sky', 'aim']) stale[name] = true;
  run(view, 'view');
}

// The slot a cell of the satellite table belongs to, named on a long press or a right click.
function nameSatCell(e) {
  const td = e.target.closest('td');
  const t = tables.sat;
  if (!td || td.classList.contains('sep') || !t) return;
  const row = td.parentElement.rowIndex;
  const slot = t.slots.find((s) => s.row === row && td.cellIndex >= s.column && td.cellIndex < s.column + 4);
  if (!slot) return;
  e.preventDefault();
  const named = core.namedPosition(ini.names, slot.position);
  nameSlot(named.position, named.text);
}

// Recomputes the view in front; the others follow when they are opened. `cause` names the
// field whose change asked for it, so that a message stands beside that field.
function compute(cause) {
  for (const name of VIEW_NAMES) stale[name] = true;
  if (ini.places.length === 0 && !adding) return;
  run(view, cause);
}

function run(name, cause) {
  stale[name] = false;
  let line = ERROR_LINE[cause] || (cause === 'place' ? 'EditSir' : name);
  // A field of another view (the slot is shared): its message comes in this view.
  if (document.querySelector(`.err[data-for="${line}"]`).closest('section[hidden]')) line = name;
  // A table computed or refused speaks for every field it reads: older messages there go.
  clearErrors([name, ...READS[name].map((id) => ERROR_LINE[id]).filter(Boolean)]);
  try {
    VIEWS[name]();
  } catch (e) {
    $(VIEW_TABLE[name]).classList.add('stale');
    showError(line, cause, e);
  }
}

function openView(name) {
  view = name;
  for (const b of document.querySelectorAll('#tabs button')) {
    b.setAttribute('aria-selected', String(b.dataset.view === name));
  }
  for (const [v, id] of Object.entries(SECTIONS)) $(id).hidden = name !== v;
  // As on the desktop: the date and zone panel stays for the views that read it.
  $('GroupBox1').hidden = name === 'sat';
  for (const el of document.querySelectorAll('[data-sun]')) el.hidden = !(el.dataset.views || 'sun').split(' ').includes(name);
  showButtons(name);
  saveView();
  if (stale[name]) run(name, 'view');
}

// ---- places ----

function showPlaces() {
  const select = $('ComboBoxPunkt');
  select.replaceChildren(...ini.places.map((p, i) => new Option(p.name, String(i))));
  if (ini.places.length > 0) {
    ini.selected = Math.min(Math.max(ini.selected, 0), ini.places.length - 1);
    select.value = String(ini.selected);
    $('EditSir').value = ini.places[ini.selected].lat;
    $('EditDolg').value = ini.places[ini.selected].lon;
  }
  $('ButtonDelete').disabled = ini.places.length === 0;
  // While a place is entered its button is the way back (the desktop has none; a phone needs one).
  $('ButtonDelete').hidden = adding;
  $('ButtonCancel').hidden = !adding || ini.places.length === 0;
}

function choosePlace() {
  ini.selected = Number($('ComboBoxPunkt').value);
  showPlaces();
  save();
  compute('place');
}

function startAdding(name = '', lat = '', lon = '') {
  adding = true;
  $('ButtonNew').textContent = 'Готово';
  $('ComboBoxPunkt').hidden = true;
  $('EditPunkt').hidden = false;
  $('LabelLocator').textContent = '';  // the chosen place's, not the new one's
  showPlaces();
  $('EditPunkt').value = name;
  $('EditSir').value = lat;
  $('EditDolg').value = lon;
  for (const id of ['EditSir', 'EditDolg']) $(id).placeholder = '???';
  $('EditPunkt').focus();
}

function stopAdding() {
  adding = false;
  $('ButtonNew').textContent = 'Добавить';
  $('ComboBoxPunkt').hidden = false;
  $('EditPunkt').hidden = true;
  for (const id of ['EditSir', 'EditDolg']) $(id).placeholder = '';
  clearErrors(['EditPunkt', 'EditSir']);
  showPlaces();
}

// The module decides what a name and a locator may be. A place whose coordinates the tables
// refuse is not stored (the desktop keeps it and fails later): the message comes now, beside
// the field, while the texts are still there to mend.
function finishAdding() {
  clearErrors(['EditPunkt', 'EditSir']);
  const [name, lat, lon] = [$('EditPunkt').value, $('EditSir').value, $('EditDolg').value];
  const added = core.addPlace(ini.places, name, lat, lon);
  const check = (la, lo) => {
    try {
      core.sun({ ...fields(), EditSir: la, EditDolg: lo });
      return null;
    } catch (e) {
      return e;
    }
  };
  if (!added.ok) {
    const bad = check(lat, lon);
    const beside = bad && bad.message === added.message ? 'EditSir' : 'EditPunkt';
    showError(beside, beside, added.message);
    return;
  }
  const bad = check(added.lat, added.lon);
  if (bad) {
    showError('EditSir', 'EditSir', bad);
    return;
  }
  stopAdding();
  takePlaces(added);
}

// The module's new list and choice, shown, stored and computed.
function takePlaces(result) {
  ini.places = result.places;
  ini.selected = result.selected;
  showPlaces();
  save();
  compute('place');
}

function deletePlace() {
  if (!ini.places[ini.selected] || !window.confirm(core.deleteQuestion(ini.places, ini.selected))) return;
  const gone = ini.places[ini.selected].name;
  const done = core.deletePlace(ini.places, ini.selected);
  if (!done.ok) {
    window.alert(done.message);
    return;
  }
  if (!done.places.some((p) => p.name === gone)) delete ini.horizons[gone];  // its horizon goes with it
  takePlaces(done);
}

// The device's position as a new place, named by its locator; the zone follows the device.
function addHere() {
  clearErrors(['EditPunkt', 'EditSir']);
  if (!navigator.geolocation) {
    showError('EditPunkt', null, 'Местоположение недоступно');
    return;
  }
  navigator.geolocation.getCurrentPosition(
    (pos) => {
      const lat = pos.coords.latitude.toFixed(4);
      const lon = pos.coords.longitude.toFixed(4);
      let name = 'Здесь';
      try {
        name += ' ' + core.locator(lat, lon);
      } catch {
        // a name without its locator is still a name
      }
      $('EditGMT').value = String(-new Date().getTimezoneOffset() / 60);
      $('RadioButtonGMT').checked = true;
      startAdding(name, lat, lon);
    },
    () => showError('EditPunkt', null, 'Местоположение недоступно'),
    { enableHighAccuracy: true, timeout: 20000, maximumAge: 60000 },
  );
}

// ---- the settings file ----

let saveTimer = 0;

function save() {
  clearTimeout(saveTimer);
  saveTimer = setTimeout(flush, 200);
}

function flush() {
  clearTimeout(saveTimer);
  saveTimer = 0;
  clearErrors(['FileIni']);
  try {
    ini.form = formFromFields();
    file = core.writeIni(ini, file);
    store.saveIni(file);
  } catch (e) {
    showError('FileIni', null, e);
  }
}

function loadFile(bytes) {
  const read = core.readIni(bytes);  // throws the module's message before anything changes
  file = bytes;
  ini = { places: read.places, selected: read.selected, form: read.form, horizons: read.horizons || {}, names: read.names || {} };
  // Names equal but for case share one line of the file: said, as the desktop says it.
  $('LabelFileNote').textContent = read.caseTwins || '';
  if (adding) stopAdding();
  formDefaults(ini.form);
  showPlaces();
  if (ini.places.length === 0) startAdding();
}

async function importFile(input) {
  clearErrors(['FileIni']);
  const chosen = input.files && input.files[0];
  input.value = '';
  if (!chosen) return;
  try {
    loadFile(new Uint8Array(await chosen.arrayBuffer()));
    store.saveIni(file);
  } catch (e) {
    showError('FileIni', null, e);
    return;
  }
  compute('place');
}

function exportFile() {
  if (saveTimer) flush();
  const url = URL.createObjectURL(new Blob([file], { type: 'application/octet-stream' }));
  const a = document.createElement('a');
  a.href = url;
  a.download = 'kelmar.INI';
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

function saveView() {
  store.saveView({ view, year: $('EditYear').value, month: $('SelectMonth').value });
}

// ---- wiring ----

function stepYear(delta) {
  const y = Number($('EditYear').value);
  if (!Number.isInteger(y)) return;
  $('EditYear').value = String(Math.min(YEARS.max, Math.max(YEARS.min, y + delta)));
  onChange('EditYear');
}

function stepMonth(delta) {
  const select = $('SelectMonth');
  const m = Number(select.value) + delta;
  if (m < 1 || m > 12) return;
  select.value = String(m);
  onChange('SelectMonth');
}

// The year is the desktop's scroll bar: a whole number from 1800 to 2200, nothing else.
let lastYear = '';
function keepYear() {
  const text = $('EditYear').value.trim();
  const y = /^\d{1,4}$/.test(text) ? Number(text) : NaN;
  $('EditYear').value = Number.isNaN(y) ? lastYear : String(Math.min(YEARS.max, Math.max(YEARS.min, y)));
  lastYear = $('EditYear').value;
}

function onChange(id) {
  if (id === 'EditYear') keepYear();
  if (id === 'EditYear' || id === 'SelectMonth') {
    saveView();
    pictures.monthChanged();
  } else if (!adding && id !== 'EditSir' && id !== 'EditDolg') save();
  if (adding && (id === 'EditSir' || id === 'EditDolg')) return;
  for (const name of Object.keys(READS)) if (READS[name].includes(id)) stale[name] = true;
  if (stale[view]) run(view, id);
}

function wire() {
  for (const id of TEXT_FIELDS.concat('EditYear', 'EditPunkt')) {
    const input = $(id);
    // The desktop's comma rule: the first "," becomes "." when the field is left.
    input.addEventListener('blur', () => {
      if (input.value.includes(',')) input.value = input.value.replace(',', '.');
    });
    input.addEventListener('keydown', (e) => {
      if (e.key === 'Enter') input.blur();
    });
  }
  for (const id of TEXT_FIELDS.concat('EditYear', 'SelectMonth', 'CheckBoxSec', 'CheckBoxMagAz', 'RadioButtonGMT',
    'RadioButtonMSK', 'RadioButtonUgol', 'RadioButtonVys')) {
    $(id).addEventListener('change', () => {
      const input = $(id);
      if (input.value.includes(',') && input.tagName === 'INPUT' && input.type === 'text') {
        input.value = input.value.replace(',', '.');
      }
      onChange(id);
    });
  }
  $('ComboBoxPunkt').addEventListener('change', choosePlace);
  $('StringGridSat').addEventListener('contextmenu', nameSatCell);
  // The pointing view's slot is the outage tab's.
  $('EAimSlot').addEventListener('change', () => {
    $('ESlot').value = $('EAimSlot').value;
    onChange('ESlot');
  });
  $('EAimSlot').addEventListener('keydown', (e) => e.key === 'Enter' && e.target.blur());
  // As the desktop's double click: a slot of the pointing table opens its outages.
  $('StringGridSat').addEventListener('click', (e) => {
    const td = e.target.closest('td');
    if (!td || td.classList.contains('sep')) return;
    const header = $('StringGridSat').rows[0].cells[td.cellIndex];
    if (!header || header.textContent !== 'Спутник') return;
    $('ESlot').value = td.textContent;
    onChange('ESlot');
    openView('out');
  });
  $('ButtonNew').addEventListener('click', () => (adding ? finishAdding() : startAdding()));
  $('ButtonDelete').addEventListener('click', deletePlace);
  $('ButtonCancel').addEventListener('click', () => {
    stopAdding();
    compute('place');
  });
  $('ButtonHere').addEventListener('click', addHere);
  $('FileIni').addEventListener('change', (e) => importFile(e.target));
  $('ButtonSaveIni').addEventListener('click', exportFile);
  $('YearDown').addEventListener('click', () => stepYear(-1));
  $('YearUp').addEventListener('click', () => stepYear(1));
  $('MonthDown').addEventListener('click', () => stepMonth(-1));
  $('MonthUp').addEventListener('click', () => stepMonth(1));
  for (const b of document.querySelectorAll('#tabs button')) b.addEventListener('click', () => openView(b.dataset.view));
  window.addEventListener('pagehide', () => saveTimer && flush());
  document.addEventListener('visibilitychange', () => document.hidden && saveTimer && flush());
}

async function starterFile() {
  try {
    const r = await fetch('kelmar.INI');
    if (r.ok) return new Uint8Array(await r.arrayBuffer());
  } catch {
    // no starter places: the page starts with an empty list
  }
  return new Uint8Array(0);
}

async function main() {
  const select = $('SelectMonth');
  select.replaceChildren(...MONTHS.map((m, i) => new Option(m, String(i + 1))));
  const saved = store.loadView();
  const now = new Date();
  $('EditYear').value = saved.year || String(now.getFullYear());
  lastYear = String(now.getFullYear());
  keepYear();
  select.value = saved.month || String(now.getMonth() + 1);
  try {
    core = await openCore();
  } catch (e) {
    $('boot').textContent = e instanceof Error ? e.message : String(e);
    return;
  }
  pictures = pictureViews({
    core, fields, today, tables, showError, clearErrors, save, view: () => view, run: (name) => run(name, name),
    place: () => (!adding && ini.places[ini.selected] ? ini.places[ini.selected].name : ''),
    horizons: () => ini.horizons,
    names: () => ini.names,
    zoneOf: (f) => ({ kind: f.zone, text: f.zone === 'gmt' ? f.EditGMT : f.EditMSK }),
    twilightOf: (f) => ({ kind: f.twilight, text: f.twilight === 'angle' ? f.EditUg : f.EditKm }),
  });
  const aim = aimView({
    core, fields, today, zoneOf: (f) => ({ kind: f.zone, text: f.zone === 'gmt' ? f.EditGMT : f.EditMSK }),
    horizon: () => (!adding && ini.places[ini.selected] ? ini.horizons[ini.places[ini.selected].name] || '' : ''),
    names: () => ini.names, nameSlot,
  });
  Object.assign(VIEWS, { sky: pictures.sky, year: pictures.year, aim: aim.show });
  $('version').textContent = `(v. ${core.version})`;
  $('LabelVersion').textContent = `Kelmar ${core.version}`;
  const stored = store.loadIni();
  try {
    loadFile(stored || (await starterFile()));
  } catch (e) {
    showError('FileIni', null, e);
    loadFile(new Uint8Array(0));
  }
  wire();
  store.askPersistence();
  pictures.monthChanged();
  pictures.wire();
  aim.wire();
  openView(VIEW_NAMES.includes(saved.view) ? saved.view : 'sun');
  document.body.dataset.ready = '1';
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
}

main();
