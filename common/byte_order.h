#pragma once
// Numbers in stored binary files have an explicit byte order; they are packed
// and unpacked byte by byte, never by copying structs or native integers.
#include <bit>
#include <cstdint>
#include <string>

namespace quenzel {

enum class ByteOrder { Little, Big };

inline void putLE16(char* p, std::uint16_t v) {
  p[0] = static_cast<char>(v & 0xFFu);
  p[1] = static_cast<char>((v >> 8) & 0xFFu);
}

inline void putLE32(char* p, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) p[k] = static_cast<char>((v >> (8 * k)) & 0xFFu);
}

inline void putBE32(char* p, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) p[k] = static_cast<char>((v >> (8 * (3 - k))) & 0xFFu);
}

inline void putLE64(char* p, std::uint64_t v) {
  for (int k = 0; k < 8; ++k) p[k] = static_cast<char>((v >> (8 * k)) & 0xFFu);
}

inline void putBE64(char* p, std::uint64_t v) {
  for (int k = 0; k < 8; ++k) p[k] = static_cast<char>((v >> (8 * (7 - k))) & 0xFFu);
}

inline void putLEDouble(char* p, double v) { putLE64(p, std::bit_cast<std::uint64_t>(v)); }
inline void putBEDouble(char* p, double v) { putBE64(p, std::bit_cast<std::uint64_t>(v)); }

inline std::uint16_t getLE16(const char* p) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                    (static_cast<unsigned char>(p[1]) << 8));
}

inline std::uint32_t getLE32(const char* p) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(p[k]);
  return v;
}

inline std::uint32_t getBE32(const char* p) {
  std::uint32_t v = 0;
  for (int k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(p[k]);
  return v;
}

inline std::uint64_t getLE64(const char* p) {
  std::uint64_t v = 0;
  for (int k = 7; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(p[k]);
  return v;
}

inline std::uint64_t getBE64(const char* p) {
  std::uint64_t v = 0;
  for (int k = 0; k < 8; ++k) v = (v << 8) | static_cast<unsigned char>(p[k]);
  return v;
}

inline double getLEDouble(const char* p) { return std::bit_cast<double>(getLE64(p)); }
inline double getBEDouble(const char* p) { return std::bit_cast<double>(getBE64(p)); }

// The same in a byte order chosen at run time (a unit's order).
inline void putInt32(char* p, std::int32_t v, ByteOrder order) {
  const auto u = static_cast<std::uint32_t>(v);
  order == ByteOrder::Little ? putLE32(p, u) : putBE32(p, u);
}
inline std::int32_t getInt32(const char* p, ByteOrder order) {
  return static_cast<std::int32_t>(order == ByteOrder::Little ? getLE32(p) : getBE32(p));
}
inline void putDouble(char* p, double v, ByteOrder order) {
  order == ByteOrder::Little ? putLEDouble(p, v) : putBEDouble(p, v);
}
inline double getDouble(const char* p, ByteOrder order) {
  return order == ByteOrder::Little ? getLEDouble(p) : getBEDouble(p);
}

// Appended to a buffer that one unit then writes in one call.
inline void appendLE16(std::string& b, std::uint16_t v) {
  char p[2];
  putLE16(p, v);
  b.append(p, 2);
}
inline void appendLE32(std::string& b, std::int32_t v) {
  char p[4];
  putLE32(p, static_cast<std::uint32_t>(v));
  b.append(p, 4);
}
inline void appendBE32(std::string& b, std::int32_t v) {
  char p[4];
  putBE32(p, static_cast<std::uint32_t>(v));
  b.append(p, 4);
}
inline void appendLEDouble(std::string& b, double v) {
  char p[8];
  putLEDouble(p, v);
  b.append(p, 8);
}

}  // namespace quenzel
