#!/usr/bin/env python3
"""Checks that a manual page loses nothing where Japanese cannot be shown.

In a locale without LANG, man drops every character outside ASCII, so a
Japanese label with nothing after it leaves a hole ("" or a lone comma). Each
run of Japanese (or other full-width) characters must be followed at once by
an English gloss in brackets, and the page rendered in the C locale must hold
no empty quotes or brackets. Prints one line per problem, nothing when the
page is right.
    python3 manual_glosses.py PAGE.1[.gz]...
"""
import os
import re
import subprocess
import sys

# Characters that the C locale drops and that carry meaning: everything
# outside ASCII but the typographic marks groff itself makes of quotes,
# hyphens and dashes (U+2010 to U+2027, U+2212), which the C locale renders
# as their ASCII forms.
LABEL_CHAR = r"[^\x00-\x7F\u2010-\u2027\u2212\u00a0]"
# A run of such characters, with the blanks and hyphens between them
# ("解　除", "ａ-ｚ", "＝ ＋ － ＠"): one label, one gloss.
LABEL = re.compile(LABEL_CHAR + r"+(?:[ \u3000\-\u2010]" + LABEL_CHAR + r"+)*")
# What may stand between a label and its gloss: closing quotes, and the full
# stop of a message quoted whole.
GLOSS_AFTER = re.compile(r"[.\"'\u201d\u2019]*\s*\((?=[ -~]*?[A-Za-z=])")


def render(page, locale):
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "MANWIDTH": "80"}
    if locale:
        env["LC_ALL"] = locale
    # No hyphenation and no justification: a gloss is looked for after its
    # label, across line ends only.
    result = subprocess.run(["man", "--nh", "--nj", "-l", page], env=env, capture_output=True)
    return " ".join(result.stdout.decode("utf-8", "replace").split())


def problems(page):
    found = []
    shown = render(page, "C.UTF-8")
    if not LABEL.search(shown):
        return found
    for label in LABEL.finditer(shown):
        if not GLOSS_AFTER.match(shown, label.end()):
            found.append(f"{page}: no English gloss in brackets after {label.group()!r}: "
                         f"...{shown[max(0, label.start() - 30):label.end() + 30]}...")
    plain = render(page, None)
    # ("[]" is jq's, in an example.)
    for empty in re.finditer(r"\"\s*\"|\(\s*\)", plain):
        found.append(f"{page}: empty {empty.group()!r} in the C locale: "
                     f"...{plain[max(0, empty.start() - 40):empty.end() + 40]}...")
    return found


def main():
    found = [problem for page in sys.argv[1:] for problem in problems(page)]
    print("\n".join(found))
    return 0


if __name__ == "__main__":
    sys.exit(main())
