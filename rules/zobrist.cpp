#include "rules/zobrist.h"

namespace lanterra {

namespace {
constexpr ZobristTable kTable = GenerateZobristKeys();

// The published RC4 output for an all-zero key, and the last triple drawn.
static_assert(kTable.sideKey.key == 0x418918DE && kTable.sideKey.lockA == 0x3A5D37A3 &&
              kTable.sideKey.lockB == 0x671E068A);
static_assert(kTable.pieceKeys[0][0].key == 0x6D926E57 && kTable.pieceKeys[0][0].lockA == 0xA37F1AC7 &&
              kTable.pieceKeys[0][0].lockB == 0x97EBCCF0);
static_assert(kTable.pieceKeys[13][255].key == 0x9C76B4DB && kTable.pieceKeys[13][255].lockA == 0x27D89AF5 &&
              kTable.pieceKeys[13][255].lockB == 0xC20D9CA0);
}  // namespace

constinit const ZobristTable ZOBRIST = kTable;

}  // namespace lanterra
