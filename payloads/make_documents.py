#!/usr/bin/env python3
"""Writes the stand-in documents of the application into a folder: the read-me, the
licence and the manual as small real PDF files, and the letter template (rich text,
which Word opens as a template). The help file is kept as Quillmark50Help.chm beside
this script (made with chmcmd from dokumente/hilfe/)."""
import os
import shutil
import sys

out = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))
os.makedirs(out, exist_ok=True)


def pdf(path, title, lines):
    def esc(t):
        return t.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)").encode("cp1252")
    content = b"BT /F1 18 Tf 72 770 Td (" + esc(title) + b") Tj /F1 11 Tf 0 -30 Td 14 TL"
    for line in lines:
        content += b" (" + esc(line) + b") '"
    content += b" ET"
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        b"/Resources << /Font << /F1 5 0 R >> >> >>",
        b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        b"<< /Title (" + esc(title) + b") /Producer (Quillmark Setup build) >>",
    ]
    data = b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n"
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(data))
        data += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(data)
    data += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        data += b"%010d 00000 n \n" % off
    data += b"trailer\n<< /Size %d /Root 1 0 R /Info 6 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(path, "wb") as f:
        f.write(data)


pdf(os.path.join(out, "Lizenz.pdf"), "Quillmark 5.0 - Lizenzbedingungen", [
    "Tessarwind GmbH",
    "",
    "Dieses Dokument steht im Installationspaket der Entwicklung an der Stelle",
    "der Lizenzbedingungen. Die gültigen Bedingungen liegen dem Programm bei.",
    "",
    "Die Nutzung von Quillmark ist nur im Rahmen eines gültigen Lizenzvertrags erlaubt.",
])
pdf(os.path.join(out, "Quillmark50Anleitung.pdf"), "Quillmark 5.0 - Anleitung", [
    "Erste Schritte",
    "",
    "1. Starten Sie Quillmark über das Symbol auf dem Desktop.",
    "2. Legen Sie Ihre Praxisdaten unter 'Einstellungen' an.",
    "3. Erfassen Sie Patienten und Leistungen und erstellen Sie die Rechnungen.",
    "",
    "Unter Windows Vista oder neuer starten Sie das Programm beim ersten Mal",
    "mit 'Als Administrator ausführen'.",
])
with open(os.path.join(out, "Readme.txt"), "wb") as f:
    f.write("Quillmark 5.0\r\n=============\r\n\r\n"
            "Abrechnungssoftware für die Privatliquidation.\r\n\r\n"
            "Diese Datei gehört zum Installationspaket der Entwicklung.\r\n"
            "Neuerungen dieser Version stehen in der Anleitung (Quillmark50Anleitung.pdf).\r\n"
            .encode("cp1252"))
with open(os.path.join(out, "BriefQuillmark.dot"), "wb") as f:
    f.write(b"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs22 "
            b"{\\b Praxis}\\par Stra\\'dfe Nr.\\par PLZ Ort\\par\\par\\par "
            b"Frau/Herrn\\par Name\\par Anschrift\\par\\par\\par "
            b"{\\b Rechnung}\\par\\par Sehr geehrte Damen und Herren,\\par\\par "
            b"\\par\\par Mit freundlichen Gr\\'fc\\'dfen\\par}")
shutil.copyfile(os.path.join(here, "dokumente", "Quillmark50Help.chm"), os.path.join(out, "Quillmark50Help.chm"))
