#!/usr/bin/env python3
"""Fails when the English catalogue is not complete for today's sources.

Runs lupdate over the sources into a copy of the kept catalogue, so a text
added without a translation shows up as unfinished and a text that is gone
as vanished, then checks every entry: finished, not empty, and with the
same %1 %2 ... placeholders and "\\r" line breaks as its source.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from catalogue import parse_catalogue


def placeholders(text):
    return sorted(set(re.findall(r"%L?\d", text or "")))


def main():
    lupdate, ts, *sources = sys.argv[1:]
    sources = [s for s in sources if os.path.exists(s)]
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        copy = os.path.join(tmp, os.path.basename(ts))
        shutil.copy(ts, copy)
        subprocess.run([lupdate, "-silent", "-locations", "none", "-source-language", "ja",
                        "-target-language", "en", *sources, "-ts", copy], check=True)
        root = parse_catalogue(copy)
    count = 0
    for context in root.iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            count += 1
            source = message.findtext("source") or ""
            translation = message.find("translation")
            where = f"{name}: {source!r}"
            kind = translation.get("type") if translation is not None else "missing"
            if kind in ("unfinished", "missing"):
                problems.append(f"untranslated {where}")
                continue
            if kind in ("vanished", "obsolete"):
                problems.append(f"no longer in the sources (run scripts/update-translations.sh) {where}")
                continue
            forms = [f.text for f in translation.iter("numerusform")] or [translation.text]
            for text in forms:
                if not text or not text.strip():
                    problems.append(f"empty translation {where}")
                elif placeholders(text) != placeholders(source):
                    problems.append(f"placeholders differ {where} -> {text!r}")
                elif source.count("\r") != text.count("\r"):
                    problems.append(f"line breaks differ {where} -> {text!r}")
    if count == 0:
        problems.append("the catalogue holds no texts")
    for p in problems:
        print(p)
    print(f"{count} texts, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
