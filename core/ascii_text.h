// Letter case of 8-bit text as the stored formats know it: only a..z and A..Z are letters;
// every other byte, those above 127 included, stays as it is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

inline char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Without a branch per byte, so the compiler can do many bytes at a time.
inline void UpperCaseAsciiInPlace(char* text, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    text[i] = static_cast<char>(c - (static_cast<unsigned char>(c - 'a') < 26 ? 'a' - 'A' : 0));
  }
}

inline std::string UpperCaseAscii(std::string_view text) {
  std::string upper(text);
  UpperCaseAsciiInPlace(upper.data(), upper.size());
  return upper;
}

}  // namespace core
