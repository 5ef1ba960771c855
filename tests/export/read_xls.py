#!/usr/bin/python3
"""Prints every non-empty cell of one worksheet of an .xls file, read by xlrd (independent of the
office that wrote it): row<TAB>column<TAB>kind<TAB>text, rows and columns counted from 1, kind
"text" or "number" etc.; backslash, tab and newline in the text are escaped."""
import sys

import xlrd

KINDS = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_DATE: "date",
         xlrd.XL_CELL_BOOLEAN: "bool", xlrd.XL_CELL_ERROR: "error", xlrd.XL_CELL_BLANK: "blank"}

def main():
    path, name = sys.argv[1], sys.argv[2]
    book = xlrd.open_workbook(path)
    if name not in book.sheet_names():
        print("no sheet %s in %s" % (name, book.sheet_names()), file=sys.stderr)
        return 2
    sheet = book.sheet_by_name(name)
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                continue
            text = str(cell.value).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            sys.stdout.write("%d\t%d\t%s\t%s\n" % (r + 1, c + 1, KINDS.get(cell.ctype, "?"), text))
    return 0

if __name__ == "__main__":
    sys.exit(main())
