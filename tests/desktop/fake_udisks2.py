#!/usr/bin/env python3
# A stand-in for udisks2 on a private bus, for the tests: one block device
# with a file system. Every Unmount call is written to a log file and
# answered as the mode says: "ok", "refuse" (not authorised) or "busy".
# Usage: fake_udisks2.py MODE LOG NODE READY_FILE
import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

MODE, LOG, NODE, READY = sys.argv[1:5]
BLOCK = "org.freedesktop.UDisks2.Block"
FILESYSTEM = "org.freedesktop.UDisks2.Filesystem"


def record(line):
    with open(LOG, "a", encoding="utf-8") as log:
        log.write(line + "\n")


class BlockDevice(dbus.service.Object):
    @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss",
                         out_signature="v")
    def Get(self, interface, name):
        if interface == BLOCK and name == "Device":
            return dbus.ByteArray(NODE.encode() + b"\0")
        raise dbus.exceptions.DBusException(
            "No such property", name="org.freedesktop.DBus.Error.InvalidArgs")

    @dbus.service.method(FILESYSTEM, in_signature="a{sv}", out_signature="")
    def Unmount(self, options):
        shown = ",".join(f"{k}={bool(v)}" for k, v in sorted(options.items()))
        record(f"Unmount {self._object_path} {shown}")
        if MODE == "refuse":
            raise dbus.exceptions.DBusException(
                "Not authorized to perform operation",
                name="org.freedesktop.UDisks2.Error.NotAuthorized")
        if MODE == "busy":
            raise dbus.exceptions.DBusException(
                "Error unmounting /dev/sr0: target is busy",
                name="org.freedesktop.UDisks2.Error.DeviceBusy")


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName("org.freedesktop.UDisks2", bus)
device = BlockDevice(bus, "/org/freedesktop/UDisks2/block_devices/" + os.path.basename(NODE))
with open(READY, "w", encoding="utf-8") as ready:
    ready.write("ready\n")
loop = GLib.MainLoop()
GLib.timeout_add_seconds(120, loop.quit)  # never outlives a stuck test
loop.run()
