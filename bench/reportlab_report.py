#!/usr/bin/python3
"""Peer for the print benchmark: the same parts list built with ReportLab.

Usage: reportlab_report.py ITEMS OUT.pdf
Prints "pages seconds". Rows are the ones bench/print_benchmark.cpp makes:
groups of 25 items, each item with a position, article, a description that
wraps, quantity and price; a page header with title and date, a heading per
group and column headings repeated on continuation pages, a page footer with
"Seite N von M".
"""
import sys
import time

from reportlab.lib.pagesizes import A4
from reportlab.lib.units import mm
from reportlab.lib import colors
from reportlab.lib.styles import ParagraphStyle
from reportlab.pdfgen import canvas
from reportlab.platypus import SimpleDocTemplate, Table, TableStyle, Paragraph

DESCRIPTIONS = [
    "Kugelhahn DN 20 mit Entleerung",
    "Plattenheizkörper Typ 22, 600 x 1200 mm, mit seitlichem Anschluss und "
    "Befestigungssatz, weiß lackiert",
    "Thermostatventil mit Voreinstellung",
    "Rohr Kupfer 18 x 1 mm, Stangenware 5 m",
]
GROUP_SIZE = 25


def item_row(i):
    return (str(i + 1), "ART-%05d" % i, DESCRIPTIONS[i % len(DESCRIPTIONS)],
            str(i % 7 + 1), "%.2f" % ((i % 97) * 3.25 + 10))


class NumberedCanvas(canvas.Canvas):
    def __init__(self, *args, **kwargs):
        canvas.Canvas.__init__(self, *args, **kwargs)
        self._saved = []

    def showPage(self):
        self._saved.append(dict(self.__dict__))
        self._startPage()

    def save(self):
        total = len(self._saved)
        for state in self._saved:
            self.__dict__.update(state)
            self.setFont("Helvetica", 9)
            self.drawRightString(200 * mm, 10 * mm, "Seite %d von %d" % (self._pageNumber, total))
            canvas.Canvas.showPage(self)
        canvas.Canvas.save(self)


def header(c, doc):
    c.saveState()
    c.setFont("Helvetica-Bold", 14)
    c.drawString(15 * mm, 282 * mm, "Stückliste")
    c.setFont("Helvetica", 9)
    c.drawString(150 * mm, 282 * mm, time.strftime("%d.%m.%y"))
    c.line(15 * mm, 279 * mm, 195 * mm, 279 * mm)
    c.restoreState()


def main():
    items = int(sys.argv[1])
    out = sys.argv[2]
    style = ParagraphStyle("d", fontName="Helvetica", fontSize=9, leading=11)
    # One table per group (its heading and the column headings repeat on
    # continuation pages): a single table of all rows makes ReportLab's
    # splitting cost grow with the square of the rows.
    tables = []
    for first in range(0, items, GROUP_SIZE):
        rows = [("", "Baugruppe %d" % (first // GROUP_SIZE + 1), "", "", ""),
                ("Pos", "Artikel", "Beschreibung", "Menge", "Preis")]
        for i in range(first, min(first + GROUP_SIZE, items)):
            pos, art, desc, qty, price = item_row(i)
            rows.append((pos, art, Paragraph(desc, style), qty, price))
        table = Table(rows, colWidths=[12 * mm, 30 * mm, 90 * mm, 18 * mm, 30 * mm], repeatRows=2)
        table.setStyle(TableStyle([("FONT", (0, 0), (-1, 1), "Helvetica-Bold", 9),
                                   ("FONT", (0, 2), (-1, -1), "Helvetica", 9),
                                   ("BACKGROUND", (0, 0), (-1, 0), colors.lightgrey),
                                   ("ALIGN", (3, 1), (4, -1), "RIGHT"), ("VALIGN", (0, 0), (-1, -1), "TOP")]))
        tables.append(table)
    start = time.perf_counter()
    doc = SimpleDocTemplate(out, pagesize=A4, topMargin=25 * mm, bottomMargin=20 * mm,
                            leftMargin=15 * mm, rightMargin=15 * mm)
    doc.build(tables, onFirstPage=header, onLaterPages=header, canvasmaker=NumberedCanvas)
    seconds = time.perf_counter() - start
    print(doc.page, seconds)


if __name__ == "__main__":
    main()
