// The sky view and the year chart drawn as SVG from the module's scenes. Every position comes
// from the scene; what is the page's own is only where a degree or an hour lands in pixels,
// and which labels are left out where they would overlap.
const NS = 'http://www.w3.org/2000/svg';
const FONT = "'DejaVu Sans', 'Noto Sans', Arial, sans-serif";
const C = {
  sky: 'rgb(226,238,250)', ground: 'rgb(222,212,192)', mask: 'rgba(112,100,88,0.84)', grid: 'rgb(150,165,180)',
  text: 'rgb(40,40,40)', sun: 'rgb(225,110,0)', solstice: 'rgb(215,150,50)', slot: 'rgb(25,65,165)',
  hidden: 'rgb(130,130,130)', ring: 'rgb(210,30,30)', night: 'rgb(38,48,84)', twilight: 'rgb(118,140,190)',
  day: 'rgb(250,228,150)', rise: 'rgb(220,90,20)', set: 'rgb(150,40,120)', noon: 'rgb(200,150,0)',
  yearGrid: 'rgb(120,120,120)', mark: 'rgb(230,40,40)',
};
const EL_MIN = -10;
const EL_MAX = 90;
const MONTHS = ['янв', 'фев', 'мар', 'апр', 'май', 'июн', 'июл', 'авг', 'сен', 'окт', 'ноя', 'дек'];

function node(parent, tag, attrs = {}, text) {
  const e = document.createElementNS(NS, tag);
  for (const [k, v] of Object.entries(attrs)) if (v !== undefined && v !== null) e.setAttribute(k, String(v));
  if (text !== undefined) e.textContent = text;
  if (parent) parent.appendChild(e);
  return e;
}

const r1 = (v) => Math.round(v * 10) / 10;
const points = (xy) => xy.map(([x, y]) => `${r1(x)},${r1(y)}`).join(' ');
// A text's width, estimated well enough to keep labels apart.
const textWidth = (text, px) => text.length * px * 0.6;

// Keeps a label only where it does not touch one already kept.
function thinner() {
  const kept = [];
  return (x, y, w, h) => {
    const box = { x0: x - w / 2 - 2, x1: x + w / 2 + 2, y0: y - h / 2, y1: y + h / 2 };
    if (kept.some((b) => box.x0 < b.x1 && b.x0 < box.x1 && box.y0 < b.y1 && b.y0 < box.y1)) return false;
    kept.push(box);
    return true;
  };
}

// "hh:mm" as the sun table rounds a time; 24:00 at the day's very end.
export function timeText(hours) {
  if (hours >= 23.99) return '24:00';
  const minutes = Math.floor((hours + 0.5 / 60) * 60);
  return `${String(Math.floor(minutes / 60)).padStart(2, '0')}:${String(minutes % 60).padStart(2, '0')}`;
}

// The plot inside a picture: room for the labels around it. A narrow picture gets a second
// title line and the year chart's legend under the months.
function plotArea(width, height, narrow) {
  const top = narrow ? 46 : 30;
  const bottom = narrow ? 62 : 40;
  return { left: 44, top, width: width - 44 - 16, height: height - top - bottom, narrow };
}

export function skyFrame(width, height, southern) {
  const f = plotArea(width, height, width < 640);
  const centre = southern ? 0 : 180;
  f.X = (az) => {
    let turn = (az - centre + 180) % 360;
    if (turn < 0) turn += 360;
    return f.left + (turn / 360) * f.width;
  };
  f.Y = (el) => f.top + ((EL_MAX - el) / (EL_MAX - EL_MIN)) * f.height;
  return f;
}

// The obstruction's elevation at an azimuth, from the scene's points: linear between
// neighbours, the higher side on a vertical edge, nothing outside the arc they cover.
export function maskAt(horizon, az) {
  if (horizon.length === 0) return 0;
  const first = horizon[0].az;
  let q = (az - first) % 360;
  if (q < 0) q += 360;
  let best = 0;
  for (const a of [first + q, first + q + 360]) {
    for (let i = 0; i < horizon.length; ++i) {
      const p = horizon[i];
      const n = horizon[i + 1];
      if (a === p.az) best = Math.max(best, p.el);
      if (n && a > p.az && a < n.az) best = Math.max(best, p.el + ((n.el - p.el) * (a - p.az)) / (n.az - p.az));
    }
  }
  return best;
}

function svgRoot(width, height, label) {
  const svg = node(null, 'svg', {
    xmlns: NS, width, height, viewBox: `0 0 ${width} ${height}`, role: 'img', 'aria-label': label,
    'font-family': FONT,
  });
  node(svg, 'rect', { width, height, fill: '#fff' });
  return svg;
}

// A path in runs of one look: parts hidden by the ground or the mask dimmed, a run broken
// where the path leaves one edge of the picture and comes in at the other.
function sunPath(g, f, scene, path, attrs) {
  let run = [];
  let hidden = false;
  const flush = () => {
    if (run.length > 1) node(g, 'polyline', { ...attrs, points: points(run), fill: 'none', 'stroke-opacity': hidden ? 0.27 : 1 });
    run = [];
  };
  for (const pt of path) {
    const h = pt.el < 0 || pt.el <= maskAt(scene.horizon, pt.az);
    const xy = [f.X(pt.az), f.Y(pt.el)];
    if (run.length > 0) {
      const wrapped = Math.abs(xy[0] - run[run.length - 1][0]) > f.width / 2;
      if (h !== hidden || wrapped) {
        if (!wrapped) run.push(xy);
        flush();
      }
    }
    hidden = h;
    run.push(xy);
  }
  flush();
}

export function drawSky(scene, width, height, title) {
  const f = skyFrame(width, height, scene.southern);
  const svg = svgRoot(width, height, 'Небо');
  const y0 = f.Y(0);
  node(svg, 'rect', { x: f.left, y: f.top, width: f.width, height: y0 - f.top, fill: C.sky });
  node(svg, 'rect', { x: f.left, y: y0, width: f.width, height: f.top + f.height - y0, fill: C.ground });
  const grid = node(svg, 'g', { 'font-size': 11, fill: C.text });
  const rowStep = f.height / 10 < 14 ? 20 : 10;
  for (let el = EL_MIN; el <= EL_MAX; el += 10) {
    node(grid, 'line', { x1: f.left, x2: f.left + f.width, y1: r1(f.Y(el)), y2: r1(f.Y(el)), stroke: C.grid, 'stroke-width': el === 0 ? 1.5 : 0.6 });
    if (el % rowStep === 0) node(grid, 'text', { x: f.left - 4, y: r1(f.Y(el) + 4), 'text-anchor': 'end' }, `${el}°`);
  }
  // Degrees every 30° where there is room for them, else every 90°.
  const colStep = (f.width / 12) < textWidth('330°', 11) + 6 ? 90 : 30;
  for (let az = 0; az < 360; az += 30) {
    const x = r1(f.X(az));
    node(grid, 'line', { x1: x, x2: x, y1: f.top, y2: f.top + f.height, stroke: C.grid, 'stroke-width': 0.6 });
    if (az % colStep === 0) node(grid, 'text', { x, y: f.top + f.height + 13, 'text-anchor': 'middle' }, `${az}°`);
    if (az % 90 === 0) {
      node(grid, 'text', { x, y: f.top + f.height + 30, 'text-anchor': 'middle', 'font-size': 14, 'font-weight': 'bold' },
        ['С', 'В', 'Ю', 'З'][az / 90]);
    }
  }

  node(node(svg, 'clipPath', { id: 'plot' }), 'rect', { x: f.left, y: f.top, width: f.width, height: f.height });
  const plot = node(svg, 'g', { 'clip-path': 'url(#plot)' });
  const dashed = { stroke: C.solstice, 'stroke-width': 1.2, 'stroke-dasharray': '5 3' };
  sunPath(plot, f, scene, scene.june.path, dashed);
  sunPath(plot, f, scene, scene.december.path, dashed);
  sunPath(plot, f, scene, scene.day.path, { stroke: C.sun, 'stroke-width': 2.5, class: 'sun-path' });
  if (scene.horizon.length > 0) {
    const shape = [[f.left, y0]];
    for (let i = 0; i <= 1440; ++i) {
      const x = f.left + (f.width * i) / 1440;
      const az = ((x - f.left) / f.width) * 360 + (scene.southern ? 0 : 180) - 180;
      shape.push([x, f.Y(maskAt(scene.horizon, ((az % 360) + 360) % 360))]);
    }
    shape.push([f.left + f.width, y0]);
    node(plot, 'polygon', { points: points(shape), fill: C.mask, class: 'mask' });
  }

  const fits = thinner();
  const marks = node(plot, 'g', { class: 'arc', 'font-size': 11, 'text-anchor': 'middle' });
  scene.arc.forEach((slot, i) => {
    if (slot.az === null || Number.isNaN(slot.az) || slot.el < EL_MIN) return;
    const [x, y] = [f.X(slot.az), f.Y(slot.el)];
    const color = slot.visible ? C.slot : C.hidden;
    node(marks, 'circle', { cx: r1(x), cy: r1(y), r: 2.5, fill: slot.visible ? color : 'none', stroke: color, 'data-slot': i });
    if (parseInt(slot.label, 10) % 10 === 0 && fits(x, y - 10, textWidth(slot.label, 11), 12)) {
      node(marks, 'text', { x: r1(x), y: r1(y - 9), fill: color }, slot.label);
    }
    const name = scene.names && scene.names[i];
    if (name && fits(x, y + 12, textWidth(name, 11), 12)) node(marks, 'text', { x: r1(x), y: r1(y + 15), fill: color, class: 'name' }, name);
    if (i === scene.highlighted) node(marks, 'circle', { cx: r1(x), cy: r1(y), r: 7, fill: 'none', stroke: C.ring, 'stroke-width': 2, class: 'ring' });
  });

  const sun = node(plot, 'g', { 'font-size': 11, 'text-anchor': 'middle' });
  const event = (pt, word) => {
    const x = f.X(pt.az);
    node(sun, 'polygon', { points: points([[x, y0], [x - 5, y0 + 9], [x + 5, y0 + 9]]), fill: C.sun, stroke: C.sun });
    const text = `${word} ${timeText(pt.hours)}`;
    if (fits(x, y0 + 20, textWidth(text, 11), 12)) node(sun, 'text', { x: r1(x), y: r1(y0 + 22), fill: C.text }, text);
  };
  for (const pt of scene.day.rises) event(pt, 'восход');
  for (const pt of scene.day.sets) event(pt, 'заход');
  const path = scene.day.path;
  for (let i = 0; i + 1 < path.length; i += 12) {  // whole hours: the path has a point every 5 minutes
    const pt = path[i];
    if (pt.el < 0) continue;
    const [x, y] = [f.X(pt.az), f.Y(pt.el)];
    node(sun, 'circle', { cx: r1(x), cy: r1(y), r: 2, fill: C.sun });
    if (fits(x, y + 9, textWidth(String(i / 12), 11), 11)) node(sun, 'text', { x: r1(x), y: r1(y + 13), fill: C.text }, String(i / 12));
  }
  if (scene.now) {
    node(sun, 'circle', { cx: r1(f.X(scene.now.az)), cy: r1(f.Y(scene.now.el)), r: 7, fill: 'rgb(255,215,0)', stroke: C.sun, 'stroke-width': 2 });
  }

  const plotted = scene.arc.filter((s) => (s.az !== null && !Number.isNaN(s.az)) || s.el === 90).length;
  const count = plotted === 0 ? 'Спутники не видны у полюса'
    : `Видно позиций: ${scene.arc.filter((s) => s.visible).length} из ${scene.arc.length}`;
  node(svg, 'text', { x: f.left, y: 20, 'font-size': 13, 'font-weight': 'bold', fill: C.text }, title);
  node(svg, 'text', f.narrow ? { x: f.left, y: 38, 'font-size': 12, fill: C.text }
    : { x: f.left + f.width, y: 20, 'font-size': 12, fill: C.text, 'text-anchor': 'end' }, count);
  return svg;
}

// What lies under a point of the sky view: the nearest slot's mark, else a time on one of the
// Sun's paths; `reach` is how far a finger or a pointer may miss.
export function skyReadout(scene, width, height, x, y, reach = 6) {
  const f = skyFrame(width, height, scene.southern);
  const dist = (az, el) => Math.hypot(f.X(az) - x, f.Y(el) - y);
  let nearest = null;
  let best = reach;
  let nearestName = '';
  scene.arc.forEach((slot, i) => {
    if (slot.az === null || Number.isNaN(slot.az) || dist(slot.az, slot.el) > best) return;
    best = dist(slot.az, slot.el);
    nearest = slot;
    nearestName = scene.names && scene.names[i] ? `  ${scene.names[i]}` : '';
  });
  if (nearest) {
    return `${nearest.label}${nearestName}\nазимут ${nearest.azimuth}\nвысота ${nearest.elevation}\nпоправка ${nearest.correction}`;
  }
  for (const [day, name] of [[scene.day, 'Солнце'], [scene.june, '21 июня'], [scene.december, '21 декабря']]) {
    let hit = null;
    let near = reach;
    for (const pt of day.path) {
      if (pt.el < EL_MIN || dist(pt.az, pt.el) > near) continue;
      near = dist(pt.az, pt.el);
      hit = pt;
    }
    if (hit) return `${name} ${timeText(hit.hours)}`;
  }
  return '';
}

// The day's light in bands from 0 to 24 h: 0 night, 1 twilight, 2 day.
function bands(d) {
  const events = [
    ...d.rises.map((t) => [t, 'sun', true]), ...d.sets.map((t) => [t, 'sun', false]),
    ...d.dawns.map((t) => [t, 'light', true]), ...d.dusks.map((t) => [t, 'light', false]),
  ].sort((a, b) => a[0] - b[0]);
  const state = { sun: d.upAtMidnight, light: d.lightAtMidnight };
  const out = [];
  let from = 0;
  const look = () => (state.sun ? 2 : state.light ? 1 : 0);
  for (const [t, what, up] of events) {
    out.push([from, t, look()]);
    state[what] = up;
    from = t;
  }
  out.push([from, 24, look()]);
  return out;
}

function dayOfYear(year, month, day) {
  return Math.round((Date.UTC(year, month - 1, day) - Date.UTC(year, 0, 1)) / 86400000);
}

// year: the scene; month: the one to frame (0 for none); today: day of the year to mark or -1.
export function drawYear(scene, width, height, { title, month = 0, today = -1 }) {
  const n = scene.days.length;
  const f = plotArea(width, height, width < 640);
  const colW = f.width / n;
  const X = (day) => f.left + ((day + 0.5) / n) * f.width;
  const Y = (hours) => f.top + (hours / 24) * f.height;
  const svg = svgRoot(width, height, 'Год');
  const fills = [C.night, C.twilight, C.day];
  const columns = node(svg, 'g', { 'shape-rendering': 'crispEdges' });
  scene.days.forEach((d, i) => {
    const x = r1(f.left + i * colW);
    for (const [from, to, light] of bands(d)) {
      if (to > from) node(columns, 'rect', { x, y: r1(Y(from)), width: r1(colW + 0.5), height: r1(Y(to) - Y(from)), fill: fills[light] });
    }
  });
  const curve = (value, color, name) => {
    let run = [];
    const flush = () => {
      if (run.length > 1) node(svg, 'polyline', { points: points(run), fill: 'none', stroke: color, 'stroke-width': 2, class: name });
      run = [];
    };
    scene.days.forEach((d, i) => {
      const v = value(d);
      if (v === null) return flush();
      if (run.length > 0 && Math.abs(Y(v) - run[run.length - 1][1]) > f.height / 2) flush();
      run.push([X(i), Y(v)]);
      return undefined;
    });
    flush();
  };
  curve((d) => (d.rises.length ? d.rises[0] : null), C.rise, 'rise');
  curve((d) => (d.sets.length ? d.sets[d.sets.length - 1] : null), C.set, 'set');
  curve((d) => (d.noon > 0 ? d.noon : null), C.noon, 'noon');

  const labels = node(svg, 'g', { 'font-size': 11, fill: C.text });
  const hourStep = f.height / 12 < 14 ? 4 : 2;
  for (let h = 0; h <= 24; h += 2) {
    node(labels, 'line', { x1: f.left, x2: f.left + f.width, y1: r1(Y(h)), y2: r1(Y(h)), stroke: C.yearGrid, 'stroke-width': 0.5, 'stroke-dasharray': '1 2' });
    if (h % hourStep === 0) node(labels, 'text', { x: f.left - 4, y: r1(Y(h) + 4), 'text-anchor': 'end' }, `${String(h).padStart(2, '0')}:00`);
  }
  const monthFont = colW * 28 < textWidth('сен', 12) + 4 ? 9 : 12;
  for (let m = 1; m <= 12; ++m) {
    const x0 = f.left + dayOfYear(scene.year, m, 1) * colW;
    const x1 = x0 + new Date(Date.UTC(scene.year, m, 0)).getUTCDate() * colW;
    node(labels, 'line', { x1: r1(x0), x2: r1(x0), y1: f.top, y2: f.top + f.height, stroke: C.yearGrid, 'stroke-width': 0.5 });
    if (m === month) {
      node(labels, 'rect', { x: r1(x0), y: f.top, width: r1(x1 - x0), height: f.height, fill: 'rgba(255,255,255,0.18)', stroke: C.mark, 'stroke-width': 2, class: 'month' });
    }
    node(labels, 'text', { x: r1((x0 + x1) / 2), y: f.top + f.height + 14, 'text-anchor': 'middle', 'font-size': monthFont, 'font-weight': m === month ? 'bold' : null }, MONTHS[m - 1]);
  }
  if (today >= 0 && today < n) {
    node(labels, 'line', { x1: r1(X(today)), x2: r1(X(today)), y1: f.top, y2: f.top + f.height, stroke: C.mark, 'stroke-width': 1.5, 'stroke-dasharray': '5 3', class: 'today' });
  }

  node(svg, 'text', { x: f.left, y: 20, 'font-size': 13, 'font-weight': 'bold', fill: C.text }, title);
  const legend = [[C.day, 'день', false], [C.twilight, 'сумерки', false], [C.night, 'ночь', false],
    [C.rise, 'восход', true], [C.set, 'заход', true], [C.noon, 'полдень', true]];
  const widths = legend.map(([, word]) => textWidth(word, 11) + 24);
  const total = widths.reduce((a, b) => a + b, 0);
  // Beside the title when there is room, else under the month names, in two rows if need be.
  const beside = !f.narrow && f.width - total > textWidth(title, 13) + 12;
  const perRow = beside || total <= f.width ? legend.length : 3;
  legend.forEach(([color, word, line], i) => {
    const row = Math.floor(i / perRow);
    const first = row * perRow;
    const rowWidth = widths.slice(first, first + perRow).reduce((a, b) => a + b, 0);
    const x = f.left + f.width - rowWidth + widths.slice(first, i).reduce((a, b) => a + b, 0);
    const y = beside ? 4 : f.top + f.height + 18 + row * 18;
    if (line) node(svg, 'line', { x1: r1(x), x2: r1(x + 14), y1: y + 14, y2: y + 14, stroke: color, 'stroke-width': 2 });
    else node(svg, 'rect', { x: r1(x), y: y + 8, width: 14, height: 12, fill: color });
    node(svg, 'text', { x: r1(x + 17), y: y + 18, 'font-size': 11, fill: C.text }, word);
  });
  return svg;
}

// ---- downloads ----

function download(blob, name) {
  const url = URL.createObjectURL(blob);
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

export function saveSvg(svg, name) {
  const text = '<?xml version="1.0" encoding="UTF-8"?>\n' + new XMLSerializer().serializeToString(svg);
  download(new Blob([text], { type: 'image/svg+xml' }), name);
}

export async function savePng(svg, name) {
  const width = Number(svg.getAttribute('width'));
  const height = Number(svg.getAttribute('height'));
  const url = URL.createObjectURL(new Blob([new XMLSerializer().serializeToString(svg)], { type: 'image/svg+xml' }));
  try {
    const image = new Image();
    image.src = url;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    canvas.getContext('2d').drawImage(image, 0, 0);
    const blob = await new Promise((resolve) => canvas.toBlob(resolve, 'image/png'));
    download(blob, name);
  } finally {
    URL.revokeObjectURL(url);
  }
}

export { download };
