#include "notation/move_notation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/random.h"
#include "notation/fen_iccs.h"
#include "tests/notation_round_trip.h"
#include "tests/test_positions.h"
#include "tests/tool_runner.h"

namespace lanterra {
namespace {

using test::FromFen;

// Kings stand on different files so that they never face each other.
constexpr const char* START_BLACK = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR b";
constexpr const char* RED_ROOKS = "5k3/9/9/9/9/7R1/9/7R1/9/3K5 w";
constexpr const char* BLACK_ROOKS = "5k3/9/1r7/9/1r7/9/9/9/9/3K5 b";
constexpr const char* RED_CANNONS = "3k5/9/9/9/9/9/7C1/9/7C1/5K3 w";
constexpr const char* BLACK_KNIGHTS = "4k4/9/9/9/5n3/9/5n3/9/9/3K5 b";
constexpr const char* RED_PAWNS_3 = "5k3/9/2P6/2P6/2P6/9/9/9/9/3K5 w";
constexpr const char* BLACK_PAWNS_3 = "5k3/9/9/9/9/6p2/6p2/6p2/9/3K5 b";
constexpr const char* RED_PAWNS_4 = "5k3/2P6/2P6/2P6/9/2P6/9/9/9/3K5 w";
constexpr const char* BLACK_PAWNS_5 = "4k4/9/9/9/9/6p2/6p2/6p2/6p2/3K2p2 b";
constexpr const char* RED_PAWNS_2_2 = "5k3/9/9/2P3P2/2P3P2/9/9/9/9/3K5 w";
constexpr const char* RED_PAWNS_3_2 = "5k3/9/2P6/2P3P2/2P3P2/9/9/9/9/3K5 w";
constexpr const char* BLACK_PAWNS_2_2 = "5k3/9/9/9/9/2p3p2/2p3p2/9/9/3K5 b";
constexpr const char* RED_BISHOPS = "5k3/9/9/9/9/2B6/9/9/9/2BK5 w";
constexpr const char* BLACK_ADVISORS = "3ak4/9/3a5/9/9/9/9/9/9/5K3 b";

struct WriteCase {
  const char* fen;
  const char* iccs;
  const char* traditional;
  const char* simplified;
  const char* wxf;
};

// Each form is written as the official rules give it and reads back as the
// same move, alone and with the notation guessed from the text.
TEST(MoveNotation, WritesEachTandemRuleAndReadsItBack) {
  const WriteCase cases[] = {
      {START_FEN.data(), "h2e2", "炮二平五", "炮二平五", "C2.5"},
      {START_BLACK, "h9g7", "馬８進７", "马８进７", "H8+7"},
      {START_BLACK, "e9e8", "將５進１", "将５进１", "K5+1"},
      // Two of a kind on a file are front and rear even where the file alone
      // would leave one legal move: only the front rook can go forward five.
      {RED_ROOKS, "h4h9", "前車進五", "前车进五", "R++5"},
      {RED_ROOKS, "h2f2", "後車平四", "后车平四", "R-.4"},
      {BLACK_ROOKS, "b7c7", "後車平３", "后车平３", "R-.3"},
      {RED_CANNONS, "h3e3", "前炮平五", "前炮平五", "C+.5"},
      {BLACK_KNIGHTS, "f3e1", "前馬進５", "前马进５", "H++5"},
      {BLACK_KNIGHTS, "f5g7", "後馬退７", "后马退７", "H--7"},
      // Three pawns on a file: front, middle (by its file in WXF), rear.
      {RED_PAWNS_3, "c7c8", "前兵進一", "前兵进一", "P++1"},
      {RED_PAWNS_3, "c6d6", "中兵平六", "中兵平六", "P7.6"},
      {RED_PAWNS_3, "c5b5", "後兵平八", "后兵平八", "P-.8"},
      {BLACK_PAWNS_3, "g2g1", "前卒進１", "前卒进１", "P++1"},
      {BLACK_PAWNS_3, "g3f3", "中卒平６", "中卒平６", "P7.6"},
      {BLACK_PAWNS_3, "g4h4", "後卒平８", "后卒平８", "P-.8"},
      // Four or five pawns: counted from the front; ++ and -- for the outer
      // two in WXF, + and - for the next ones in.
      {RED_PAWNS_4, "c8d8", "一兵平六", "一兵平六", "++.6"},
      {RED_PAWNS_4, "c7d7", "二兵平六", "二兵平六", "P+.6"},
      {RED_PAWNS_4, "c6b6", "三兵平八", "三兵平八", "P-.8"},
      {RED_PAWNS_4, "c4c5", "四兵進一", "四兵进一", "--+1"},
      {BLACK_PAWNS_5, "g0h0", "一卒平８", "一卒平８", "++.8"},
      {BLACK_PAWNS_5, "g1f1", "二卒平６", "二卒平６", "P+.6"},
      {BLACK_PAWNS_5, "g2f2", "三卒平６", "三卒平６", "P7.6"},
      {BLACK_PAWNS_5, "g3h3", "四卒平８", "四卒平８", "P-.8"},
      {BLACK_PAWNS_5, "g4f4", "五卒平６", "五卒平６", "--.6"},
      // Pawns tandem on two files: the file replaces the piece.
      {RED_PAWNS_2_2, "c6c7", "前七進一", "前七进一", "7++1"},
      {RED_PAWNS_2_2, "g5f5", "後三平四", "后三平四", "3-.4"},
      {RED_PAWNS_3_2, "c6d6", "中七平六", "中七平六", "77.6"},
      {RED_PAWNS_3_2, "c5b5", "後七平八", "后七平八", "7-.8"},
      {RED_PAWNS_3_2, "g6g7", "前三進一", "前三进一", "3++1"},
      {BLACK_PAWNS_2_2, "g3g2", "前７進１", "前７进１", "7++1"},
      {BLACK_PAWNS_2_2, "c4b4", "後３平２", "后３平２", "3-.2"},
      // Two advisors or bishops on a file: the direction tells them apart.
      {RED_BISHOPS, "c4e2", "相七退五", "相七退五", "E7-5"},
      {RED_BISHOPS, "c0e2", "相七進五", "相七进五", "E7+5"},
      {BLACK_ADVISORS, "d7e8", "士４退５", "士４退５", "A4-5"},
  };
  for (const WriteCase& c : cases) {
    const Position pos = FromFen(c.fen);
    const Move mv = ParseIccsMove(c.iccs);
    const std::pair<Notation, const char*> forms[] = {
        {Notation::CHINESE, c.traditional}, {Notation::SIMPLIFIED, c.simplified},
        {Notation::WXF, c.wxf},             {Notation::ICCS, c.iccs},
    };
    for (const auto& [notation, text] : forms) {
      EXPECT_EQ(WriteMove(pos, mv, notation), text) << c.fen << " " << c.iccs;
      std::string error;
      EXPECT_EQ(ReadMove(pos, text, notation, error), mv) << c.fen << " " << text << ": " << error;
      EXPECT_EQ(ReadMove(pos, text, error), mv) << c.fen << " " << text << ": " << error;
    }
  }
}

struct ReadCase {
  const char* fen;
  const char* text;
  const char* iccs;  // nullptr: the text must be refused
};

// What players type besides the official forms, and what must be refused.
TEST(MoveNotation, ReadsCommonVariantsAndRefusesTheRest) {
  const ReadCase cases[] = {
      {START_FEN.data(), "c2.5", "h2e2"},
      {START_FEN.data(), "C2=5", "h2e2"},
      {START_FEN.data(), " C 2 . 5\n", "h2e2"},
      {START_FEN.data(), "\th2e2\r\n", "h2e2"},
      {START_FEN.data(), "N2+3", "h0g2"},
      {START_FEN.data(), "B3+5", "g0e2"},
      {START_FEN.data(), "H2-E2", "h2e2"},
      {START_FEN.data(), "a0a5", nullptr},  // through its own pawn
      {START_FEN.data(), "C2.0", nullptr},
      {START_FEN.data(), "C2*5", nullptr},
      {START_FEN.data(), "C25", nullptr},
      {START_FEN.data(), "X2.5", nullptr},
      {START_FEN.data(), "C2.55", nullptr},
      {START_FEN.data(), "", nullptr},
      // A tandem piece by its file or with the sign first, as other records
      // write it, when that leaves one legal move.
      {RED_ROOKS, "車二進五", "h4h9"},
      {RED_ROOKS, "R2+5", "h4h9"},
      {RED_ROOKS, "+R.4", "h4f4"},
      {RED_ROOKS, "R2.4", nullptr},  // either rook
      {RED_PAWNS_3, "7+.6", "c7d7"},
      {RED_PAWNS_3, "++.6", nullptr},  // only four or five have a foremost
      {RED_PAWNS_3_2, "73.6", nullptr},
      {RED_PAWNS_2_2, "P++1", nullptr},  // the front pawn of either file
      {RED_PAWNS_2_2, "P+.4", "g6f6"},   // only file 三 reaches 四
      {RED_PAWNS_4, "P7.6", nullptr},    // four pawns have no middle one to pick
  };
  for (const ReadCase& c : cases) {
    const Position pos = FromFen(c.fen);
    std::string error;
    const Move mv = ReadMove(pos, c.text, error);
    if (c.iccs) {
      EXPECT_EQ(IccsMove(mv), c.iccs) << c.fen << " " << c.text << ": " << error;
    } else {
      EXPECT_EQ(mv, 0) << c.fen << " " << c.text << " was read as " << IccsMove(mv);
      EXPECT_FALSE(error.empty()) << c.text;
    }
  }
}

// Random games crowd pieces onto shared files; every legal move written out
// must read back as itself, or a writer and its reader disagree about a form.
TEST(MoveNotation, EveryLegalMoveOfRandomGamesReadsBack) {
  PseudoRandom random;
  random.Seed(7);
  long checked = 0;
  for (int game = 0; game < 40; ++game) {
    Position pos = FromFen(START_FEN);
    for (int ply = 0; ply < 150; ++ply) {
      ASSERT_NO_FATAL_FAILURE(test::CheckLegalMovesReadBack(pos, checked));
      Move legal[MAX_MOVES_PER_POSITION];
      const int n = LegalMoves(pos, legal);
      if (n == 0) break;
      ASSERT_EQ(pos.DoMove(legal[random.Next() % n]), 1);
      pos.CollapseHistory();
    }
  }
  EXPECT_GT(checked, 100000);
}

TEST(ToolMoves, WritesEveryMoveInTheNotationAndMarksTheRefusedOnes) {
  // The rook on e3 shields its king from the black rook on e8.
  const std::string position = " 3k5/4r4/9/9/9/9/4R4/9/9/4K4 w";
  const std::string iccs = test::RunTool("moves" + position).output;
  struct Case {
    const char* notation;
    const char* lines;  // the first lines, one move to each
  };
  for (const Case& c : {Case{"chinese", "車五進一\n車五進二\n車五進三\n車五進四\n車五進五\n車五平六 refused\n"},
                        Case{"simplified", "车五进一\n"}, Case{"wxf", "R5+1\nR5+2\nR5+3\nR5+4\nR5+5\nR5.6 refused\n"},
                        Case{"iccs", "e3e4\n"}}) {
    const test::ToolRun run = test::RunTool(std::string("moves --notation ") + c.notation + position);
    EXPECT_EQ(run.exitCode, 0) << c.notation;
    EXPECT_TRUE(run.output.starts_with(c.lines)) << run.output;
    // One line per move, as many as in ICCS, and the same count line.
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), std::count(iccs.begin(), iccs.end(), '\n'));
    EXPECT_TRUE(run.output.ends_with("\nmoves 18 legal 9\n")) << run.output;
  }
}

}  // namespace
}  // namespace lanterra
