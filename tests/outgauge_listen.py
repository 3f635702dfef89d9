#!/usr/bin/env python3
"""A UDP listener on 127.0.0.1 for the OutGauge tests of the real program.

Binds a free port, writes its number to PORT_FILE, then writes one line per
datagram to OUT_FILE until it is terminated:
    size time car flags gear speed rpm id
(id is - for a 92-byte packet; anything but 92 or 96 bytes gives only its size).

    outgauge_listen.py PORT_FILE OUT_FILE
"""

import os
import signal
import socket
import struct
import sys

BODY = struct.Struct("<I4sHBBfff")  # Time, Car, Flags, Gear, PLID, Speed, RPM, Turbo


def main(port_file, out_file):
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.bind(("127.0.0.1", 0))
    with open(out_file, "w", buffering=1) as out:
        with open(port_file + ".part", "w") as f:
            f.write("%d\n" % sock.getsockname()[1])
        # Renamed into place so the test never reads half a number.
        os.rename(port_file + ".part", port_file)
        while True:
            data = sock.recv(512)
            if len(data) not in (92, 96):
                out.write("%d\n" % len(data))
                continue
            time, car, flags, gear, _, speed, rpm, _ = BODY.unpack_from(data)
            pid = struct.unpack_from("<i", data, 92)[0] if len(data) == 96 else "-"
            out.write("%d %d %s %d %d %.3f %.1f %s\n" % (len(data), time, car.decode("ascii", "replace"),
                                                        flags, gear, speed, rpm, pid))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
