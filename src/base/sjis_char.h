#pragma once

namespace tavo {

// Bytes that start a two-byte Shift-JIS (code page 932) character.
inline bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Bytes that may follow a lead byte.
inline bool IsSjisTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

}  // namespace tavo
