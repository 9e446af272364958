// Files for the ExpandCopy and LocateSettings tests: whole-file reads and writes, and a small compressor that
// writes the "SZDD" format the expander reads.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace zn::test {

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string SzddHeader(std::uint32_t length, char mode = 'A') {
  std::string h = "SZDD\x88\xF0\x27\x33";
  h += mode;
  h += 'I';  // the last character of the file name, left out of the compressed file's name
  for (int i = 0; i < 4; ++i) h += static_cast<char>((length >> (8 * i)) & 0xFF);
  return h;
}

// Greedy LZSS over the expander's 4096-byte window (spaces at first, writing from 4096 - 16). A
// reference may overlap the bytes it produces, as the expander copies one byte at a time.
inline std::string SzddCompress(const std::string& data) {
  constexpr std::size_t kN = 4096;
  std::array<unsigned char, kN> window;
  window.fill(' ');
  std::size_t pos = kN - 16;
  std::string out = SzddHeader(static_cast<std::uint32_t>(data.size()));
  std::size_t i = 0;
  while (i < data.size()) {
    const std::size_t flagAt = out.size();
    out += '\0';
    unsigned char flags = 0;
    for (int bit = 0; bit < 8 && i < data.size(); ++bit) {
      std::size_t bestLen = 0, bestOff = 0;
      for (std::size_t off = 0; off < kN; ++off) {
        std::size_t back = (pos - off) & (kN - 1);
        if (back == 0) back = kN;
        std::size_t len = 0;
        while (len < 18 && i + len < data.size()) {
          const unsigned char b =
              len < back ? window[(off + len) & (kN - 1)] : static_cast<unsigned char>(data[i + len - back]);
          if (b != static_cast<unsigned char>(data[i + len])) break;
          ++len;
        }
        if (len > bestLen) bestLen = len, bestOff = off;
      }
      if (bestLen >= 3) {
        out += static_cast<char>(bestOff & 0xFF);
        out += static_cast<char>(((bestOff >> 4) & 0xF0) | (bestLen - 3));
      } else {
        bestLen = 1;
        flags |= static_cast<unsigned char>(1u << bit);
        out += data[i];
      }
      for (std::size_t k = 0; k < bestLen; ++k, ++i) {
        window[pos] = static_cast<unsigned char>(data[i]);
        pos = (pos + 1) & (kN - 1);
      }
    }
    out[flagAt] = static_cast<char>(flags);
  }
  return out;
}

}  // namespace zn::test
