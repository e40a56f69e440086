#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Uses the program as a blind user does, by keys alone, and listens to what the real Orca
says after each key, from Orca's debug file. Each step is keys and what must be heard by
then; the transcript (key -> speech) is printed as it goes.

  orca_transcript.py ORCA_DEBUG_FILE SINK
"""
import re
import subprocess
import sys
import time

TIMESTAMP = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - ")
SPEECH = "SPEECH OUTPUT: "


def speech(log, start):
    """What Orca said from line `start` of its debug file on, an utterance a string."""
    with open(log, encoding="utf-8", errors="replace") as file:
        lines = file.read().split("\n")
    said, current = [], None
    for line in lines[start:]:
        stamp = TIMESTAMP.match(line)
        if stamp:
            if current is not None:
                said.append(current)
            rest = line[stamp.end():]
            current = rest[len(SPEECH):] if rest.startswith(SPEECH) else None
        elif current is not None:
            current += "\n" + line
    if current is not None:
        said.append(current)
    # Orca's log quotes each utterance and adds its voice after it.
    return [re.sub(r"'\s*(\{.*\})?\s*$", "", text.strip()).lstrip("'") for text in said]


def lines_in(log):
    with open(log, encoding="utf-8", errors="replace") as file:
        return file.read().count("\n")


def step(log, keys, heard, what):
    """Types `keys` and waits until every pattern of `heard` is in what Orca said since."""
    start = lines_in(log)
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
        time.sleep(0.3)
    deadline = time.monotonic() + 15
    while True:
        said = speech(log, start)
        text = "\n".join(said)
        missing = [pattern for pattern in heard if not re.search(pattern, text, re.S)]
        if not missing or time.monotonic() > deadline:
            break
        time.sleep(0.2)
    print("%s -> %s" % (" ".join(keys) or "(start)", " | ".join(s.replace("\n", " / ") for s in said)))
    if missing:
        print("FAIL: %s: Orca did not say %s" % (what, missing))
        sys.exit(1)
    return said


def clipboard():
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                          text=True).stdout


def main():
    log, sink = sys.argv[1], re.escape(sys.argv[2])
    # Start-up: the sound card window, its report surface focused, still empty.
    step(log, [], [r"声卡信息统计", r"声卡信息"], "the first window")
    step(log, ["Tab"], [r"显示声卡信息"], "the report button")
    # The report is spoken while the focus stays on the button.
    step(log, ["Return"], [r"notification.*产品名称：" + sink], "the sound report")
    # On the report, the arrow keys read it line by line.
    step(log, ["shift+Tab"], [r"声卡信息", r"产品名称：" + sink], "the report's first line")
    step(log, ["Down"], [r"产品 Id"], "the report's second line")
    step(log, ["Down"], [r"驱动程序 Id"], "the report's third line")
    step(log, ["shift+Down"], [r"驱动程序 Id", r"selected"], "a line selected")
    # Its menu opens from the keyboard with 复制 selected; Return copies.
    step(log, ["Menu"], [r"复制"], "the report's menu")
    # Closed, the menu gives the focus back, and Orca names the report again.
    step(log, ["Escape"], [r"声卡信息(?!统计)"], "the menu closed")
    step(log, ["ctrl+a", "ctrl+c"], [r"selected"], "the whole report copied")
    if not re.match("产品名称：" + sink, clipboard()):
        print("FAIL: the clipboard holds %r" % clipboard()[:80])
        sys.exit(1)
    # To the keyboard window: the four lines are spoken while the focus stays on 键盘信息.
    step(log, ["Tab", "Tab"], [r"退 出"], "the exit button")
    step(log, ["space"], [r"Pardolin"], "the main window")
    step(log, ["Return"], [r"统计键盘信息", r"键盘信息"], "the keyboard window")
    step(log, ["Return"], [r"notification.*键盘的类型是.*键盘的重复率.*键盘重复延迟为.*光标闪烁频率"],
         "the keyboard report")
    # Tab goes on from the buttons to the lines; a line's menu copies it.
    step(log, ["Tab", "Tab"], [r"光标闪烁频率  =  \d+ms"], "the caret line")
    step(log, ["Menu"], [r"复制"], "the line's menu")
    step(log, ["Return"], [r"光标闪烁频率  =  \d+ms"], "the line copied, the line named again")
    if not re.match(r"光标闪烁频率  =  \d+ms$", clipboard()):
        print("FAIL: the clipboard holds %r" % clipboard())
        sys.exit(1)
    print("PASS: Orca speaks every fact")


main()
