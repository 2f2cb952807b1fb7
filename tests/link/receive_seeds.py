#!/usr/bin/env python3
"""Writes seed inputs for receive_fuzz into a folder: for each operation, the replies a panel gives
(the shapes the link and service tests use), in the entry's input format. The entry appends the
CRC of a reply whose flag byte has bit 7 set."""
import os
import struct
import sys

ADDR = 247  # the tool's default device address
SEAL, SPLIT, IMAGE_BLOCK, ACTION = 0x80, 0x40, 0x20, 0x10
HERE = os.path.dirname(os.path.abspath(__file__))

CONFIG_READ, CONFIG_WRITE, LAST15, RECORD_COUNT, DOWNLOAD, MONITOR, PARAM_QUERY, PARAM_WRITE, UPGRADE, SEARCH = range(10)


def reply(payload, flags=SEAL):
    return bytes([flags, len(payload)]) + bytes(payload)


def read_reply(data, addr=ADDR):
    return reply([addr, 3, len(data)] + list(data))


def regs(*values):
    return b"".join(struct.pack(">H", v) for v in values)


def record(i):
    # source, event code, time and date fields: varied per record as the archive tests do
    return bytes([i % 256, (i * 7) % 256, 1 + i % 90, i % 24, i % 60, (i * 7) % 60, 1 + i % 28, 1 + i % 12,
                  (20 + i) % 100, (i * 3) % 256, 0x0A, i % 5])


def seeds():
    out = {}
    image = open(os.path.join(HERE, "..", "config", "golden", "sample.bin"), "rb").read()
    blocks = b"".join(read_reply(image[p * 64:p * 64 + 192]) for p in range(0, 202, 3))
    out["config_read"] = bytes([CONFIG_READ, 0]) + reply([], SEAL | IMAGE_BLOCK) * 68
    out["config_read_replies"] = bytes([CONFIG_READ, 0]) + blocks
    out["config_read_short_block"] = bytes([CONFIG_READ, 0]) + read_reply(image[:100]) + blocks[:400]
    ack = reply([ADDR, 0x10, 0x0F, 0x00, 0x00, 0x01])
    out["config_write"] = bytes([CONFIG_WRITE, 0]) + ack * 68 + reply([ADDR, 6, 0xFF, 0xFF, 0, 0])
    out["last15"] = (bytes([LAST15, 0]) + read_reply(regs(40)) + read_reply(regs(8231, 8192)) +
                     b"".join(read_reply(record(i)) for i in range(15)))
    out["last15_wrapped"] = (bytes([LAST15, 0]) + read_reply(regs(1500)) + read_reply(regs(8195, 9600)) +
                             b"".join(read_reply(record(i)) for i in range(15)))
    out["record_count"] = bytes([RECORD_COUNT, 0]) + read_reply(regs(1234))
    out["download"] = (bytes([DOWNLOAD, 0]) + read_reply(regs(8231, 8192)) +
                       read_reply(b"".join(record(i) for i in range(20))) +
                       read_reply(b"".join(record(i) for i in range(20, 40))))
    status = regs(0x000B, ADDR, 8, 0, 0, 0, 40, 12, 30, 15, 17, 5, 24, 1, 2, 1, 2, 128, 28799, 3, 8, 0, 10)
    out["monitor"] = (bytes([MONITOR, 0]) + read_reply(status) + read_reply(regs(8200)) + read_reply(regs(8201)) +
                      read_reply(record(3)) + read_reply(regs(8201)))
    params = regs(0x000B, ADDR, 8, 0, 0, 0, 40, 12, 30, 15, 17, 5, 24, 1, 2, 1, 2, 128, 28799, 3, 8, 0, 10, 100)
    out["parameter_query"] = bytes([PARAM_QUERY, 0]) + read_reply(params)
    out["parameter_query_split"] = bytes([PARAM_QUERY, 0, SEAL | SPLIT]) + read_reply(params)[1:]
    writes = {0: (2, 8), 1: (1, 9), 2: (17, 0xA900 + 130), 3: (19, 3), 4: (18, 28801), 5: (23, 40), 6: (13, 2), 7: (7, 12)}
    for detail, (register, value) in writes.items():
        out["parameter_write_%d" % detail] = bytes([PARAM_WRITE, detail]) + reply([ADDR, 6] + list(regs(register, value)))
    out["upgrade"] = bytes([UPGRADE, 0]) + reply([0x07, 0xA5], 0) * 150
    out["search"] = bytes([SEARCH, 1]) + reply([], SEAL) + reply([2, 3, 2, 0, 0x0B])
    # Controls worked while an operation runs: a search taking over a read, a parameter query
    # during monitoring, a record count during the download.
    out["search_takes_over_config_read"] = (bytes([CONFIG_READ, 0]) + reply([], SEAL | IMAGE_BLOCK) * 3 +
                                            reply([SEARCH, 2], ACTION) + reply([2, 3, 2, 0, 0x0B]))
    out["query_while_monitoring"] = (bytes([MONITOR, 0]) + read_reply(status) +
                                     reply([PARAM_QUERY, 0, ADDR, 3, 2, 0x20, 0x08], SEAL | ACTION) +
                                     read_reply(params))
    out["count_during_download"] = (bytes([DOWNLOAD, 0]) + read_reply(regs(8231, 8192)) +
                                     reply([RECORD_COUNT, 0] + [ADDR, 3, 240] + list(b"".join(record(i) for i in range(20))), SEAL | ACTION) +
                                     read_reply(regs(7)))
    out["exception_reply"] = bytes([PARAM_QUERY, 0]) + reply([ADDR, 0x83, 2])
    return out


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds().items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
