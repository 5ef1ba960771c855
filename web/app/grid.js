// Lays out a table grid from the module: row 0 the headers, the texts as they come. Rows with
// no text at all (after a short month's last day) take no room on a phone.
export function renderGrid(table, cells) {
  const body = document.createDocumentFragment();
  if (cells.length > 0) {
    const head = document.createElement('thead');
    const tr = document.createElement('tr');
    // A column without a header is the satellite table's gap between two groups.
    const gaps = cells[0].map((text) => text === '');
    const negatives = cells[0].map((text) => text === 'Высота');
    cells[0].forEach((text, c) => tr.appendChild(cell('th', text, gaps[c])));
    head.appendChild(tr);
    body.appendChild(head);
    const tbody = document.createElement('tbody');
    for (let r = 1; r < cells.length; ++r) {
      const row = cells[r];
      if (row.every((text) => text === '')) continue;
      const line = document.createElement('tr');
      row.forEach((text, c) => {
        const td = cell('td', text, gaps[c]);
        // An elevation below zero (the satellite under the horizon) is marked as the desktop
        // marks it; "-0.0" is not below zero.
        if (negatives[c] && /^\s*-/.test(text) && !/^\s*-0(\.0*)?\s*$/.test(text)) td.className = 'neg';
        line.appendChild(td);
      });
      tbody.appendChild(line);
    }
    body.appendChild(tbody);
  }
  table.replaceChildren(body);
  table.classList.remove('stale');
}

function cell(tag, text, gap) {
  const el = document.createElement(tag);
  if (gap) {
    el.className = 'sep';
  } else if (tag === 'td') {
    const span = document.createElement('span');
    span.textContent = text;
    el.appendChild(span);
  } else {
    el.textContent = text;
  }
  return el;
}
