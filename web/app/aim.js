// The "Наведение" view: one slot's numbers to aim at, today's moments when the Sun stands on
// its azimuth or opposite it, and the phone's compass heading against the compass azimuth.
// Every number, every turn and its words are the module's; the page only listens and lays out.
import * as store from './store.js';

const $ = (id) => document.getElementById(id);
const WARNED = 'kelmar.compassWarned';
const HOW = {
  sun: 'Встаньте лицом к Солнцу в это время: вы смотрите на спутник.',
  shadow: 'В это время тень вертикального шеста указывает на спутник.',
};
const WORD = { sun: 'По Солнцу', shadow: 'По тени' };
// How long the view waits for a first reading before it says the phone has no compass.
const SILENCE_MS = 2500;

// app: {core, fields(), today(), horizon() -> the place's horizon text, names() -> {"36 E": name},
//       nameSlot(position, text) -> asks for and keeps a name}
export function aimView(app) {
  let target = null;  // the compass azimuth in degrees, null where there is none
  let listening = false;
  let heard = false;

  function showAlign(f, seen) {
    const list = $('AimAlign');
    const a = app.core.alignment({
      lat: f.EditSir, lon: f.EditDolg, slot: f.ESlot, date: app.today(), zone: app.zoneOf(f), horizon: app.horizon(),
    });
    const events = a.days[0].events;
    list.replaceChildren(...['sun', 'shadow'].map((kind) => {
      const li = document.createElement('li');
      li.dataset.kind = kind;
      const mine = events.filter((e) => e.kind === kind);
      const b = document.createElement('b');
      b.textContent = `${WORD[kind]}: ${mine.length > 0 ? mine.map((e) => e.text).join(', ') : 'нет'}`;
      li.append(b);
      // How to use it only when the Sun and the satellite are there to be seen.
      if (seen && mine.some((e) => e.aboveHorizon && e.aboveMask)) li.append(document.createElement('br'), HOW[kind]);
      return li;
    }));
  }

  // What an error leaves: the slot, no numbers, no compass.
  function clear() {
    target = null;
    $('AimCompassBox').hidden = true;
    for (const id of ['LabelAimName', 'AimAzimuth', 'AimCompass', 'AimElevation', 'AimSkew', 'LabelAimMag', 'LabelAimNote']) {
      $(id).textContent = '';
    }
    $('AimAlign').replaceChildren();
  }

  // A number's cell with its degree sign; "---", "зенит" and "+" as they are.
  const deg = (value, cell) => (value === null || !/\d$/.test(cell) ? cell : `${cell}°`);

  function show() {
    const f = app.fields();
    $('EAimSlot').value = f.ESlot;
    clear();
    const p = app.core.pointing({ lat: f.EditSir, lon: f.EditDolg, slot: f.ESlot, date: app.today() });
    $('LabelAimName').textContent = app.core.slotName(app.names(), p.slot);
    $('ButtonAimName').dataset.position = String(p.position);
    $('ButtonAimName').dataset.slot = p.slot;
    $('AimAzimuth').textContent = deg(p.azimuth, p.cells.azimuth);
    $('AimCompass').textContent = p.compassAzimuth === null ? '—' : deg(p.compassAzimuth, p.cells.compass);
    $('AimElevation').textContent = deg(p.elevation, p.cells.elevation);
    $('AimSkew').textContent = deg(p.correction, p.cells.correction);
    const d = p.declination;
    $('LabelAimMag').textContent = d ? [d.line, d.warning].filter(Boolean).join('\n') : '';
    $('LabelAimNote').textContent = p.note || (p.azimuth === null ? 'Азимута нет: наведение по компасу невозможно' : '');
    target = p.belowHorizon ? null : p.compassAzimuth;
    $('AimCompassBox').hidden = target === null;
    showAlign(f, !p.belowHorizon);
    showWarning();
    if (target !== null) listen(false);
    $('AimDial').classList.add('off');
    $('AimWords').textContent = '';
  }

  function showWarning() {
    const warned = store.loadFlag(WARNED);
    $('AimWarning').hidden = warned;
    $('AimWarningShort').hidden = !warned;
  }

  // One reading of the sensor: the module turns it into the heading and the words.
  function reading(args) {
    if (target === null || $('ViewAim').hidden) return;
    let r;
    try {
      r = app.core.aim({ ...args, target });
    } catch {
      return;
    }
    if (r.heading === null) return;
    heard = true;
    $('AimSilent').hidden = true;
    const dial = $('AimDial');
    dial.removeAttribute('hidden');  // an SVG element has no hidden property
    if (!r.flat) {
      dial.classList.add('off');
      dial.dataset.side = '';
      $('AimWords').textContent = 'Положите телефон горизонтально';
      $('AimHeading').textContent = '';
      return;
    }
    dial.classList.remove('off');
    dial.dataset.side = r.side;
    $('AimArrow').setAttribute('transform', `rotate(${r.turn})`);
    $('AimWords').textContent = r.words;
    $('AimHeading').textContent = `Телефон ${r.headingText}, цель ${$('AimCompass').textContent}`;
  }

  const onAbsolute = (e) => reading({ alpha: e.alpha, beta: e.beta, gamma: e.gamma });
  // iOS gives its own compass heading; a browser without a relative sensor marks its plain
  // event absolute. Any other alpha counts from wherever the phone was: no use here.
  const onPlain = (e) => {
    if (typeof e.webkitCompassHeading === 'number') reading({ heading: e.webkitCompassHeading, beta: e.beta, gamma: e.gamma });
    else if (e.absolute === true) onAbsolute(e);
  };

  const needsTap = () => typeof DeviceOrientationEvent !== 'undefined' && typeof DeviceOrientationEvent.requestPermission === 'function';

  // Without a permission to ask (Android, desktop) the view listens as soon as it opens; iOS
  // asks from the button's tap.
  function listen(fromTap) {
    if (listening || (needsTap() && !fromTap)) {
      $('ButtonCompass').hidden = listening || !needsTap();
      return;
    }
    listening = true;
    $('ButtonCompass').hidden = true;
    window.addEventListener('deviceorientationabsolute', onAbsolute);
    window.addEventListener('deviceorientation', onPlain);
    setTimeout(() => {
      if (!heard) $('AimSilent').hidden = false;
    }, SILENCE_MS);
  }

  async function askCompass() {
    try {
      if ((await DeviceOrientationEvent.requestPermission()) !== 'granted') throw new Error('denied');
    } catch {
      $('AimSilent').hidden = false;
      return;
    }
    listen(true);
  }

  function wire() {
    $('ButtonCompass').addEventListener('click', askCompass);
    $('ButtonAimUnderstood').addEventListener('click', () => {
      store.saveFlag(WARNED);
      showWarning();
    });
    $('ButtonAimName').addEventListener('click', (e) => app.nameSlot(Number(e.target.dataset.position), e.target.dataset.slot));
  }

  return { show, wire };
}
