#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz entries into <folder>/<entry>/: the inputs the tests use,
in each entry's input format (receive_fuzz's own seeds come from tests/link/receive_seeds.py).
The repository keeps only the corpora minimised from these (scripts/fuzz.sh --merge)."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "link"))
import receive_seeds  # noqa: E402


def crc16(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def sealed(frame):
    return bytes(frame) + struct.pack("<H", crc16(frame))


def chunks(stream, size=63, quiet_at_end=True):
    """The framer entry's chunks: header (length, bit 7 = quiet after) and bytes."""
    out = b""
    for i in range(0, len(stream), size):
        part = stream[i:i + size]
        last = i + size >= len(stream)
        out += bytes([len(part) | (0x80 if last and quiet_at_end else 0)]) + part
    return out


def firmware(size):
    """The firmware entry's input: the file size, then a pattern that fills it."""
    return struct.pack("<H", size) + bytes(((i * 7 + i // 251) & 0xFF) for i in range(509))


def seeds():
    out = {"receive": receive_seeds.seeds()}
    image = open(os.path.join(HERE, "..", "config", "golden", "sample.bin"), "rb").read()
    # The configuration's first 4 KB raw; whole files by their size: the corpus stays small.
    out["parse_image"] = {
        "sample_start_raw": bytes([0]) + image[:4000],
        "sample_sized_file": bytes([2]) + struct.pack("<H", len(image)) + image[:4000],
        "short_file": bytes([2]) + struct.pack("<H", 1000) + image[:100],
        "long_file": bytes([2]) + struct.pack("<H", len(image) + 1),
        "rich_patch_counts": bytes([1, 0, 0, 255, 0, 1, 255]),
    }
    out["lcd_codec"] = {"every_byte": bytes(range(256)), "group_names": image[0x2000:0x2100]}
    out["port_file"] = {
        "eleven_ports": "".join("COM%d%s" % (i, " \r\n" if i == 2 else "\n") for i in range(1, 12)).encode(),
        "one_port": b"COM4",
        "empty": b"",
        "cr_lines": b"COM1\r\r\nCOM7\r\n\r\n/dev/ttyUSB0\n",
    }
    out["firmware_file"] = {"size_%d" % n: firmware(n) for n in (0, 61441, 61442, 61443, 62000, 63484, 63490, 63491)}
    read = sealed([247, 3, 0, 0, 0, 24])
    write = sealed([247, 6, 0, 17, 0xA9, 0x80])
    block = sealed([247, 0x10, 0x0F, 0x00, 0, 1, 192] + [i & 0xFF for i in range(192)])
    page = sealed([i & 0xFF for i in range(512)] + [5])
    aux = sealed([0x5A] * 16 + [3])
    finish = sealed([0] * 6)
    out["request_framer"] = {
        "reads_and_writes": bytes([0]) + chunks(read + write + read),
        "block_write": bytes([0]) + chunks(block),
        "garbage_then_read": bytes([0]) + chunks(b"\xff\x00\x13" + read),
        "unknown_function": bytes([0]) + chunks(sealed([247, 0x2B, 0x0E, 1, 0])),
        "loader_frames": bytes([1]) + chunks(page + aux + finish),
        "switch_to_loader": bytes([0]) + chunks(read) + bytes([0x40 | len(aux)]) + aux,
    }
    return out


def main():
    for entry, files in seeds().items():
        folder = os.path.join(sys.argv[1], entry)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
