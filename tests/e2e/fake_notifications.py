"""A desktop notification service for tests: owns org.freedesktop.Notifications
on the session bus and writes the body of every notification it is handed,
one line each, to the file named as its argument. Writes READY there first."""
import sys

import dbus
import dbus.service
import dbus.mainloop.glib
from gi.repository import GLib

IFACE = "org.freedesktop.Notifications"


class Notifications(dbus.service.Object):
    def __init__(self, bus, out):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.out = out
        self.count = 0

    @dbus.service.method(IFACE, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.count += 1
        with open(self.out, "a", encoding="utf-8") as f:
            f.write(f"{app}|{summary}|{body}\n")
        return self.count

    @dbus.service.method(IFACE, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(IFACE, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ("test-notifications", "netglobe-tests", "1", "1.2")


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(IFACE, bus)
    service = Notifications(bus, sys.argv[1])
    with open(sys.argv[1], "a", encoding="utf-8") as f:
        f.write("READY\n")
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
