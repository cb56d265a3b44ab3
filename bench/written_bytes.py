#!/usr/bin/env python3
"""Runs a command and prints what it wrote through write() in all, from the
kernel's count in /proc/PID/io (wchar), read after it ends but before it is
reaped, with its wall seconds: "wchar seconds". Standard output goes to the
file named first, so the caller can take the result's size from the total
and keep what went to temporary files."""
import os
import sys
import time

out, command = sys.argv[1], sys.argv[2:]
start = time.monotonic()
pid = os.fork()
if pid == 0:
    fd = os.open(out, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    os.dup2(fd, 1)
    os.execvp(command[0], command)
os.waitid(os.P_PID, pid, os.WEXITED | os.WNOWAIT)
seconds = time.monotonic() - start
with open(f"/proc/{pid}/io") as io:
    wchar = next(int(line.split()[1]) for line in io if line.startswith("wchar:"))
_, status = os.waitpid(pid, 0)
if status != 0:
    sys.exit(f"{command[0]} failed: status {status}")
print(wchar, f"{seconds:.2f}")
