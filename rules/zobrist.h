// Zobrist keys. The words come from the RC4 stream with an all-zero key, so
// they are the same in every build; the opening book stores lockB values made
// with exactly these keys, which is why a single changed bit would make the
// book unreachable.
#pragma once

#include <array>
#include <cstdint>

#include "rules/types.h"

namespace lanterra {

struct ZobristKey {
  uint32_t key = 0;    // chooses the table slot; repetition compares it
  uint32_t lockA = 0;  // verifies table entries
  uint32_t lockB = 0;  // verifies table entries and finds book entries

  constexpr void Xor(const ZobristKey& other) {
    key ^= other.key;
    lockA ^= other.lockA;
    lockB ^= other.lockB;
  }
  friend constexpr bool operator==(const ZobristKey&, const ZobristKey&) = default;
};

struct ZobristTable {
  ZobristKey sideKey;
  std::array<std::array<ZobristKey, 256>, 14> pieceKeys;
};

// Row of a piece code: red 8..14 use rows 0..6, black 16..22 rows 7..13.
// A black code is 8 above the red one of its kind and needs a row only 7
// further on, so subtracting its side as well needs no test of the side.
constexpr int ZobristIndex(PieceCode code) { return code - 8 - SideOf(code); }
static_assert(ZobristIndex(8) == 0 && ZobristIndex(14) == 6 && ZobristIndex(16) == 7 && ZobristIndex(22) == 13);

// RC4 used only as a fixed number stream.
class KeyStream {
 public:
  constexpr KeyStream() {
    for (int i = 0; i < 256; ++i) state[i] = uint8_t(i);
    int j = 0;
    for (int i = 0; i < 256; ++i) {
      j = (j + state[i]) & 255;
      Swap(i, j);
    }
  }
  constexpr uint8_t NextByte() {
    x = (x + 1) & 255;
    y = (y + state[x]) & 255;
    Swap(x, y);
    return state[(state[x] + state[y]) & 255];
  }
  // The first byte drawn is the least significant.
  constexpr uint32_t NextWord() {
    uint32_t w = NextByte();
    w |= uint32_t(NextByte()) << 8;
    w |= uint32_t(NextByte()) << 16;
    w |= uint32_t(NextByte()) << 24;
    return w;
  }

 private:
  constexpr void Swap(int i, int j) {
    uint8_t t = state[i];
    state[i] = state[j];
    state[j] = t;
  }
  std::array<uint8_t, 256> state{};
  int x = 0;
  int y = 0;
};

// Draws sideKey first, then every row and square, each triple as key, lockA,
// lockB: 43,020 stream bytes in all.
constexpr ZobristTable GenerateZobristKeys() {
  ZobristTable table{};
  KeyStream stream;
  auto draw = [&stream](ZobristKey& k) {
    k.key = stream.NextWord();
    k.lockA = stream.NextWord();
    k.lockB = stream.NextWord();
  };
  draw(table.sideKey);
  for (auto& row : table.pieceKeys)
    for (auto& triple : row) draw(triple);
  return table;
}

// Built at compile time (in zobrist.cpp), so the table exists before any
// code runs and no start-up call is needed.
extern const ZobristTable ZOBRIST;

}  // namespace lanterra
