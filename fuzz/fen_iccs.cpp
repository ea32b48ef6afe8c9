// A FEN on the input's first line, ICCS moves on the rest. A FEN that reads
// gives a position the invariant checker accepts, whose keys and sums equal
// those of the same pieces placed afresh, and which its own FEN reads back
// to byte for byte; one that does not read gives a reason and leaves the
// position alone. Each move then plays exactly when it is legal, and a
// refused one changes nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"

using namespace lanterra;

namespace {

bool SameBytes(const Position& a, const Position& b) { return std::memcmp(&a, &b, sizeof(Position)) == 0; }

// The words of text split at blanks, at most limit of them.
template <typename Visit>
void ForEachWord(std::string_view text, int limit, Visit visit) {
  size_t at = 0;
  for (int n = 0; n < limit; ++n) {
    at = text.find_first_not_of(" \t\r\n", at);
    if (at == std::string_view::npos) return;
    const size_t end = std::min(text.find_first_of(" \t\r\n", at), text.size());
    visit(text.substr(at, end - at));
    at = end;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const size_t newline = std::min(text.find('\n'), text.size());
  const std::string_view fen = text.substr(0, newline);
  const std::string_view moves = text.substr(std::min(newline + 1, text.size()));

  // 1. The FEN.
  static const Position untouched = [] {
    Position p;
    p.SetUpStart(0);
    return p;
  }();
  Position pos = untouched;
  std::string error;
  if (!ParseFen(fen, pos, error)) {
    fuzz::Check(!error.empty() && SameBytes(pos, untouched), "a FEN that does not read gives a reason, changes nothing");
    return 0;
  }
  fuzz::Check(pos.IsConsistent(), "a position read from a FEN is consistent");

  // 2. The same pieces placed afresh.
  Position fresh;
  fresh.ClearPosition();
  for (int sq = 0; sq < 256; ++sq)
    if (pos.squares[sq]) fresh.PlacePiece(Square(sq), pos.squares[sq]);
  if (pos.side == SIDE_BLACK) fresh.ToggleSide();
  fuzz::Check(fresh.zobrist == pos.zobrist && fresh.redScore == pos.redScore && fresh.blackScore == pos.blackScore,
              "keys and sums equal those of the pieces placed afresh");

  // 3. Its own FEN.
  const std::string written = ToFen(pos);
  Position again;
  fuzz::Check(ParseFen(written, again, error), "a written FEN reads");
  fuzz::Check(SameBytes(again, pos), "a written FEN reads back to the same position");
  fuzz::Check(ToFen(again) == written, "a FEN read back writes the same");

  // 4. The moves, in turn.
  ForEachWord(moves, 64, [&](std::string_view word) {
    const Move mv = ParseIccsMove(word);
    if (mv == 0) return;
    fuzz::Check(ParseIccsMove(IccsMove(mv)) == mv, "a move's ICCS text reads back as the move");
    const bool legal = fuzz::IsLegal(pos, mv);
    const Position before = pos;
    const bool played = PlayLongGameMove(pos, mv);
    fuzz::Check(played == legal, "a move plays exactly when it is legal");
    fuzz::Check(played ? pos.IsConsistent() : SameBytes(pos, before), "a refused move changes nothing");
  });
  return 0;
}
