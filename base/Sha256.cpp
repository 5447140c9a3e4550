#include "base/Sha256.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define TQ_SHA_EXTENSIONS 1
#endif

namespace tq {
namespace {

constexpr std::array<std::uint32_t, 64> kRound = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
    0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
    0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
    0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
    0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
    0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
    0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
    0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
    0xc67178f2};

void Compress(std::array<std::uint32_t, 8>& state, const unsigned char* block) {
  std::array<std::uint32_t, 64> w;
  for (int i = 0; i < 16; ++i) {
    w[i] = std::uint32_t{block[4 * i]} << 24 | std::uint32_t{block[4 * i + 1]} << 16 |
           std::uint32_t{block[4 * i + 2]} << 8 | std::uint32_t{block[4 * i + 3]};
  }
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 = std::rotr(w[i - 15], 7) ^ std::rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = std::rotr(w[i - 2], 17) ^ std::rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  auto [a, b, c, d, e, f, g, h] = state;
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t t1 = h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) +
                             ((e & f) ^ (~e & g)) + kRound[i] + w[i];
    const std::uint32_t t2 =
        (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  const std::array<std::uint32_t, 8> add = {a, b, c, d, e, f, g, h};
  for (int i = 0; i < 8; ++i) state[i] += add[i];
}

void CompressPortable(std::array<std::uint32_t, 8>& state, const unsigned char* data,
                      std::size_t blocks) {
  for (; blocks > 0; --blocks, data += 64) Compress(state, data);
}

#ifdef TQ_SHA_EXTENSIONS
// The same with the processor's SHA instructions, four rounds a step; the
// state lives in two registers as ABEF and CDGH.
__attribute__((target("sha,sse4.1,ssse3"))) void CompressWithShaExtensions(
    std::array<std::uint32_t, 8>& state, const unsigned char* data, std::size_t blocks) {
  const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(&state[0])), 0xB1);
  __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(&state[4])), 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  for (; blocks > 0; --blocks, data += 64) {
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i words[4];  // words[i % 4]: the message words 4i..4i+3
    // Unrolled, the words stay in registers and the next steps' words are
    // made while the rounds run.
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i) {
      __m128i w;
      if (i < 4) {
        w = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i)),
                             byteOrder);
      } else {
        w = _mm_sha256msg1_epu32(words[i & 3], words[(i + 1) & 3]);
        w = _mm_add_epi32(w, _mm_alignr_epi8(words[(i + 3) & 3], words[(i + 2) & 3], 4));
        w = _mm_sha256msg2_epu32(w, words[(i + 3) & 3]);
      }
      words[i & 3] = w;
      __m128i k = _mm_add_epi32(w, _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kRound[4 * i])));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
      k = _mm_shuffle_epi32(k, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, k);
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

bool HasShaExtensions() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSE4_1) || !(c & bit_SSSE3)) return false;
  return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_SHA);
}
#endif

}  // namespace

bool Sha256HasFastPath() {
#ifdef TQ_SHA_EXTENSIONS
  static const bool has = HasShaExtensions();
  return has;
#else
  return false;
#endif
}

namespace {

using CompressFunction = void (*)(std::array<std::uint32_t, 8>&, const unsigned char*, std::size_t);
using State = std::array<std::uint32_t, 8>;
constexpr State kInitialState = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

CompressFunction CompressFor(bool portable) {
#ifdef TQ_SHA_EXTENSIONS
  if (!portable && Sha256HasFastPath()) return CompressWithShaExtensions;
#endif
  (void)portable;
  return CompressPortable;
}

// The sum of `bytes`, whose whole blocks before `from` (a multiple of 64)
// `state` has taken in already.
std::string Finish(State state, std::string_view bytes, std::size_t from, CompressFunction compress) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t whole = bytes.size() / 64 * 64;
  compress(state, data + from, (whole - from) / 64);
  // The last bytes, a 1 bit, zeros and the length in bits fill one or two
  // more blocks.
  std::array<unsigned char, 128> tail{};
  const std::size_t left = bytes.size() - whole;
  if (left > 0) std::memcpy(tail.data(), data + whole, left);
  tail[left] = 0x80;
  const std::size_t tailSize = left < 56 ? 64 : 128;
  const std::uint64_t bits = std::uint64_t{bytes.size()} * 8;
  for (int i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  compress(state, tail.data(), tailSize / 64);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint32_t word : state) {
    for (int shift = 28; shift >= 0; shift -= 4) hex += kHex[(word >> shift) & 0xF];
  }
  return hex;
}

}  // namespace

std::string Sha256Hex(std::string_view bytes, bool portable) {
  return Finish(kInitialState, bytes, 0, CompressFor(portable));
}

std::pair<std::string, std::string> Sha256HexOfPrefixAndWhole(std::string_view bytes,
                                                              std::size_t prefix) {
  const CompressFunction compress = CompressFor(false);
  const std::string_view head = bytes.substr(0, prefix);
  State shared = kInitialState;
  const std::size_t blocks = head.size() / 64;
  compress(shared, reinterpret_cast<const unsigned char*>(bytes.data()), blocks);
  return {Finish(shared, head, blocks * 64, compress), Finish(shared, bytes, blocks * 64, compress)};
}

}  // namespace tq
