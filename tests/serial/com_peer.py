#!/usr/bin/env python3
"""The Linux end of COM2 for the Windows tests: holds a pseudo-terminal master, points
the given symbolic link at its slave, runs the given command and, each time it reads
"PING", checks that the line is raw at 19200 bits per second and answers "PONG".
Exits with the command's status, or 1 if no PING came or the line was wrong."""
import os
import select
import subprocess
import sys
import termios
import time

link, command = sys.argv[1], sys.argv[2:]
master, slave = os.openpty()
slave_path = os.ttyname(slave)
os.close(slave)
os.set_blocking(master, False)
tmp = link + ".new"
if os.path.lexists(tmp):
    os.unlink(tmp)
os.symlink(slave_path, tmp)
os.replace(tmp, link)

failures = []
pings = 0
pending = b""
child = subprocess.Popen(command)
while child.poll() is None:
    ready, _, _ = select.select([master], [], [], 0.05)
    if not ready:
        continue
    try:
        chunk = os.read(master, 4096)
    except (BlockingIOError, InterruptedError):
        continue
    except OSError:  # no one holds the slave just now
        time.sleep(0.01)
        continue
    pending += chunk
    while b"PING" in pending:
        pending = pending.split(b"PING", 1)[1]
        pings += 1
        attrs = termios.tcgetattr(master)
        if attrs[5] != termios.B19200:
            failures.append("line speed is not 19200")
        if attrs[3] & (termios.ICANON | termios.ECHO):
            failures.append("line is not raw")
        os.write(master, b"PONG")

os.close(master)
for failure in failures:
    print("com_peer:", failure, file=sys.stderr)
if pings == 0:
    print("com_peer: the Windows side never sent PING", file=sys.stderr)
sys.exit(child.returncode or (1 if failures or pings == 0 else 0))
