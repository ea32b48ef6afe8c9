#include "notation/chinese_notation.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/random.h"
#include "notation/fen_iccs.h"

namespace lanterra {
namespace {

Position FromFen(std::string_view fen) {
  Position pos;
  std::string error;
  EXPECT_TRUE(ParseFen(fen, pos, error)) << fen << ": " << error;
  return pos;
}

Position StartAfter(std::initializer_list<const char*> iccs) {
  Position pos = FromFen(START_FEN);
  for (const char* m : iccs) EXPECT_EQ(pos.DoMove(ParseIccsMove(m)), 1) << m;
  return pos;
}

// Kings stand off the middle file so that they never face each other.
constexpr const char* RED_ROOKS = "5k3/9/9/9/9/7R1/9/7R1/9/3K5 w";
constexpr const char* BLACK_ROOKS = "5k3/9/1r7/9/1r7/9/9/9/9/3K5 b";
constexpr const char* RED_PAWNS_3 = "5k3/9/9/2P6/2P6/2P6/9/9/9/3K5 w";
constexpr const char* BLACK_PAWNS_3 = "5k3/9/9/9/6p2/6p2/6p2/9/9/3K5 b";
constexpr const char* RED_PAWNS_4 = "5k3/2P6/2P6/2P6/9/2P6/9/9/9/3K5 w";
constexpr const char* RED_PAWNS_TWO_FILES = "5k3/9/9/2P3P2/2P3P2/9/9/9/9/3K5 w";
constexpr const char* BLACK_PAWNS_TWO_FILES = "5k3/9/9/9/2p3p2/2p3p2/9/9/9/3K5 b";
constexpr const char* RED_BISHOPS = "5k3/9/9/9/9/2B6/9/9/9/2BK5 w";
constexpr const char* BLACK_BISHOPS = "2b2k3/9/9/9/2b6/9/9/9/9/3K5 b";
constexpr const char* RED_ADVISORS = "5k3/9/9/9/9/9/9/3A5/9/3AK4 w";
constexpr const char* BLACK_ADVISORS = "3ak4/9/3a5/9/9/9/9/9/9/5K3 b";

struct ReadCase {
  const char* fen;  // nullptr: the start position after h2e2 for black, the start for red
  const char* text;
  const char* iccs;  // nullptr: the text must be refused
};

TEST(ChineseNotation, ReadsEveryForm) {
  const ReadCase cases[] = {
      // Piece and file, both character sets, both colours, all digit forms.
      {nullptr, "炮二平五", "h2e2"},
      {nullptr, "砲二平五", "h2e2"},
      {nullptr, "馬二進三", "h0g2"},
      {nullptr, "马二进三", "h0g2"},
      {nullptr, "相三進五", "g0e2"},
      {nullptr, "象三进五", "g0e2"},
      {nullptr, "仕四進五", "f0e1"},
      {nullptr, "兵七進一", "c3c4"},
      {nullptr, "車一進二", "i0i2"},
      {nullptr, "帥五進一", "e0e1"},
      {"black", "馬８進７", "h9g7"},
      {"black", "马8进7", "h9g7"},
      {"black", "炮８平５", "h7e7"},
      {"black", "象３進５", "c9e7"},
      {"black", "士４進５", "d9e8"},
      {"black", "卒７進１", "g6g5"},
      {"black", "將５進１", "e9e8"},
      {"black", "车１进１", "a9a8"},
      // Two same pieces on one file.
      {RED_ROOKS, "前車進一", "h4h5"},
      {RED_ROOKS, "後車平四", "h2f2"},
      {RED_ROOKS, "后车退二", "h2h0"},
      {BLACK_ROOKS, "前車進１", "b5b4"},
      {BLACK_ROOKS, "後車平３", "b7c7"},
      // Three pawns on a file: front, middle, back, or counted from the front.
      {RED_PAWNS_3, "前兵進一", "c6c7"},
      {RED_PAWNS_3, "中兵平六", "c5d5"},
      {RED_PAWNS_3, "一兵平八", "c6b6"},
      {RED_PAWNS_3, "二兵平八", "c5b5"},
      {RED_PAWNS_3, "後兵進一", nullptr},  // blocked by the middle pawn
      {BLACK_PAWNS_3, "前卒進１", "g3g2"},
      {BLACK_PAWNS_3, "中卒平６", "g4f4"},
      {BLACK_PAWNS_3, "三卒進１", nullptr},
      {RED_PAWNS_4, "四兵進一", "c4c5"},
      {RED_PAWNS_4, "後兵進一", "c4c5"},
      {RED_PAWNS_4, "二兵平六", "c7d7"},
      // Pawns doubled on two files: the file replaces the piece, or follows it.
      {RED_PAWNS_TWO_FILES, "前兵進一", nullptr},
      {RED_PAWNS_TWO_FILES, "前七進一", "c6c7"},
      {RED_PAWNS_TWO_FILES, "前三進一", "g6g7"},
      {RED_PAWNS_TWO_FILES, "後三平四", "g5f5"},
      {RED_PAWNS_TWO_FILES, "前兵七進一", "c6c7"},
      {BLACK_PAWNS_TWO_FILES, "前３進１", "c4c3"},
      {BLACK_PAWNS_TWO_FILES, "前７平６", "g4f4"},
      {BLACK_PAWNS_TWO_FILES, "後７平６", nullptr},  // not across the river yet
      // Advisors and bishops: the direction tells two on one file apart.
      {RED_BISHOPS, "相七進五", "c0e2"},
      {RED_BISHOPS, "相七退五", "c4e2"},
      {RED_BISHOPS, "相七退九", "c4a2"},
      {BLACK_BISHOPS, "象３進５", "c9e7"},
      {BLACK_BISHOPS, "象３退５", "c5e7"},
      {RED_ADVISORS, "仕六進五", "d0e1"},
      {RED_ADVISORS, "仕六退五", "d2e1"},
      {BLACK_ADVISORS, "士４進５", "d9e8"},
      {BLACK_ADVISORS, "士４退５", "d7e8"},
      // Refusals: no such piece, no such move, malformed text.
      {nullptr, "車二進一", nullptr},
      {nullptr, "炮二進九", nullptr},
      {nullptr, "炮二平", nullptr},
      {nullptr, "炮二走五", nullptr},
      {nullptr, "h2e2", nullptr},
      {nullptr, "\xE7\x82", nullptr},
  };
  for (const ReadCase& c : cases) {
    Position pos = c.fen == nullptr               ? FromFen(START_FEN)
                   : std::string_view(c.fen) == "black" ? StartAfter({"h2e2"})
                                                        : FromFen(c.fen);
    std::string error;
    Move mv = ParseChineseMove(pos, c.text, error);
    if (c.iccs) {
      EXPECT_EQ(IccsMove(mv), c.iccs) << c.text << " in " << (c.fen ? c.fen : "start") << ": " << error;
    } else {
      EXPECT_EQ(mv, 0) << c.text << " was read as " << IccsMove(mv);
      EXPECT_FALSE(error.empty()) << c.text;
    }
  }
}

TEST(ChineseNotation, AmbiguousTextIsRefused) {
  // Both rooks on file 二 can go forward one: the file alone does not say which.
  Position pos = FromFen("5k3/9/9/9/9/7R1/9/7R1/9/3K5 w");
  std::string error;
  EXPECT_EQ(ParseChineseMove(pos, "車二平三", error), 0);
  EXPECT_NE(error.find("matches 2"), std::string::npos) << error;
}

struct WriteCase {
  const char* fen;
  const char* iccs;
  const char* text;
};

TEST(ChineseNotation, WritesStandardForms) {
  const WriteCase cases[] = {
      {START_FEN.data(), "h2e2", "炮二平五"},
      {START_FEN.data(), "b0c2", "马八进七"},
      {START_FEN.data(), "i0i1", "车一进一"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR b", "h9g7", "马８进７"},
      {RED_ROOKS, "h4h5", "前车进一"},
      {BLACK_ROOKS, "b7c7", "后车平３"},
      {RED_PAWNS_3, "c5d5", "中兵平六"},
      {RED_PAWNS_4, "c6d6", "三兵平六"},
      {RED_PAWNS_TWO_FILES, "g5f5", "后三平四"},
      {BLACK_PAWNS_TWO_FILES, "c4c3", "前３进１"},
      {RED_BISHOPS, "c4e2", "相七退五"},
      {BLACK_ADVISORS, "d7e8", "士４退５"},
  };
  for (const WriteCase& c : cases) {
    Position pos = FromFen(c.fen);
    EXPECT_EQ(ChineseMove(pos, ParseIccsMove(c.iccs)), c.text) << c.fen << " " << c.iccs;
  }
}

// Random games crowd pieces onto shared files; every legal move written out
// must read back as itself, or the two halves disagree about a form.
TEST(ChineseNotation, EveryLegalMoveReadsBackAsWritten) {
  PseudoRandom random;
  random.Seed(7);
  long checked = 0;
  for (int game = 0; game < 40; ++game) {
    Position pos = FromFen(START_FEN);
    for (int ply = 0; ply < 150; ++ply) {
      Move legal[MAX_MOVES_PER_POSITION];
      int n = LegalMoves(pos, legal);
      if (n == 0) break;
      for (int i = 0; i < n; ++i) {
        std::string text = ChineseMove(pos, legal[i]), error;
        ASSERT_EQ(ParseChineseMove(pos, text, error), legal[i])
            << ToFen(pos) << " " << IccsMove(legal[i]) << " written " << text << ": " << error;
        ++checked;
      }
      ASSERT_EQ(pos.DoMove(legal[random.Next() % n]), 1);
      pos.CollapseHistory();
    }
  }
  EXPECT_GT(checked, 100000);
}

}  // namespace
}  // namespace lanterra
