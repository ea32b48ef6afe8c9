// Move text in Chinese (traditional and simplified), WXF and ICCS notation,
// read and written against positions the input chooses: any text reads as a
// legal move or as none, with a reason; every legal move written in every
// notation reads back as itself and has that notation's shape; and writing
// a move that is not legal never crashes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "notation/move_notation.h"

using namespace lanterra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const Position pos = fuzz::ChoosePosition(input);
  const Move anyMove = MoveOf(input.ConsumeIntegral<uint8_t>(), input.ConsumeIntegral<uint8_t>());
  const std::string text = input.ConsumeRemainingBytesAsString();
  constexpr Notation NOTATIONS[] = {Notation::CHINESE, Notation::SIMPLIFIED, Notation::WXF, Notation::ICCS};

  // 1. The text, in each notation and in the one its shape suggests.
  std::string error;
  for (Notation notation : NOTATIONS) {
    error.clear();
    const Move mv = ReadMove(pos, text, notation, error);
    fuzz::Check(mv ? fuzz::IsLegal(pos, mv) : !error.empty(), "a text reads as a legal move or gives a reason");
  }
  error.clear();
  const Move detected = ReadMove(pos, text, error);
  fuzz::Check(detected ? fuzz::IsLegal(pos, detected) : !error.empty(),
              "a text in any notation reads as a legal move or gives a reason");

  // 2. Every legal move, written, read back, and seen to be in the notation
  //    it is written in.
  Move legal[MAX_MOVES_PER_POSITION];
  const int count = LegalMoves(pos, legal);
  for (int i = 0; i < count; ++i) {
    for (Notation notation : NOTATIONS) {
      const std::string written = WriteMove(pos, legal[i], notation);
      fuzz::Check(!written.empty(), "every legal move can be written");
      fuzz::Check(ReadMove(pos, written, notation, error) == legal[i], "a written move reads back");
      const Notation shape = notation == Notation::SIMPLIFIED ? Notation::CHINESE : notation;
      fuzz::Check(DetectNotation(written) == shape, "a written move has the shape of its notation");
    }
  }

  // 3. A move the position need not allow, even off the board.
  for (Notation notation : NOTATIONS) WriteMove(pos, anyMove, notation);
  return 0;
}
