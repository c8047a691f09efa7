#!/usr/bin/python3
"""Peer for the list export benchmark: the template road in openpyxl.

Usage: openpyxl_list_export.py ROWS FORMAT.xlsx BASE.xlsx OUT.xlsx
Prints the seconds taken (the interpreter's start not counted): load both
templates, copy the data row's formats from "SpaltenInhalt" row 5 onto each
output row, set the values of bench/list_export_benchmark.cpp's rows, set
the widths and heights, save.
"""
import copy
import sys
import time

import openpyxl

TEXTS = ["Thermostatventil DN15 mit Voreinstellung", "Kupferrohr 15 x 1 mm, hart",
         "Umwälzpumpe, Hocheffizienz", "Kugelhahn 3/4\" mit Thermometer"]
UNITS = ["Stk", "m"]


def main():
    rows, format_path, base_path, out = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    start = time.perf_counter()
    template = openpyxl.load_workbook(format_path)
    columns = template["SpaltenInhalt"]
    data_row = [columns.cell(row=5, column=3 + c) for c in range(7)]
    book = openpyxl.load_workbook(base_path)
    sheet = book.worksheets[0]
    sheet.title = "Datenliste"
    for c in range(7):
        letter = openpyxl.utils.get_column_letter(3 + c)
        sheet.column_dimensions[openpyxl.utils.get_column_letter(1 + c)].width = columns.column_dimensions[letter].width
    for i in range(rows):
        r = i + 6
        values = [i + 1, i % 40 + 1.5, UNITS[i % 2], TEXTS[i % 4], "%07d" % (4000000 + i), (i % 997) * 1.25 + 2, "EUR"]
        for c, value in enumerate(values):
            cell = sheet.cell(row=r, column=1 + c, value=value)
            source = data_row[c]
            cell.font = copy.copy(source.font)
            cell.fill = copy.copy(source.fill)
            cell.border = copy.copy(source.border)
            cell.number_format = source.number_format
            cell.alignment = copy.copy(source.alignment)
        sheet.row_dimensions[r].height = 15
    book.save(out)
    print("%.4f" % (time.perf_counter() - start))


if __name__ == "__main__":
    main()
