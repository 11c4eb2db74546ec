#!/usr/bin/env python3
"""The guide and the README against the programs. Every quillctl and sqctool
command line they show (in code) names a command, subcommand and options of
that tool's usage text; every option the guide names alone is in a tool's
usage; every text the guide puts in double quotes is one of the program's
English texts (the built-in definition table, or a string of app/ or
defs/). Prints each drift and exits 1.

  python3 tests/docs/doc_check.py [BIN]        BIN: build/native/bin
"""
import glob
import json
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "native", "bin")
TOOLS = {"quillctl": r"(?m)^  ([a-z][\w-]*)", "sqctool": r"sqctool ([a-z][\w-]*)(?: ([a-z][\w-]*))?"}


def run(*args):
    done = subprocess.run([os.path.join(BIN, args[0])] + list(args[1:]), capture_output=True, text=True)
    return done.stdout + done.stderr


def usage(tool):
    """Commands as {command: {subcommands}}, options, and the options taking a value."""
    text = "\n".join(line for line in run(tool, "--help").splitlines() if not line.startswith(tool + ":"))
    commands = {}
    for found in re.findall(TOOLS[tool], text):
        command, sub = found if isinstance(found, tuple) else (found, "")
        commands.setdefault(command, set()).update([sub] if sub else [])
    return commands, set(re.findall(r"--[a-z][\w-]*", text)), set(re.findall(r"(--[a-z][\w-]*) [A-Z]", text))


def code(markdown):
    """The code of a Markdown text: lines of fenced blocks and `spans`; the rest as prose."""
    blocks = re.findall(r"(?ms)^```[^\n]*\n(.*?)^```", markdown)
    prose = re.sub(r"(?ms)^```.*?^```", "", markdown)
    return [line for b in blocks for line in b.splitlines()] + re.findall(r"`([^`]+)`", prose), \
        re.sub(r"`[^`]*`", "", prose)


def check_command_lines(name, snippets, tools, problems):
    for snippet in snippets:
        for tool, rest in re.findall(r"\b(quillctl|sqctool)(?:\.exe)?\"?(?=\s|$)([^&#|]*)", snippet):
            commands, options, valued = tools[tool]
            words, i = rest.split(), 0
            while i < len(words) and words[i].startswith("--"):
                i += 2 if words[i] in valued else 1
            if i >= len(words):
                continue
            command, sub = words[i], words[i + 1] if i + 1 < len(words) else ""
            wrong = [o for o in words if o.startswith("--") and o not in options]
            subs = commands.get(command)
            if subs is None or (subs and sub and sub not in subs) or wrong:
                problems.append("%s: `%s` does not match `%s --help`" % (name, (tool + rest).strip(), tool))


def main():
    tools = {tool: usage(tool) for tool in TOOLS}
    table = json.loads(run("sqctool", "defs", "dump", "--builtin"))["languages"]["English"]
    texts = {t for row in table.values() for t in row}
    sources = glob.glob(os.path.join(ROOT, "app", "*.cpp")) + glob.glob(os.path.join(ROOT, "defs", "*.h"))
    for source in sources:
        texts.update(re.findall(r'"((?:[^"\\\n]|\\.)+)"', open(source).read()))
    problems = []
    for name in ("docs/guide.md", "README.md"):
        snippets, prose = code(open(os.path.join(ROOT, name), encoding="utf-8").read())
        check_command_lines(name, snippets, tools, problems)
        if name != "docs/guide.md":
            continue
        all_options = set().union(*(options for _, options, _ in tools.values()))
        for option in (s.split()[0] for s in snippets if s.startswith("--")):
            if option not in all_options:
                problems.append("%s: `%s` is in no tool's usage" % (name, option))
        for quoted in re.findall(r'"([^"]+)"', " ".join(prose.split())):
            start = quoted[:-3].rstrip() if quoted.endswith("...") else None
            if quoted not in texts and not (start and any(t.startswith(start) for t in texts)):
                problems.append('%s: "%s" is not a text of the program' % (name, quoted))
    print("\n".join(problems) or "doc_check: the guide and the README agree with the programs")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
