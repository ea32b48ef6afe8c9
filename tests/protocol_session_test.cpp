// The ucci/uci command loop, run in-process on string streams.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/book.h"
#include "engine/engine.h"
#include "notation/fen_iccs.h"
#include "protocol/protocol.h"
#include "tools/protocol_fuzz.h"

namespace lanterra {
namespace {

std::vector<std::string> Session(Dialect dialect, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  RunProtocol(in, out, dialect);
  std::vector<std::string> lines;
  std::istringstream answers(out.str());
  for (std::string line; std::getline(answers, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Matching(const std::vector<std::string>& lines, std::string_view prefix) {
  std::vector<std::string> found;
  for (const auto& line : lines)
    if (line.starts_with(prefix)) found.push_back(line);
  return found;
}

TEST(ProtocolSession, HandshakeNamesTheEngineAndItsOptionsPerDialect) {
  struct Case {
    Dialect dialect;
    const char* hello;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {Dialect::UCCI, "ucci\nisready\nquit\n",
       {"id name Lanterra", "id author the Lanterra developers", "option level type spin min 0 max 6 default 3",
        "option usebook type check default true", "option seed type string default clock", "ucciok", "readyok",
        "bye"}},
      {Dialect::UCI, "uci\nisready\nquit\n",
       {"id name Lanterra", "id author the Lanterra developers",
        "option name UCI_Variant type combo default xiangqi var xiangqi",
        "option name Level type spin default 3 min 0 max 6", "option name OwnBook type check default true",
        "option name Seed type string default clock", "uciok", "readyok"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Session(c.dialect, c.hello), c.expected) << c.hello;
}

// A plain go must answer what the game plays: same move, same nodes, and the
// generator left in the same state for the next decision.
TEST(ProtocolSession, UnlimitedSearchMatchesTheEnginesDecisionExactly) {
  struct Case {
    const char* fen;
    int level;
    uint32_t seed;
    bool book;
  };
  const Case cases[] = {
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 2, 7, true},
      {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 3, 11, false},
      {"2bak1b2/4ar3/6n1r/4p4/pP6p/5nR2/1C2P1P1P/2NC2N2/4A4/2B1KAB2 b - - 0 16", 3, 1, false},
      {"5R3/3k5/4b4/9/4p1b2/2B5P/9/9/3rAK3/2Br5 w - - 1 46", 2, 99, false},
      {"4k4/9/9/9/9/9/9/9/1R7/R2K5 w - - 0 1", 4, 5, false},
  };
  for (const Case& c : cases) {
    Position pos, copy;
    std::string error;
    ASSERT_TRUE(ParseFen(c.fen, pos, error)) << error;
    copy = pos;
    auto game = std::make_unique<Engine>(EmbeddedBookData(), c.seed);
    auto ours = std::make_unique<Engine>(EmbeddedBookData(), c.seed);
    for (Engine* engine : {game.get(), ours.get()}) {
      engine->SetLevel(c.level);
      engine->UseBook(c.book);
    }
    const Decision played = game->Decide(pos);
    int reports = 0;
    const Decision answered = ours->Decide(copy, {}, [&](const Decision&) { ++reports; });
    EXPECT_EQ(answered.move, played.move) << c.fen;
    EXPECT_EQ(answered.nodes, played.nodes) << c.fen;
    EXPECT_EQ(answered.depth, played.depth) << c.fen;
    EXPECT_EQ(answered.score, played.score) << c.fen;
    EXPECT_EQ(reports, played.depth) << c.fen;
    EXPECT_EQ(ours->NextRandom(), game->NextRandom()) << c.fen;
    EXPECT_EQ(ToFen(copy), ToFen(pos));
  }
}

TEST(ProtocolSession, GoAnswersLikeTheGameGivenTheSeed) {
  // Two decisions in a row: the second depends on the generator state the
  // first left behind, as in the game.
  const char* fen = "2bak1b2/4ar3/6n1r/4p4/pP6p/5nR2/1C2P1P1P/2NC2N2/4A4/2B1KAB2 b - - 0 16";
  Engine engine(EmbeddedBookData(), 42);
  engine.SetLevel(2);
  Position pos;
  std::string error;
  ASSERT_TRUE(ParseFen(fen, pos, error));
  std::string first = IccsMove(engine.Decide(pos).move);
  std::string second = IccsMove(engine.Decide(pos).move);

  for (Dialect dialect : {Dialect::UCCI, Dialect::UCI}) {
    std::string names = dialect == Dialect::UCI ? "setoption name Level value 2\nsetoption name Seed value 42\n"
                                                : "setoption level 2\nsetoption seed 42\n";
    auto lines = Session(dialect, names + "position fen " + fen + "\ngo\ngo\n");
    EXPECT_EQ(Matching(lines, "bestmove "),
              (std::vector<std::string>{"bestmove " + first, "bestmove " + second}));
    EXPECT_TRUE(Matching(lines, "info string").empty());
  }
}

TEST(ProtocolSession, DepthAndNodeLimitsEndTheDeepening) {
  auto lines = Session(Dialect::UCCI, "setoption usebook false\ngo depth 3\n");
  auto infos = Matching(lines, "info depth");
  ASSERT_EQ(infos.size(), 3u);
  EXPECT_TRUE(infos[2].starts_with("info depth 3 score "));
  ASSERT_EQ(Matching(lines, "bestmove").size(), 1u);

  // The iteration that first spends more than 300 nodes is the last.
  lines = Session(Dialect::UCI, "setoption name OwnBook value false\ngo nodes 300\n");
  infos = Matching(lines, "info depth");
  ASSERT_FALSE(infos.empty());
  auto nodesOf = [](const std::string& info) {
    size_t at = info.find(" nodes ");
    return std::stol(info.substr(at + 7));
  };
  EXPECT_GT(nodesOf(infos.back()), 300);
  for (size_t i = 0; i + 1 < infos.size(); ++i) EXPECT_LE(nodesOf(infos[i]), 300);
  EXPECT_NE(infos[0].find(" score cp "), std::string::npos);
}

TEST(ProtocolSession, MateScoresAndNoMoveAnswersFollowTheDialect) {
  const std::string mateInTwo = "position fen 4k4/9/9/9/9/9/9/9/1R7/R2K5 w - - 0 1\ngo\n";
  const std::string mated = "position fen 3k5/9/3R5/9/9/9/9/9/9/4K4 b - - 0 1\ngo\n";
  auto uci = Session(Dialect::UCI, mateInTwo + mated);
  auto ucci = Session(Dialect::UCCI, mateInTwo + mated);
  EXPECT_NE(Matching(uci, "info").back().find(" score mate 2 "), std::string::npos);
  EXPECT_NE(Matching(ucci, "info").back().find(" score 9997 "), std::string::npos);
  EXPECT_EQ(uci.back(), "bestmove (none)");
  EXPECT_EQ(ucci.back(), "nobestmove");
}

// Every bad line is answered with an error and leaves the position, the
// options and the session as they were.
TEST(ProtocolSession, BadInputChangesNothing) {
  const std::string setUp =
      "position startpos moves h2e2 h9g7\nsetoption name Level value 1\nsetoption name Seed value 3\n";
  const char* badLines[] = {
      "frobnicate",
      "position",
      "position fen",
      "position fen rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNX w",
      "position fen 4k4/9/9/9/9/9/9/9/9/4K4 w",  // kings facing each other, side not to move in check
      "position startpos moves h2e2 h9g7 e2e9",   // a cannon cannot slide onto the king
      "position startpos moves h2e2 h2e2",        // no piece on h2 any more
      "position startpos moves zz99",
      "position startpos h2e2",
      "position somewhere",
      "setoption name Level value 7",
      "setoption name Level value -1",
      "setoption level 99999999999999999999999",
      "setoption name Seed value 4294967296",
      "setoption name OwnBook value maybe",
      "setoption name UCI_Variant value chess",
      "setoption name Hash value 16",
      "setoption",
      "go depth 0",
      "go depth 65",
      "go nodes 134217729",
      "go nodes",
      "go sideways",
      "\x01\x02\xff\xfe",
  };
  auto reference = Session(Dialect::UCI, setUp + "d\ngo depth 1\n");
  for (const char* bad : badLines) {
    auto lines = Session(Dialect::UCI, setUp + bad + "\nd\ngo depth 1\n");
    auto errors = Matching(lines, "info string error");
    ASSERT_EQ(errors.size(), 1u) << bad;
    for (char c : errors[0]) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << bad;
    EXPECT_EQ(Matching(lines, "info string fen"), Matching(reference, "info string fen")) << bad;
    EXPECT_EQ(Matching(lines, "bestmove"), Matching(reference, "bestmove")) << bad;
  }
}

TEST(ProtocolSession, OverlongLinesAreRefusedAndReadingGoesOn) {
  std::string input(MAX_COMMAND_LINE + 10, 'x');
  input += "\nisready\n";
  auto lines = Session(Dialect::UCCI, input);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("info string error"));
  EXPECT_EQ(lines[1], "readyok");
}

TEST(ProtocolSession, LongLinesWithoutCaptureKeepTheEngineWorking) {
  // Two knights shuffling back and forth for 300 plies: far more than the
  // history holds. The line is accepted and the engine still answers.
  std::string moves;
  for (int i = 0; i < 75; ++i) moves += " b0c2 b9c7 c2b0 c7b9";
  auto lines = Session(Dialect::UCCI, "position startpos moves" + moves + "\ngo depth 2\n");
  EXPECT_TRUE(Matching(lines, "info string").empty());
  EXPECT_EQ(Matching(lines, "bestmove").size(), 1u);
}

TEST(ProtocolSession, BookOptionSwitchesTheBookOff) {
  // With the book, the start position is answered without search; without
  // it, the deepening reports its iterations.
  if (EmbeddedBookData().empty()) GTEST_SKIP() << "no book built in";
  auto withBook = Session(Dialect::UCCI, "setoption level 0\ngo\n");
  auto without = Session(Dialect::UCCI, "setoption level 0\nsetoption usebook false\ngo\n");
  EXPECT_TRUE(Matching(withBook, "info depth").empty());
  EXPECT_FALSE(Matching(without, "info depth").empty());
}

TEST(ProtocolSession, ShortSeededFuzzRunFindsNoFault) {
  FuzzReport report = FuzzProtocol(4000, 2024, 500);
  EXPECT_GE(report.inputs, 3000);
  EXPECT_GT(report.errors, 0);
  // Each answer to go was checked against the session's position.
  EXPECT_GT(report.bestMoves, 0);
  EXPECT_EQ(report.badLines, 0) << report.firstBadLine;
}

}  // namespace
}  // namespace lanterra
