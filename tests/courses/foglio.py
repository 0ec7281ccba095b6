"""Workbooks read and written by openpyxl, a writer independent of the program, for
tst_foglio: what it sees in the program's export, and workbooks it makes for the program to
read. Run by the tests as /usr/bin/python3 foglio.py COMMAND ARGUMENTS.

  descrivi IN                 the sheets, their frozen panes, filters, widths, and every cell
                              (value, type, number format), as JSON on stdout
  rifai IN OUT                the same values in a new workbook of openpyxl's own: the sheets
                              in another order, numbers stored as text (amounts the Italian way),
                              dates as serial numbers
  modifica IN OUT EDITS.json  IN with cells changed and rows added: a list of
                              {"foglio", "riga" (a number, or "nuova"), "colonna" (a header),
                              "valore"}; "copia": a row number whose values a new row starts from
  righe OUT N                 a sheet "Corsi" of N rows under the export's headers
"""
import datetime
import json
import sys

import openpyxl


def descrivi(percorso):
    wb = openpyxl.load_workbook(percorso)
    r = {"fogli": wb.sheetnames, "dettagli": {}}
    for ws in wb.worksheets:
        celle = []
        for riga in ws.iter_rows():
            for c in riga:
                if c.value is None:
                    continue
                v = c.value
                if isinstance(v, datetime.datetime):
                    v = v.date().isoformat()
                celle.append({"rif": c.coordinate, "valore": v, "tipo": c.data_type,
                              "formato": c.number_format, "data": bool(c.is_date)})
        larghezze = {k: d.width for k, d in ws.column_dimensions.items() if d.width}
        r["dettagli"][ws.title] = {
            "bloccato": ws.freeze_panes,
            "filtro": ws.auto_filter.ref,
            "righe": ws.max_row,
            "colonne": ws.max_column,
            "larghezze": larghezze,
            "celle": celle,
        }
    json.dump(r, sys.stdout, ensure_ascii=False)


def testo_italiano(v):
    if isinstance(v, float):
        intero, decimali = ("%.2f" % v).split(".")
        return intero + "," + decimali
    return str(v)


def rifai(dentro, fuori):
    sorgente = openpyxl.load_workbook(dentro)
    wb = openpyxl.Workbook()
    wb.remove(wb.active)
    for nome in reversed(sorgente.sheetnames):
        ws = wb.create_sheet(nome)
        for riga in sorgente[nome].iter_rows(values_only=True):
            nuova = []
            for v in riga:
                if isinstance(v, datetime.datetime):
                    v = (v - datetime.datetime(1899, 12, 30)).days  # the serial, as a plain number
                elif isinstance(v, (int, float)) and not isinstance(v, bool):
                    v = testo_italiano(v)
                nuova.append(v)
            ws.append(nuova)
    wb.save(fuori)


def modifica(dentro, fuori, percorso_modifiche):
    wb = openpyxl.load_workbook(dentro)
    with open(percorso_modifiche, encoding="utf-8") as f:
        modifiche = json.load(f)
    nuove = {}
    for m in modifiche:
        ws = wb[m["foglio"]]
        colonne = {c.value: c.column for c in ws[1]}
        riga = m["riga"]
        if isinstance(riga, str):
            if riga not in nuove:
                nuove[riga] = ws.max_row + 1
                if "copia" in m:
                    for c in ws[m["copia"]]:
                        ws.cell(nuove[riga], c.column).value = c.value
            riga = nuove[riga]
        if "colonna" in m:
            ws.cell(riga, colonne[m["colonna"]]).value = m["valore"]
    wb.save(fuori)


def righe(fuori, n):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Corsi"
    ws.append(["Sede", "Corso", "Accorp"])
    for i in range(n):
        ws.append([1, "%04d" % (i + 1), "0"])
    wb.save(fuori)


if __name__ == "__main__":
    comando, argomenti = sys.argv[1], sys.argv[2:]
    if comando == "descrivi":
        descrivi(*argomenti)
    elif comando == "rifai":
        rifai(*argomenti)
    elif comando == "modifica":
        modifica(*argomenti)
    elif comando == "righe":
        righe(argomenti[0], int(argomenti[1]))
    else:
        sys.exit("comando sconosciuto: " + comando)
