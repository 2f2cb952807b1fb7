#!/usr/bin/env python3
"""Prints the CRC-16/MODBUS table of tests/link/crc_vectors_test.cpp.

A second implementation, written apart from link/crc16.cpp: one input bit at a time through the
reflected shift register. Run once by hand when a vector is added; the tests never run Python.
"""


def crc16_modbus(data: bytes) -> int:
    reg = 0xFFFF
    for byte in data:
        for bit in range(8):  # least significant bit first
            feedback = (reg ^ (byte >> bit)) & 1
            reg >>= 1
            if feedback:
                reg ^= 0xA001
    return reg


def pattern(n: int, mul: int, add: int) -> bytes:
    return bytes((i * mul + add) % 256 for i in range(n))


# (name, bytes, the same bytes as a C++ expression of the test)
VECTORS = [
    ("empty", b"", "{}"),
    ("one zero byte", b"\x00", "{0x00}"),
    ("one 0xFF byte", b"\xff", "{0xFF}"),
    ("check string", b"123456789", 'Ascii("123456789")'),
    ("read one register at 0 from 247", bytes([0xF7, 0x03, 0x00, 0x00, 0x00, 0x01]), None),
    ("write 0 to 0xFFFF at 247", bytes([0xF7, 0x06, 0xFF, 0xFF, 0x00, 0x00]), None),
    ("type code answer", bytes([0xF7, 0x03, 0x02, 0x00, 0x0B]), None),
    ("refused single write", bytes([0xF7, 0x86, 0x02]), None),
    ("read the parameter block from 1", bytes([0x01, 0x03, 0x00, 0x00, 0x00, 0x18]), None),
    ("clock set 09:05:07 3.2.19", bytes([0xF7, 0x10, 0x00, 0x07, 0x00, 0x06, 0x0C,
                                         0, 9, 0, 5, 0, 7, 0, 3, 0, 2, 0, 19]), None),
    ("bytes 0..255", pattern(256, 1, 0), "Pattern(256, 1, 0)"),
    ("12900 bytes (7i + 3) mod 256", pattern(12900, 7, 3), "Pattern(12900, 7, 3)"),
    ("12900 bytes 0xFF", b"\xff" * 12900, "Pattern(12900, 0, 0xFF)"),
]


def main() -> None:
    for name, data, expression in VECTORS:
        if expression is None:
            expression = "{" + ", ".join(f"0x{b:02X}" for b in data) + "}"
        print(f'    {{"{name}", {expression}, 0x{crc16_modbus(data):04X}}},')


if __name__ == "__main__":
    main()
