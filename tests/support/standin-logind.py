#!/usr/bin/python3
# A stand-in systemd-logind for tests, on the bus whose address is in DBUS_SYSTEM_BUS_ADDRESS.
# It reads what it knows from the JSON file named by its first argument at every call:
#   {"sessions": ["c7", ...], "sessionOfPid": {"1234": "c7"}, "displaySession": "c7",
#    "refuse": false}
# and appends each call to the file named by its second argument ("GetSession c7", "Terminate c7").
# Once it owns its name it creates the file named by its third argument.
import json
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

CONFIG, LOG, READY = sys.argv[1:4]
ROOT = "/org/freedesktop/login1"


def config():
    with open(CONFIG) as file:
        return json.load(file)


def record(line):
    with open(LOG, "a") as file:
        file.write(line + "\n")


def session_path(identifier):
    return dbus.ObjectPath(ROOT + "/session/s_" + identifier)


class Failure(dbus.DBusException):
    def __init__(self, name, message):
        super().__init__(message)
        self._dbus_error_name = name


class Manager(dbus.service.Object):
    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="s", out_signature="o")
    def GetSession(self, identifier):
        record("GetSession " + identifier)
        if identifier not in config().get("sessions", []):
            raise Failure("org.freedesktop.login1.NoSuchSession", "no session " + identifier)
        return session_path(identifier)

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="u", out_signature="o")
    def GetSessionByPID(self, pid):
        record("GetSessionByPID")
        identifier = config().get("sessionOfPid", {}).get(str(pid))
        if identifier is None:
            raise Failure("org.freedesktop.login1.NoSessionForPID", "no session for " + str(pid))
        return session_path(identifier)

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="u", out_signature="o")
    def GetUser(self, uid):
        record("GetUser")
        return dbus.ObjectPath(ROOT + "/user/_" + str(uid))


class Users(dbus.service.FallbackObject):
    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        identifier = config().get("displaySession", "")
        path = session_path(identifier) if identifier else dbus.ObjectPath("/")
        return dbus.Struct((identifier, path), signature="so", variant_level=1)


class Sessions(dbus.service.FallbackObject):
    @dbus.service.method("org.freedesktop.login1.Session", in_signature="", out_signature="",
                         rel_path_keyword="path")
    def Terminate(self, path):
        identifier = path.rsplit("/s_", 1)[-1]
        record("Terminate " + identifier)
        if config().get("refuse", False):
            raise Failure("org.freedesktop.DBus.Error.AccessDenied", "not allowed")


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SystemBus()
name = dbus.service.BusName("org.freedesktop.login1", bus)
objects = [Manager(bus, ROOT), Users(bus, ROOT + "/user"), Sessions(bus, ROOT + "/session")]
open(READY, "w").close()
GLib.MainLoop().run()
