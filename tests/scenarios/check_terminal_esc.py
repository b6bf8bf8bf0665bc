#!/usr/bin/env python3
"""Runs `armavo` at a terminal (a pseudo-terminal, so that it reads with line editing) and types
WPR, 0,0, Esc, LINE: Esc must cancel the point prompt at once, as Ctrl+C does, so that LINE
starts LINE; the arrow keys must still edit, and a cancel is not recalled by the Up key."""
import os, pty, select, sys, tempfile, time

program = sys.argv[1]


def read_for(fd, seconds):
    out, end = b"", time.time() + seconds
    while time.time() < end:
        ready, _, _ = select.select([fd], [], [], 0.05)
        if ready:
            try:
                out += os.read(fd, 4096)
            except OSError:
                break
    return out


with tempfile.TemporaryDirectory() as tmp:
    pid, fd = pty.fork()
    if pid == 0:
        os.execv(program, [program, "--settings", os.path.join(tmp, "settings")])
    # Esc alone, then keys whose sequences start with Esc (Left, Up) in one write each.
    typed = [b"WPR\r", b"0,0\r", b"\x1b", b"LINE\r", b"\x1b", b"ABXCD", b"\x1b[D\x1b[D\x7f\r",
             b"\x1b", b"\x1b[A\r", b"\x03", b"QUIT\r"]
    output = read_for(fd, 3.0)
    for keys in typed:
        try:
            os.write(fd, keys)
        except OSError:
            break
        # After a lone Esc the program must see no key for a while, as after a user's Esc.
        output += read_for(fd, 1.5 if keys == b"\x1b" else 0.5)
    output += read_for(fd, 2.0)
    os.close(fd)
    os.waitpid(pid, 0)
text = output.decode("utf-8", errors="replace").replace("\r", "")
checks = [
    ("Esc cancels the point prompt", "Wskaż punkt, Odsuń <Wskaż punkt>:^C"),
    ("LINE starts LINE after Esc", "Pierwszy punkt:"),
    ("the arrow keys edit the line", 'Nieznane polecenie "ABCD"'),
]
failures = [name for name, want in checks if want not in text]
# Up after an Esc recalls the line typed before it, not the cancel.
if text.count('Nieznane polecenie "ABCD"') != 2:
    failures.append("Up recalls the last line, not a cancel")
if failures:
    sys.stdout.write(text)
    print("\n".join("FAIL: " + f for f in failures))
sys.exit(1 if failures else 0)
