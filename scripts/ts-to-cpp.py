#!/usr/bin/env python3
"""Writes one context of a Qt catalogue as a C++ table, for the command line,
which speaks the same translated messages without linking Qt.

usage: ts-to-cpp.py CATALOGUE.ts CONTEXT OUTPUT.cpp
The table is `pictavo::TranslatedText kTranslatedMessages[]` sorted by
source, with `kTranslatedMessageCount`.
"""
import sys

from catalogue import parse_catalogue


def c_string(text):
    out = []
    for byte in text.encode("utf-8"):
        c = chr(byte)
        if c == "\\" or c == '"':
            out.append("\\" + c)
        elif 32 <= byte < 127:
            out.append(c)
        else:
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"'


def main():
    ts, wanted, output = sys.argv[1:]
    pairs = {}
    for context in parse_catalogue(ts).iter("context"):
        if context.findtext("name") != wanted:
            continue
        for message in context.iter("message"):
            translation = message.find("translation")
            if translation is None or translation.get("type") in ("unfinished", "vanished", "obsolete"):
                continue
            pairs[message.findtext("source") or ""] = translation.text or ""
    lines = ["// Generated from the English catalogue by scripts/ts-to-cpp.py: do not edit.",
             '#include "translated_text.h"', "", "namespace pictavo {", "",
             "const TranslatedText kTranslatedMessages[] = {"]
    for source in sorted(pairs, key=lambda s: s.encode("utf-8")):
        lines.append(f"    {{{c_string(source)}, {c_string(pairs[source])}}},")
    if not pairs:
        lines.append('    {"", ""},')
    lines += ["};", f"const size_t kTranslatedMessageCount = {len(pairs)};", "", "}  // namespace pictavo", ""]
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
