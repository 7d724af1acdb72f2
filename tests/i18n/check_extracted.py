#!/usr/bin/env python3
"""Lists the texts the sources show through a translation call that lupdate did not extract,
and the source folders with such calls that lupdate does not read at all.

lupdate finds tr(), QCoreApplication::translate() and the QT_*_NOOP markers with their texts
written in place. A local helper such as

    QString translate(const char *text) { return QCoreApplication::translate("Ctx", text); }

hides the texts passed to it: they are shown translated at run time but never reach the .ts
file. This check finds such helpers (functions that pass a variable to a translation call) and
every string literal passed to a helper or a translation call, and fails when one of those texts
is not a current message of the .ts file that lupdate has just brought up to date.

A folder beside the ones read (in the same parent folder) whose sources call a translation
function or hold a form (.ui) has operator texts that would never reach the .ts file; only
tests/ and build folders are exempt.

Usage: check_extracted.py TS_FILE LUPDATE_ARGUMENTS...
The source folders and files among the arguments are read; "-tr-function-alias tr+=NAME" and
"QT_TR_NOOP+=NAME" add NAME as a tr()-like call.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

KEYWORDS = {"if", "for", "while", "switch", "catch", "return", "sizeof"}
# Calls that take (context, text, ...) and calls that take (text, ...) in the class's context.
CONTEXT_CALLS = {"translate", "QT_TRANSLATE_NOOP", "QT_TRANSLATE_NOOP3", "QT_TRANSLATE_N_NOOP"}
TEXT_CALLS = {"tr", "QT_TR_NOOP", "QT_TR_N_NOOP"}


def current_messages(ts_file):
    """(context, source) of every message that is neither vanished nor obsolete."""
    messages = set()
    for context in ET.parse(ts_file).getroot().iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            translation = message.find("translation")
            kind = translation.get("type", "") if translation is not None else ""
            if kind not in ("vanished", "obsolete"):
                messages.add((name, message.findtext("source", "")))
    return messages


def without_comments(code):
    """The code with comments replaced by blanks (line breaks kept); strings untouched."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)

    def blank(match):
        text = match.group(0)
        return text if text[0] in "\"'" else re.sub(r"[^\n]", " ", text)

    return pattern.sub(blank, code)


ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'", "?": "?", "0": "\0"}


def decode(literal):
    def escape(match):
        code = match.group(1)
        if code[0] in "xu":
            return chr(int(code[1:], 16))
        return ESCAPES.get(code, code)

    return re.sub(r"\\(x[0-9a-fA-F]+|u[0-9a-fA-F]{4}|.)", escape, literal)


def arguments(code, open_paren):
    """The top-level arguments of the call whose '(' is at open_paren, as source texts."""
    args, depth, start, i = [], 0, open_paren + 1, open_paren
    while i < len(code):
        c = code[i]
        if c == '"' or c == "'":
            i = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'').match(code, i).end()
            continue
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth == 0:
                args.append(code[start:i])
                return args
        elif c == "," and depth == 1:
            args.append(code[start:i])
            start = i + 1
        i += 1
    return args


def literal_text(argument):
    """The text of an argument made of string literals only, else None."""
    parts = re.fullmatch(r'\s*(?:u8)?((?:"(?:\\.|[^"\\])*"\s*)+)', argument, re.S)
    if not parts:
        return None
    return "".join(decode(p) for p in re.findall(r'"((?:\\.|[^"\\])*)"', parts.group(1)))


def calls(code):
    """(name, qualifier, position of '(') of every call in the code."""
    for match in re.finditer(r"((?:\w+\s*::\s*|->\s*|\.\s*)?)\b(\w+)\s*\(", code):
        qualifier = re.sub(r"\s", "", match.group(1))
        yield match.group(2), qualifier, match.end() - 1


def translation_call(name, qualifier, text_calls):
    """'context' for a (context, text) call, 'text' for a (text) call, None for other calls."""
    if name == "translate" and qualifier:
        return "context"
    if name in CONTEXT_CALLS - {"translate"}:
        return "context"
    if name in text_calls:
        return "text"
    return None


def enclosing_function(code, position):
    """The name of the last function definition that starts before position."""
    headers = [m for m in re.finditer(r"\b(\w+)\s*\([^;{}()]*\)\s*(?:const\s*)?(?:noexcept\s*)?\{",
                                      code[:position]) if m.group(1) not in KEYWORDS]
    return headers[-1].group(1) if headers else None


def unread_folders(folders, text_calls):
    """Folders beside \a folders whose sources show texts, but which are not among them."""
    read = {os.path.realpath(f) for f in folders}
    unread = []
    for parent in sorted({os.path.dirname(f) for f in read}):
        for name in sorted(os.listdir(parent)):
            path = os.path.join(parent, name)
            if (path in read or not os.path.isdir(path) or name.startswith((".", "build"))
                    or name == "tests"):
                continue
            for folder, _, names in os.walk(path):
                if any(n.endswith(".ui") for n in names) or any(
                        translation_call(call, qualifier, text_calls)
                        for n in names if n.endswith((".cpp", ".h"))
                        for call, qualifier, _ in calls(without_comments(
                            open(os.path.join(folder, n), encoding="utf-8").read()))):
                    unread.append(name)
                    break
    return unread


def main():
    ts_file, options = sys.argv[1], sys.argv[2:]
    text_calls = set(TEXT_CALLS)
    for option in options:
        if "+=" in option:
            text_calls.add(option.split("+=", 1)[1])
    files = []
    for path in options:
        if os.path.isdir(path):
            for folder, _, names in os.walk(path):
                files += [os.path.join(folder, n) for n in sorted(names)
                          if n.endswith((".cpp", ".h"))]
        elif os.path.isfile(path) and path.endswith((".cpp", ".h")):
            files.append(path)
    sources = {f: without_comments(open(f, encoding="utf-8").read()) for f in sorted(files)}
    unread = unread_folders([p for p in options if os.path.isdir(p)], text_calls)
    if unread:
        print("folders with texts that lupdate does not read: " + ", ".join(unread))

    # Helpers: functions that hand a variable to a translation call; their context when known.
    helpers = {}
    for code in sources.values():
        for name, qualifier, paren in calls(code):
            kind = translation_call(name, qualifier, text_calls)
            if kind is None:
                continue
            args = arguments(code, paren)
            text_index = 1 if kind == "context" else 0
            if len(args) <= text_index:
                continue
            passed = args[text_index]
            if literal_text(passed) is None and re.fullmatch(r"\s*\w+\s*", passed):
                helper = enclosing_function(code, paren)
                if helper:
                    context = literal_text(args[0]) if kind == "context" else None
                    helpers.setdefault(helper, context)

    extracted = current_messages(ts_file)
    sources_only = {source for _, source in extracted}
    missing = []
    for path, code in sources.items():
        for name, qualifier, paren in calls(code):
            kind = translation_call(name, qualifier, text_calls)
            if kind is None and name not in helpers:
                continue
            args = arguments(code, paren)
            if kind == "context" and len(args) >= 2:
                context, text = literal_text(args[0]), literal_text(args[1])
            elif kind == "text" and args:
                context, text = None, literal_text(args[0])
            elif name in helpers and not qualifier.startswith((".", "->")) and args:
                context, text = helpers[name], literal_text(args[0])
            else:
                continue
            if text is None or not text:
                continue
            found = (context, text) in extracted if context else text in sources_only
            if not found:
                line = code.count("\n", 0, paren) + 1
                where = f"{os.path.basename(path)}:{line}"
                missing.append(f"  {where}: {text!r} ({context or 'any context'})")
    if missing:
        print(f"{len(missing)} texts shown through a translation call were never extracted "
              "by lupdate:")
        print("\n".join(missing))
    return 1 if missing or unread else 0


if __name__ == "__main__":
    sys.exit(main())
