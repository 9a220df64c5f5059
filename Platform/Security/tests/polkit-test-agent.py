#!/usr/bin/python3
# A polkit authentication agent for unattended runs, standing in for the desktop's dialog. It
# serves the process PID, and every process started later whose program is one of the NAMEs, and
# answers each request the same way: ANSWER is the password it gives for the first identity polkit
# offers (through polkit-agent-helper-1, as a desktop agent does) or "cancel" to dismiss the
# dialog. Each request adds "asked ACTION by PROGRAM" to LOG; READY is made once it serves PID.
# It ends when neither PID nor a named process is left, or with the bus.
#   polkit-test-agent LOG ANSWER READY PID [NAME...]
import os
import pwd
import subprocess
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

log, answer, ready, first = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
names = set(sys.argv[5:])
AGENT = "org.freedesktop.PolicyKit1.AuthenticationAgent"
PATH = "/org/orvella/TestAgent"


def program(pid):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as cmdline:
            return os.path.basename(cmdline.read().split(b"\0")[0].decode())
    except OSError:
        return None


def start_time(pid):
    with open("/proc/%d/stat" % pid) as stat:
        return int(stat.read().rsplit(")", 1)[1].split()[19])


class Agent(dbus.service.Object):
    @dbus.service.method(AGENT, in_signature="sssa{ss}sa(sa{sv})", out_signature="")
    def BeginAuthentication(self, action, message, icon, details, cookie, identities):
        asking = program(int(details.get("polkit.subject-pid", 0) or 0)) or "?"
        with open(log, "a") as record:
            record.write("asked %s by %s\n" % (action, asking))
        if answer == "cancel":
            raise dbus.exceptions.DBusException("dismissed", name="org.freedesktop.PolicyKit1.Error.Cancelled")
        uid = next(int(identity[1]["uid"]) for identity in identities if identity[0] == "unix-user")
        helper = subprocess.Popen(["/usr/lib/polkit-1/polkit-agent-helper-1", pwd.getpwuid(uid).pw_name],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        helper.stdin.write(cookie + "\n")
        helper.stdin.flush()
        for line in helper.stdout:
            if line.startswith("PAM_PROMPT_ECHO"):
                helper.stdin.write(answer + "\n")
                helper.stdin.flush()
            elif line.startswith(("SUCCESS", "FAILURE")):
                break
        helper.wait()

    @dbus.service.method(AGENT, in_signature="s", out_signature="")
    def CancelAuthentication(self, cookie):
        pass


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SystemBus()
Agent(bus, PATH)
authority = dbus.Interface(bus.get_object("org.freedesktop.PolicyKit1", "/org/freedesktop/PolicyKit1/Authority"),
                           "org.freedesktop.PolicyKit1.Authority")
served = {}


def serve(pid):
    try:
        subject = ("unix-process", {"pid": dbus.UInt32(pid), "start-time": dbus.UInt64(start_time(pid))})
        authority.RegisterAuthenticationAgent(subject, "en_US.UTF-8", PATH)
        served[pid] = True
    except (OSError, dbus.exceptions.DBusException):
        pass


def look_around():
    for entry in os.listdir("/proc"):
        if entry.isdigit() and int(entry) not in served and program(int(entry)) in names:
            serve(int(entry))
    if not any(os.path.exists("/proc/%d" % pid) for pid in served):
        loop.quit()
    return True


serve(first)
open(ready, "w").close()
loop = GLib.MainLoop()
GLib.timeout_add(10, look_around)
loop.run()
