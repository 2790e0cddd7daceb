"""The peer of xlsx_bench: the same workbook of ROWS x 12 cells written by openpyxl.

Usage: xlsx_openpyxl.py ROWS OUTPUT.xlsx

A write-only workbook (openpyxl's streaming mode) with the values and the formats
xlsx_bench.cpp writes: a title row frozen above the rows, column widths, texts with
Korean, numbers with "#,##0", dates with "yyyy-mm-dd" and one boolean column. Prints the
seconds the writing took (the interpreter's start and the import left out) on one line.
"""

import datetime
import sys
import time

from openpyxl import Workbook
from openpyxl.cell import WriteOnlyCell
from openpyxl.styles import Font
from openpyxl.utils import get_column_letter

COLUMNS = 12
EPOCH = datetime.date(1899, 12, 30)


def kind(c):
    """The column kinds in xlsx_bench.cpp's order: text, number, date, ... and one bool."""
    return ("text", "number", "date", "text", "number", "bool",
            "text", "number", "date", "text", "number", "date")[c]


def value(c, row):
    """The value of a cell, computed as xlsx_bench.cpp computes it."""
    if c == 0:
        return "거래처 %d" % (row % 977)
    if c == 1:
        return (row % 1000) * 125 - 20000
    if c == 2:
        return EPOCH + datetime.timedelta(days=46000 + row % 365)
    if c == 3:
        return "품목-%d 상세 설명" % (row % 131)
    if c == 4:
        return row * 37 % 1000000
    if c == 5:
        return row % 3 == 0
    if c == 6:
        return "담당 %d" % (row % 53)
    if c == 7:
        return -(row % 7919) * 10
    if c == 8:
        return EPOCH + datetime.timedelta(days=45000 + row % 1000)
    if c == 9:
        return "비고 %d번" % row
    if c == 10:
        return row
    return EPOCH + datetime.timedelta(days=46000 + row % 30)


def main():
    rows = int(sys.argv[1])
    path = sys.argv[2]
    start = time.perf_counter()
    wb = Workbook(write_only=True)
    ws = wb.create_sheet("Sheet1")
    ws.freeze_panes = "A2"
    for c in range(COLUMNS):
        ws.column_dimensions[get_column_letter(c + 1)].width = 100 / 7
    bold = Font(bold=True)
    titles = []
    for c in range(COLUMNS):
        cell = WriteOnlyCell(ws, value="항목 %d" % (c + 1))
        cell.font = bold
        titles.append(cell)
    ws.append(titles)
    formats = {"number": "#,##0", "date": "yyyy-mm-dd"}
    kinds = [kind(c) for c in range(COLUMNS)]
    for row in range(rows):
        line = []
        for c in range(COLUMNS):
            cell = WriteOnlyCell(ws, value=value(c, row))
            number_format = formats.get(kinds[c])
            if number_format:
                cell.number_format = number_format
            line.append(cell)
        ws.append(line)
    wb.save(path)
    print("%.3f" % (time.perf_counter() - start))


if __name__ == "__main__":
    main()
