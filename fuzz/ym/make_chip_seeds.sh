#!/usr/bin/env bash
# Writes the seed inputs of fuzz_chip into the folder given (see fuzz_chip.cpp
# for the byte format): one music frame, a digidrum, a volume gate, an
# envelope retrigger and a clock change to odd values.
set -euo pipefail
out=${1:?seed folder}
mkdir -p "$out"

# Register writes: opcode 00, index, value. Render: 03, n (n+1 blocks of 16).
frame='\x00\x00\x1c\x00\x01\x01\x00\x02\xfd\x00\x03\x00\x00\x04\x7b\x00\x05\x02'
frame+='\x00\x06\x07\x00\x07\x00\x00\x08\x10\x00\x09\x0d\x00\x0a\x0b'
frame+='\x00\x0b\x28\x00\x0c\x00\x00\x0d\x0a'
printf "$frame\x03\x36" >"$out/frame"
# Digidrum on voice A: 04|40, voice, length (lo, hi), 8 bytes, step byte << 12.
printf "$frame\x44\x00\x08\x00\x80\xa0\xff\xa0\x80\x60\x00\x60\x08\x03\x10" >"$out/drum"
# Volume gate on voice B at level 9, step -48695.
printf "$frame\x05\x01\x49\xff\xff\x41\xc9\x03\x36\x07\x03\x10" >"$out/gate"
# Envelope retrigger, shape 10, step -48695, then effects cleared.
printf "$frame\x06\x0a\xff\xff\x41\xc9\x03\x36\x07\x03\x10" >"$out/retrigger"
# Clock 2 MHz with output rate 0, then the frame again at 4 GHz.
printf "\x9f\x00\x1e\x84\x80\x00\x00\x00\x00$frame\x03\x04\x1f\xff\xff\xff\xff$frame\x03\x04" >"$out/clock"
