// The round trip the notation tests share: every legal move of a position,
// written in traditional and simplified Chinese and in WXF, reads back as
// itself.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "notation/chinese_notation.h"
#include "notation/fen_iccs.h"
#include "notation/wxf_notation.h"
#include "rules/position.h"

namespace lanterra::test {

// Adds the moves checked to checked. The first move that does not read back
// is a fatal failure, so that a broken form is reported once, not for every
// position; callers wrap the call in ASSERT_NO_FATAL_FAILURE.
inline void CheckLegalMovesReadBack(const Position& pos, long& checked) {
  Move legal[MAX_MOVES_PER_POSITION];
  const std::span<const Move> list(legal, size_t(LegalMoves(pos, legal)));
  std::string error;
  for (const Move mv : list) {
    for (ChineseScript script : {ChineseScript::TRADITIONAL, ChineseScript::SIMPLIFIED}) {
      const std::string text = ChineseMove(pos, mv, script);
      ASSERT_EQ(ParseChineseMove(pos, list, text, error), mv) << ToFen(pos) << " " << text << ": " << error;
    }
    const std::string wxf = WxfMove(pos, mv);
    ASSERT_EQ(ParseWxfMove(pos, list, wxf, error), mv) << ToFen(pos) << " " << wxf << ": " << error;
    ++checked;
  }
}

}  // namespace lanterra::test
