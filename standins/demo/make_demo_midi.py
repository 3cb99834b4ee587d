#!/usr/bin/env python3
"""Writes the demo distributable's background music: a standard MIDI file (format 0) of a few
piano notes, about two seconds long. Usage: make_demo_midi.py <output.mid>"""
import struct
import sys


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def main():
    ticks_per_quarter = 96
    events = bytearray()
    events += variable_length(0) + bytes([0xFF, 0x51, 0x03]) + (500000).to_bytes(3, "big")  # 120 bpm
    events += variable_length(0) + bytes([0xC0, 0x00])  # piano
    for note in (60, 64, 67, 72):  # C major, upwards
        events += variable_length(0) + bytes([0x90, note, 0x60])
        events += variable_length(ticks_per_quarter) + bytes([0x80, note, 0x40])
    events += variable_length(0) + bytes([0xFF, 0x2F, 0x00])  # end of track
    data = b"MThd" + struct.pack(">IHHH", 6, 0, 1, ticks_per_quarter)
    data += b"MTrk" + struct.pack(">I", len(events)) + bytes(events)
    with open(sys.argv[1], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
