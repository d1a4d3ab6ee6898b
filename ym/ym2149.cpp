// replaced by the chip emulator
