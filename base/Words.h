#pragma once
// Checks of a text eight bytes at a time: a word of eight bytes is tested
// for a kind of byte in a few operations, without a branch per byte.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace tq {

inline constexpr std::uint64_t kByteOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kByteHighs = 0x8080808080808080ull;

// Non-zero when a byte of `word` is below `bound` (at most 0x80): subtracting
// sets the high bit of such a byte (bytes with their own high bit set are
// masked out), and a borrow starts only at one.
constexpr std::uint64_t BytesBelow(std::uint64_t word, unsigned bound) {
  return (word - kByteOnes * bound) & ~word & kByteHighs;
}
// Non-zero when a byte of `word` is `byte`.
constexpr std::uint64_t BytesOf(std::uint64_t word, unsigned char byte) {
  return BytesBelow(word ^ (kByteOnes * byte), 1);
}

inline std::uint64_t LoadWord(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, 8);
  return word;
}
inline std::uint64_t LoadHalfWord(const char* at) {
  std::uint32_t word;
  std::memcpy(&word, at, 4);
  return word;
}

// Whether `plain(word)` holds for every word of `text`: words of eight
// bytes, the last one overlapping the one before, or a shorter text's bytes
// (some of them twice) padded with the letter A, which no check flags.
template <class Plain>
[[gnu::always_inline]] inline bool EveryWord(std::string_view text, Plain&& plain) {
  const char* at = text.data();
  std::size_t size = text.size();
  if (size >= 8) {
    for (; size > 8; at += 8, size -= 8) {
      if (!plain(LoadWord(at))) return false;
    }
    return plain(LoadWord(at + size - 8));
  }
  std::uint64_t word = kByteOnes * 'A';
  if (size >= 4) {
    word = LoadHalfWord(at) | LoadHalfWord(at + size - 4) << 32;
  } else if (size > 0) {
    word = (word & ~std::uint64_t{0xFFFFFF}) | static_cast<unsigned char>(at[0]) |
           std::uint64_t{static_cast<unsigned char>(at[size / 2])} << 8 |
           std::uint64_t{static_cast<unsigned char>(at[size - 1])} << 16;
  }
  return plain(word);
}

}  // namespace tq
