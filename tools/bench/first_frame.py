#!/usr/bin/env python3
"""Usage: first_frame.py PROGRAM [ARGUMENT...]

Starts PROGRAM (a Qt Widgets program, on the display in DISPLAY or the platform QT_QPA_PLATFORM
names) and prints the seconds from just before its start to the first frame it hands to the
window system, then terminates it (SIGTERM, then SIGKILL after 5 s).

The frame is seen from outside, through Qt's own logging: with the category
"qt.widgets.painting" enabled, Qt logs "Flushing QRegion(...) of QWidget(...)" when a top-level
widget's painted backing store is flushed to its window, with a time stamp of the monotonic
clock ("%{time boot}") that this script reads before the start. Exits 1 when no frame comes
within 60 s or the program ends first.
"""
import os
import re
import signal
import subprocess
import sys
import time

FLUSH = re.compile(r'^\s*(\d+\.\d+) qt\.widgets\.painting Flushing QRegion\(')
TIMEOUT_S = 60


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    env = dict(os.environ)
    env['QT_LOGGING_RULES'] = 'qt.widgets.painting=true'
    env['QT_MESSAGE_PATTERN'] = '%{time boot} %{category} %{message}'
    started = time.clock_gettime(time.CLOCK_MONOTONIC)
    child = subprocess.Popen(sys.argv[1:], env=env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    frame = None
    try:
        for line in child.stderr:
            match = FLUSH.match(line)
            if match:
                frame = float(match.group(1))
                break
            if time.clock_gettime(time.CLOCK_MONOTONIC) - started > TIMEOUT_S:
                break
    finally:
        child.send_signal(signal.SIGTERM)
        try:
            child.wait(5)
        except subprocess.TimeoutExpired:
            child.kill()
            child.wait()
    if frame is None:
        sys.exit('first_frame: %s showed no frame' % sys.argv[1])
    print('%.3f' % (frame - started))


if __name__ == '__main__':
    main()
