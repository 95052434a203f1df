#!/usr/bin/env python3
"""Lays out a Qt Designer .ui form as Designer saves it: one element a line, one blank a level.

Usage: ui-layout.py FORM.ui FIX   (FIX 1 rewrites the file; 0 exits 1 when the file differs)
"""
import sys
import xml.etree.ElementTree as ET


def layout(text):
    root = ET.fromstring(text)
    ET.indent(root, space=" ")
    body = ET.tostring(root, encoding="unicode", short_empty_elements=True)
    return '<?xml version="1.0" encoding="UTF-8"?>\n' + body + "\n"


def main():
    path, fix = sys.argv[1], sys.argv[2] == "1"
    with open(path, encoding="utf-8") as f:
        text = f.read()
    laid = layout(text)
    if laid == text:
        return 0
    if fix:
        with open(path, "w", encoding="utf-8") as f:
            f.write(laid)
        return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
