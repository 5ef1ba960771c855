// A table as the desktop's workbook: the template's sheet, headings and look, the table's texts
// from row 5, the desktop's file name; and the same table as CSV. The spreadsheet library and the
// templates are fetched on the first export only, and the service worker keeps them from then on.
const LIB = 'lib/exceljs.bare.min.js';
const TABLE = 'urn:oasis:names:tc:opendocument:xmlns:table:1.0';
const STYLE = 'urn:oasis:names:tc:opendocument:xmlns:style:1.0';
const FO = 'urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0';
export const NO_PLACE = 'Сначала выберите или добавьте пункт';
const MIME = 'application/vnd.openxmlformats-officedocument.spreadsheetml.sheet';

let library;
function loadLibrary() {
  library ||= new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = LIB;
    script.onload = () => resolve(window.ExcelJS);
    script.onerror = () => {
      library = null;
      script.remove();
      reject(new Error('Не удалось загрузить модуль таблиц'));
    };
    document.head.appendChild(script);
  });
  return library;
}

// The template as cells and looks: {sheet, columns: [cm], cells: Map("r,c" -> {text, style})}.
async function readTemplate(name) {
  const response = await fetch(`lib/${name}.fods`);
  if (!response.ok) throw new Error(`Не найден шаблон ${name}`);
  const doc = new DOMParser().parseFromString(await response.text(), 'application/xml');
  const styles = {};
  for (const s of doc.getElementsByTagNameNS(STYLE, 'style')) {
    const look = {};
    const prop = (local, attr, ns = FO) => s.getElementsByTagNameNS(STYLE, local)[0]?.getAttributeNS(ns, attr) || '';
    look.size = parseFloat(prop('text-properties', 'font-size')) || undefined;
    look.bold = prop('text-properties', 'font-weight') === 'bold';
    look.fill = prop('table-cell-properties', 'background-color');
    look.border = Boolean(prop('table-cell-properties', 'border'));
    look.center = prop('paragraph-properties', 'text-align') === 'center';
    look.width = parseFloat(prop('table-column-properties', 'column-width', STYLE)) || undefined;
    styles[s.getAttributeNS(STYLE, 'name')] = look;
  }
  const sheet = doc.getElementsByTagNameNS(TABLE, 'table')[0];
  const columns = [];
  for (const c of sheet.getElementsByTagNameNS(TABLE, 'table-column')) {
    const times = Number(c.getAttributeNS(TABLE, 'number-columns-repeated') || 1);
    for (let i = 0; i < times; ++i) columns.push(styles[c.getAttributeNS(TABLE, 'style-name')]?.width);
  }
  const cells = new Map();
  let r = 1;
  for (const row of sheet.getElementsByTagNameNS(TABLE, 'table-row')) {
    const rows = Number(row.getAttributeNS(TABLE, 'number-rows-repeated') || 1);
    for (let k = 0; k < rows; ++k, ++r) {
      let c = 1;
      for (const cell of row.getElementsByTagNameNS(TABLE, 'table-cell')) {
        const times = Number(cell.getAttributeNS(TABLE, 'number-columns-repeated') || 1);
        const style = styles[cell.getAttributeNS(TABLE, 'style-name')];
        for (let i = 0; i < times; ++i, ++c) {
          if (style || cell.textContent) cells.set(`${r},${c}`, { text: cell.textContent, style });
        }
      }
    }
  }
  return { sheet: sheet.getAttributeNS(TABLE, 'name'), columns, cells };
}

const BORDER = { style: 'thin', color: { argb: 'FF000000' } };
function applyLook(cell, look) {
  if (!look) return;
  cell.font = { name: 'DejaVu Sans', size: look.size || 9, bold: look.bold };
  if (look.fill) cell.fill = { type: 'pattern', pattern: 'solid', fgColor: { argb: `FF${look.fill.slice(1).toUpperCase()}` } };
  if (look.border) cell.border = { top: BORDER, left: BORDER, bottom: BORDER, right: BORDER };
  if (look.center) cell.alignment = { horizontal: 'center', vertical: 'middle' };
}

// ---- what goes where, as the desktop fills its templates ----

// The place name's first four characters, safe as a file name.
export function placePrefix(name) {
  let prefix = [...name].slice(0, 4).join('').replace(/[/\0]/g, '_');
  if (prefix.startsWith('.')) prefix = `_${prefix.slice(1)}`;
  return prefix;
}

// cells[row][col] as the module gives them; body rows 1..last into the sheet from row 5.
const body = (cells, last) => cells.slice(1, last + 1).map((row) => row.slice());

// {template, stem, writes: [[row, col, text]], block: [[texts]] from A5, cells: the CSV grid}
export function layout(kind, { f, place, tables, year, month, outNote, satNote }) {
  if (!place) throw new Error(NO_PLACE);
  const prefix = placePrefix(place);
  if (kind === 'sun') {
    const g = tables.sun.cells;
    const at = (row, col) => (g[row] && g[row][col]) || '';
    const twilight = f.twilight === 'angle' ? `Угол=${f.EditUg}гр.` : `Высота=${f.EditKm}км`;
    return {
      template: 'Sun', stem: `${prefix}_${month}${f.CheckBoxSec ? 'с' : ''}`, cells: g,
      block: body(g, 31),
      writes: [[3, 1, `Время: ${tables.sun.zone}`], [3, 8, `Сумерки: ${twilight}`], [3, 4, `QTH-локатор: ${tables.sun.locator || ''}`],
        [2, 2, place], [37, 1, `${at(33, 0)}  ${at(33, 1)}  ${at(33, 2)}`], [37, 6, `${at(33, 5)}  ${at(33, 6)} ${at(33, 7)}`]],
    };
  }
  if (kind === 'sat') {
    const g = tables.sat.cells;
    return {
      template: 'Sat', stem: `${prefix}_Sat`, cells: g, block: body(g, g.length - 1),
      writes: [[2, 1, place], ...(satNote ? [[2, 6, satNote]] : [])],
    };
  }
  const slot = tables.out.slots[0];
  const g = slot ? slot.cells : [];
  const angle = slot && /Угол интерференции (\S+)°/.exec(slot.info || '');
  const label = slot ? slot.label : f.ESlot;
  const heading = `Спутник: ${label}   Антенна: ${f.EDish} м, ${f.EFreq} ГГц   Угол: ${angle ? angle[1] : ''}°   Время: ${tables.out.zone}`;
  const writes = [[2, 2, place], [3, 1, heading]];
  if (g.length <= 1 && outNote) writes.push([5, 1, outNote]);
  return {
    template: 'Out', stem: `${prefix}_${label.replace(/ /g, '')}_${year}`, cells: g,
    block: g.length > 1 ? body(g, g.length - 1) : [], writes,
  };
}

export async function workbookBytes(plan) {
  const [ExcelJS, template] = await Promise.all([loadLibrary(), readTemplate(plan.template)]);
  const book = new ExcelJS.Workbook();
  const ws = book.addWorksheet(template.sheet);
  template.columns.forEach((cm, i) => {
    if (cm) ws.getColumn(i + 1).width = Math.round(cm * 5.2 * 10) / 10;  // characters of the default font per cm
  });
  for (const [key, { text, style }] of template.cells) {
    const [r, c] = key.split(',').map(Number);
    const cell = ws.getCell(r, c);
    if (text) cell.value = text;
    applyLook(cell, style);
  }
  plan.block.forEach((row, i) => row.forEach((text, c) => {
    const cell = ws.getCell(5 + i, c + 1);
    cell.value = text;
    applyLook(cell, template.cells.get(`${5 + i},${c + 1}`)?.style);
  }));
  for (const [r, c, text] of plan.writes) ws.getCell(r, c).value = text;
  return new Uint8Array(await book.xlsx.writeBuffer());
}

// RFC 4180, quotes only where a cell needs them; a byte order mark for the office's sake.
export function csvText(cells) {
  const quote = (t) => (/[",\r\n]/.test(t) ? `"${t.replace(/"/g, '""')}"` : t);
  return '\uFEFF' + cells.map((row) => row.map((t) => quote(String(t))).join(',')).join('\r\n') + '\r\n';
}

export const XLSX_TYPE = MIME;
