#!/usr/bin/python3
"""Writes the example templates of the spreadsheet list export with openpyxl,
so that they are real files made by another program than the library:

    examples/export/list_format.xlsx  the format template: page-1 header,
                                      following-page header, footer, layout
                                      values and the column assignment with
                                      a formatted data row
    examples/export/list_base.xlsx    the base workbook: one sheet with page
                                      setup (A4, one page wide), a page footer
    examples/export/list_rows.txt     a few hundred rows for `qxtool export list`
    examples/export/parts_list_format.xlsx
                                      the format template of the parts list:
                                      the same tables, pages of A4 at 85 %
    examples/export/parts_list_base.xlsx
                                      its base workbook, with the table
                                      "Stueckliste" the parts list fills
    examples/export/parts_list_articles.txt
                                      articles for `qxtool export parts-list`,
                                      some with texts longer than a page

    make-export-templates.py [EXAMPLES_EXPORT_DIR]

Needs Debian's python3-openpyxl (run it with /usr/bin/python3).
"""
import os
import random
import sys

from openpyxl import Workbook
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side

COLUMNS = [  # identifier, heading, width, number format
    ("POS", "Pos.", 5, "0"),
    ("MENGE", "Menge", 8, "0.0"),
    ("EINHEIT", "Einheit", 7, "@"),
    ("TEXT", "Bezeichnung", 34, "@"),
    ("ARTNR", "Artikel-Nr.", 11, "@"),
    ("PREIS", "Preis", 10, "#,##0.00"),
    ("WAEHRUNG", "Währung", 8, "@"),
]

THIN = Side(style="thin", color="404040")
BOX = Border(left=THIN, right=THIN, top=THIN, bottom=THIN)
HEAD_FILL = PatternFill("solid", fgColor="D9E2F3")
ROW_FILL = PatternFill("solid", fgColor="F2F7EC")


def column_heads(sheet, row):
    for i, (_, heading, _, _) in enumerate(COLUMNS):
        cell = sheet.cell(row=row, column=i + 1, value=heading)
        cell.font = Font(bold=True)
        cell.fill = HEAD_FILL
        cell.border = BOX
        cell.alignment = Alignment(horizontal="center", vertical="center")
    sheet.row_dimensions[row].height = 18


def format_template(path, rows_first=30, rows_next=36, widths=None):
    book = Workbook()
    first = book.active
    first.title = "KopfSeite1"
    first["A1"] = "Stückliste"
    first["A1"].font = Font(bold=True, size=16)
    first.row_dimensions[1].height = 24
    first["A2"] = "Projekt: $proj_nr  $proj_na"
    first["A3"] = "Datum: $proj_da"
    first["F2"] = "Heizung und Sanitär"
    first["F2"].font = Font(italic=True)
    first.merge_cells("A2:D2")
    column_heads(first, 5)

    following = book.create_sheet("KopfFolgende")
    following["A1"] = "Stückliste $proj_na (Fortsetzung)"
    following["A1"].font = Font(italic=True)
    column_heads(following, 2)

    footer = book.create_sheet("Fussleiste")
    for i in range(len(COLUMNS)):
        footer.cell(row=1, column=i + 1).border = Border(top=THIN)
    footer["A2"] = "Projekt $proj_nr vom $proj_da"
    footer["A2"].font = Font(size=8)
    footer.row_dimensions[2].height = 12

    variables = book.create_sheet("Variablen")
    layout = [
        (4, "Number of lines of the footer", 2),
        (5, "Number of printable columns", len(COLUMNS)),
        (7, "Number of rows in the header from page 1", 5),
        (8, "Number of rows in the header from page 2 and the following pages", 2),
        (9, "Number of printable rows from page 1", rows_first),
        (10, "Number of printable rows from page 2 and the following pages", rows_next),
    ]
    for row, label, value in layout:
        variables.cell(row=row, column=2, value=label)
        variables.cell(row=row, column=3, value=value)
    variables.column_dimensions["B"].width = 60

    columns = book.create_sheet("SpaltenInhalt")
    columns["A4"] = "Spalten:"
    columns["A5"] = "Datenzeile:"
    for i, (ident, _, width, number_format) in enumerate(COLUMNS):
        letter = chr(ord("C") + i)
        columns[f"{letter}4"] = ident
        cell = columns[f"{letter}5"]
        cell.fill = ROW_FILL
        cell.border = BOX
        cell.number_format = number_format
        cell.alignment = Alignment(vertical="top", wrap_text=(ident == "TEXT"),
                                   horizontal="right" if ident in ("MENGE", "PREIS", "POS") else "left")
        columns.column_dimensions[letter].width = (widths or {}).get(ident, width)
    columns.row_dimensions[5].height = 15
    book.save(path)


def base_template(path, title="Tabelle1", scale=None):
    book = Workbook()
    sheet = book.active
    sheet.title = title
    sheet.page_setup.orientation = "portrait"
    sheet.page_setup.paperSize = sheet.PAPERSIZE_A4
    sheet.page_margins.left = 0.6
    sheet.page_margins.right = 0.4
    if scale:
        # A fixed scale, so that the height of a page is known: 0.5 and 0.7
        # inches of margin leave 755.6 points, 888.9 points of rows at 85 %.
        sheet.page_setup.scale = scale
        sheet.page_margins.top, sheet.page_margins.bottom = 0.5, 0.7
        sheet.page_margins.header, sheet.page_margins.footer = 0.3, 0.3
        sheet.page_margins.left, sheet.page_margins.right = 0.4, 0.3
    else:
        # One page wide, as many pages high as the list needs.
        sheet.sheet_properties.pageSetUpPr.fitToPage = True
        sheet.page_setup.fitToWidth = 1
        sheet.page_setup.fitToHeight = 0
    sheet.oddFooter.right.text = "Seite &P von &N"
    sheet.oddFooter.left.text = "&F"
    book.save(path)


ITEMS = [
    ("Stk", "Thermostatventil DN15 mit Voreinstellung"),
    ("Stk", "Heizkörper Typ 22, 600 x 1000 mm\nmit Befestigungssatz\nund Entlüftungsstopfen"),
    ("m", "Kupferrohr 15 x 1 mm, hart"),
    ("Stk", "Umwälzpumpe, Hocheffizienz"),
    ("Stk", "Kugelhahn 3/4\" mit Thermometer"),
    ("m", "Wärmedämmung 13 mm für Rohr 15 mm"),
    ("Stk", "Ausdehnungsgefäß 25 l\nmit Kappenventil\nWandhalterung\nund Anschlussleitung\n(Montage bauseits)"),
]


def rows(path):
    rng = random.Random(3805)
    lines = ["POS\tMENGE\tEINHEIT\tTEXT\tARTNR\tPREIS\tWAEHRUNG"]
    position = 0
    for n in range(300):
        if n == 120:
            lines.append("#page")
        if n == 200:
            lines.append("#table Zubehör")
            position = 0
        if n % 37 == 36:
            lines.append("#empty")
        unit, text = ITEMS[rng.randrange(len(ITEMS))]
        position += 1
        quantity = rng.randrange(1, 40) if unit == "Stk" else round(rng.uniform(1, 80), 1)
        price = round(rng.uniform(2, 900), 2)
        lines.append("\t".join([str(position), str(quantity), unit, text.replace("\n", "\\n"),
                                f"{4000000 + rng.randrange(999999)}", f"{price:.2f}", "EUR"]))
    with open(path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")


# Pieces of article texts; every line fits the text field of the example
# text template (40 characters).
TEXT_LINES = [
    "Heizkörperanschluss mit Absperrung",
    "Vor- und Rücklauf getrennt absperrbar",
    "Oberfläche pulverbeschichtet, RAL 9016",
    "Montage nach Herstellerangaben",
    "inklusive Dichtungen und Befestigung",
    "Prüfdruck 10 bar, Betriebsdruck 6 bar",
    "Anschluss 1/2\" Innengewinde",
    "Lieferung mit Prüfprotokoll",
    "Farbe nach Wahl des Bauherrn",
    "geeignet für Trinkwasser",
]


def articles(path):
    rng = random.Random(7403)
    lines = ["POS\tMENGE\tEINHEIT\tTEXT\tARTNR\tPREIS\tWAEHRUNG"]
    for position in range(1, 121):
        unit, first = ITEMS[rng.randrange(len(ITEMS))]
        text = first.split("\n")
        # Most texts have a few lines; a few are longer than a page of the
        # text list or than the 20 lines of a spreadsheet row.
        extra = 45 if position == 37 else 24 if position == 90 else rng.choice([0, 0, 1, 2, 3, 5])
        text += [TEXT_LINES[rng.randrange(len(TEXT_LINES))] for _ in range(extra)]
        quantity = rng.randrange(1, 40) if unit == "Stk" else round(rng.uniform(1, 80), 1)
        # Every ninth article has no price yet.
        price = "" if position % 9 == 0 else f"{rng.uniform(2, 900):.2f}"
        lines.append("\t".join([str(position), str(quantity), unit, "\\n".join(text),
                                f"{4000000 + rng.randrange(999999)}", price, "EUR" if price else ""]))
    with open(path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "examples", "export")
    os.makedirs(folder, exist_ok=True)
    format_template(os.path.join(folder, "list_format.xlsx"))
    base_template(os.path.join(folder, "list_base.xlsx"))
    rows(os.path.join(folder, "list_rows.txt"))
    # Page 1: a header of 87 points, 51 rows of 15 and a footer of 27 make
    # 879 points; the others: 33, 55 rows and 27 make 885.
    # The currency column one wider, so that its bold heading stays inside
    # it (text running over the last column would be printed on pages of
    # its own).
    format_template(os.path.join(folder, "parts_list_format.xlsx"), rows_first=51, rows_next=55,
                    widths={"WAEHRUNG": 9})
    base_template(os.path.join(folder, "parts_list_base.xlsx"), title="Stueckliste", scale=85)
    articles(os.path.join(folder, "parts_list_articles.txt"))


if __name__ == "__main__":
    main()
