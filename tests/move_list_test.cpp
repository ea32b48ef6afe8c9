// The move record beside the board and the move typed instead of clicked:
// pairs numbered from either side's first move, the winner named from the
// side that made the last move, every move written in the position it was
// played in, and a typed move that plays exactly as its two clicks do.
#include <random>

#include "app/move_list.h"
#include "app/typed_move.h"
#include "notation/move_notation.h"
#include "pgn/pgn_replay.h"
#include "pgn/pgn_splitter.h"
#include "tests/controller_fixture.h"
#include "tests/test_positions.h"

namespace lanterra::test {
namespace {

GameRecord RecordOf(const char* fen, const std::vector<const char*>& moves, Ending ending = Ending::NONE) {
  GameRecord record;
  record.start = FromFen(fen);
  for (const char* mv : moves) record.moves.push_back(Iccs(mv));
  record.ending = ending;
  return record;
}

TEST(MoveList, PairsAreNumberedFromRedsMoveAndAGameBlackOpensLeavesTheFirstRedPlaceEmpty) {
  const MoveList normal = MakeMoveList(RecordOf(std::string(START_FEN).c_str(), {"h2e2", "h9g7", "h0g2"}));
  ASSERT_EQ(normal.pairs.size(), 2u);
  EXPECT_EQ(MoveListText(normal), "1. 炮二平五 馬８進７\n2. 馬二進三\n");
  EXPECT_EQ(normal.result, "*");
  EXPECT_EQ(normal.outcome, "");

  // Red without nine pieces, black to move first.
  const MoveList blackFirst =
      MakeMoveList(RecordOf("rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/9/1C5C1/9/RN2K2NR b", {"h7e7", "h2e2", "b9c7"}));
  EXPECT_EQ(MoveListText(blackFirst), "1. ... 炮８平５\n2. 炮二平五 馬２進３\n");
  EXPECT_EQ(blackFirst.pairs[0].red, "");
  EXPECT_EQ(blackFirst.pairs[1].number, 2);
}

TEST(MoveList, TheResultNamesTheWinnerFromTheSideThatMovedLast) {
  struct Case {
    std::vector<const char*> moves;  // from the normal start: red moved last after an odd count
    Ending ending;
    const char* result;
    const char* outcome;
  };
  const Case cases[] = {
      {{"h2e2"}, Ending::MATE, "1-0", "红胜（将死）"},
      {{"h2e2", "h7e7"}, Ending::MATE, "0-1", "黑胜（将死）"},
      {{"h2e2", "h7e7"}, Ending::STALEMATE, "0-1", "黑胜（困毙）"},
      {{"h2e2"}, Ending::PERPETUAL_CHECK_BY_MOVER, "0-1", "黑胜（长将作负）"},
      {{"h2e2", "h7e7"}, Ending::PERPETUAL_CHECK_BY_MOVER, "1-0", "红胜（长将作负）"},
      {{"h2e2"}, Ending::PERPETUAL_CHECK_AGAINST, "1-0", "红胜（长将作负）"},
      {{"h2e2", "h7e7"}, Ending::REPETITION, "1/2-1/2", "和棋（双方不变作和）"},
      {{"h2e2"}, Ending::MOVE_LIMIT, "1/2-1/2", "和棋（超过自然限着作和）"},
  };
  for (const Case& c : cases) {
    const MoveList list = MakeMoveList(RecordOf(std::string(START_FEN).c_str(), c.moves, c.ending));
    EXPECT_EQ(list.result, c.result) << c.outcome;
    EXPECT_EQ(list.outcome, c.outcome);
    EXPECT_TRUE(MoveListText(list).ends_with(std::string(c.outcome) + "\n"));
  }
}

// Long random games, judged as the game judges them: every move's text
// reads back as that move in the position it was played in, however long
// the game runs past the history's capacity.
TEST(MoveList, EveryMoveOfALongGameReadsBackInItsPosition) {
  std::mt19937 rng(2206);
  for (int game = 0; game < 20; ++game) {
    GameRecord record;
    record.start.SetUpStart(0);
    Position pos = record.start;
    std::vector<Position> before;
    while (record.ending == Ending::NONE) {
      Move legal[MAX_MOVES_PER_POSITION];
      const int n = LegalMoves(pos, legal);
      ASSERT_GT(n, 0);
      before.push_back(pos);
      record.moves.push_back(legal[rng() % n]);
      ASSERT_TRUE(pos.DoMove(record.moves.back()));
      record.ending = JudgeMove(pos);
    }
    const MoveList list = MakeMoveList(record);
    ASSERT_EQ(list.pairs.size(), (record.moves.size() + 1) / 2);
    for (size_t i = 0; i < record.moves.size(); ++i) {
      const MovePair& pair = list.pairs[i / 2];
      const std::string& text = i % 2 == 0 ? pair.red : pair.black;
      std::string error;
      EXPECT_EQ(ReadMove(before[i], text, Notation::CHINESE, error), record.moves[i]) << text << " " << error;
    }
    EXPECT_NE(list.outcome, "");
  }
}

TEST_F(ControllerTest, TheListOfAGameShowsTheEndingTheControllerJudged) {
  Load("4k4/R8/9/9/9/9/9/9/9/3K4R w");
  ClickMove("i0i9");
  EXPECT_EQ(MoveListText(MakeMoveList(game.Record())), "1. 車一進九\n红胜（将死）\n");
}

// The saved record reads back through the game-file reader to the same
// start and moves, with the players named by side and the controller's
// result, for a game that ends and one black opens from a handicap.
TEST_F(ControllerTest, TheRecordSavedAsAGameFileReadsBackToTheSameGame) {
  struct Case {
    const char* fen;
    bool humanPlaysBlack;
    std::vector<const char*> moves;  // the human's, clicked
    const char* tags;
  };
  const Case cases[] = {
      {"4k4/R8/9/9/9/9/9/9/9/3K4R w", false, {"i0i9"}, "[Red \"玩家\"]\n[Black \"Lanterra\"]\n[Result \"1-0\"]"},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/9/1C5C1/9/RN2K2NR b", true, {"h7e7", "h9g7"},
       "[Red \"Lanterra\"]\n[Black \"玩家\"]\n[Result \"*\"]"},
  };
  for (const Case& c : cases) {
    Load(c.fen, c.humanPlaysBlack);
    for (const char* mv : c.moves)
      if (!game.Ui().gameOver) ClickMove(mv);
    const std::string pgn = MoveListPgn(game.Record(), c.humanPlaysBlack, "2026.03.14");
    EXPECT_NE(pgn.find(c.tags), std::string::npos) << pgn;
    EXPECT_NE(pgn.find("[Date \"2026.03.14\"]"), std::string::npos) << pgn;
    PgnSource source;
    source.OpenText(pgn);
    PgnSplitter splitter(source);
    PgnGame read;
    ASSERT_TRUE(splitter.Next(read)) << pgn;
    Position start;
    std::vector<Move> moves;
    std::string error;
    ASSERT_TRUE(ReplayGame(read, "record", start, moves, error)) << error << "\n" << pgn;
    EXPECT_EQ(ToFen(start), ToFen(game.Record().start));
    EXPECT_EQ(moves, game.Record().moves) << pgn;
  }
}

// A typed move and the same move clicked, each on a fresh game: the window
// sees the same calls, the computer's reply included.
TEST_F(ControllerTest, ATypedMovePlaysAsItsTwoClicks) {
  struct Case {
    bool humanPlaysBlack;
    const char* text;
    const char* clicks;
  };
  const Case cases[] = {
      {false, "炮二平五", "h2e2"}, {false, "C2.5", "h2e2"},     {false, " h2e2 ", "h2e2"},
      {false, "H2-E2", "h2e2"},   {true, "炮８平５", "h7e7"}, {true, "C8.5", "h7e7"},
  };
  for (const Case& c : cases) {
    RecordingWindow clickedWindow;
    GameController clicked(clickedWindow, SharedEngine());
    const auto start = [&](GameController& g) {
      SharedEngine().Seed(7);
      Position pos;
      pos.SetUpStart(0);
      g.Begin(pos, false);
      // A game the human plays black starts from red's fixed first move.
      if (c.humanPlaysBlack) {
        pos.DoMove(Iccs("b0c2"));
        g.Begin(pos, true);
      }
    };
    start(clicked);
    clickedWindow.Clear();
    const std::string move = c.clicks;
    for (const std::string& sq : {move.substr(0, 2), move.substr(2, 2)}) {
      const Square s = Sq(sq.c_str());
      clicked.OnBoardClick(c.humanPlaysBlack ? FlipSquare(s) : s);
    }

    start(game);
    window.Clear();
    EXPECT_EQ(PlayTypedMove(game, c.text), TypedMoveFault::NONE) << c.text;
    EXPECT_GT(window.log.size(), 4u) << c.text;
    EXPECT_EQ(window.log, clickedWindow.log) << c.text;
    EXPECT_EQ(game.Record().moves, clicked.Record().moves) << c.text;
  }
}

TEST_F(ControllerTest, ATypedMoveThatCannotBePlayedChangesNothing) {
  struct Case {
    const char* text;
    TypedMoveFault fault;
  };
  const Case cases[] = {
      {"", TypedMoveFault::UNREADABLE},         {"hello", TypedMoveFault::UNREADABLE},
      {"H-E2", TypedMoveFault::UNREADABLE},
      {"e0e2", TypedMoveFault::NOT_LEGAL},      {"兵一進二", TypedMoveFault::NOT_LEGAL},
      {"h7e7", TypedMoveFault::NOT_LEGAL},      // the computer's cannon
      {"你好", TypedMoveFault::NOT_LEGAL},
  };
  for (const Case& c : cases) {
    Load(std::string(START_FEN).c_str());
    EXPECT_EQ(PlayTypedMove(game, c.text), c.fault) << c.text;
    EXPECT_EQ(window.log, Log{}) << c.text;
    EXPECT_TRUE(game.Record().moves.empty());
  }
  // Over: nothing moves any more, not even the side to move's pieces.
  Load("4k4/R8/9/9/9/9/9/9/9/3K4R w");
  ClickMove("i0i9");
  window.Clear();
  EXPECT_EQ(PlayTypedMove(game, "a8a7"), TypedMoveFault::GAME_OVER);
  EXPECT_EQ(window.log, Log{});
}

}  // namespace
}  // namespace lanterra::test
