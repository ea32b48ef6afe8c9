// The match runner: judging, scoring, move texts, PGN and one real game.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <sstream>

#include "match/match.h"
#include "notation/fen_iccs.h"

namespace lanterra {
namespace {

// Plays ICCS moves from fen and judges after each one, as the match does.
Verdict PlayAndJudge(const char* fen, const std::vector<const char*>& moves) {
  Position pos;
  std::string error;
  EXPECT_TRUE(ParseFen(fen, pos, error)) << error;
  Verdict verdict;
  for (const char* text : moves) {
    EXPECT_EQ(verdict.outcome, Outcome::ONGOING) << "game over before " << text;
    Move mv = ParseIccsMove(text);
    EXPECT_TRUE(pos.IsPseudoLegal(mv) && pos.DoMove(mv)) << text;
    verdict = Adjudicate(pos);
  }
  return verdict;
}

TEST(MatchJudge, EndsGamesByTheGameRules) {
  struct Case {
    const char* name;
    const char* fen;
    std::vector<const char*> moves;
    Outcome outcome;
    const char* reason;
  };
  std::vector<const char*> shuffle;
  for (int i = 0; i < 2; ++i)
    for (const char* mv : {"b0c2", "b9c7", "c2b0", "c7b9"}) shuffle.push_back(mv);
  // Red checks with every move from d5/e5 while black steps aside.
  std::vector<const char*> perpetual = {"d5e5", "e9d9", "e5d5", "d9e9", "d5e5", "e9d9", "e5d5", "d9e9",
                                        "d5e5", "e9d9", "e5d5", "d9e9"};
  // The rooks cycle through 9 and 8 squares: no position recurs within 100
  // moves, so only the natural limit can end the game.
  std::vector<std::string> hundredTexts;
  for (int ply = 0; ply < 100; ++ply) {
    int k = ply / 2;
    if (ply % 2 == 0)
      hundredTexts.push_back("a" + std::to_string(k % 9) + "a" + std::to_string((k + 1) % 9));
    else
      hundredTexts.push_back("i" + std::to_string(9 - k % 8) + "i" + std::to_string(9 - (k + 1) % 8));
  }
  std::vector<const char*> hundred;
  for (const auto& text : hundredTexts) hundred.push_back(text.c_str());
  const Case cases[] = {
      {"mate", "4k4/9/9/9/9/9/9/9/1R7/R2K5 w - - 0 1", {"b1b8", "e9f9", "a0a9"}, Outcome::RED_WINS, "mate"},
      {"stalemate loses", "3k5/9/9/9/9/9/9/9/9/2R1K4 w - - 0 1", {"c0c8"}, Outcome::RED_WINS, "stalemate"},
      {"quiet repetition draws", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
       {shuffle.begin(), shuffle.end()}, Outcome::ONGOING, ""},
      {"perpetual check loses", "4ka3/9/9/9/3R5/9/9/9/r8/5K3 w - - 0 1", perpetual, Outcome::BLACK_WINS,
       "perpetual check"},
      {"100-move limit", "3k4r/9/9/9/9/9/9/9/9/R3K4 w - - 0 1", hundred, Outcome::DRAW, "100-move limit"},
  };
  for (const Case& c : cases) {
    Verdict v = PlayAndJudge(c.fen, c.moves);
    EXPECT_EQ(v.outcome, c.outcome) << c.name;
    EXPECT_EQ(v.Text(), c.reason) << c.name;
  }
  // Two rounds of the knight shuffle bring the start back twice; the third
  // time ends the game in a draw.
  auto twelve = shuffle;
  for (const char* mv : {"b0c2", "b9c7", "c2b0", "c7b9"}) twelve.push_back(mv);
  Verdict v = PlayAndJudge("rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", twelve);
  EXPECT_EQ(v.outcome, Outcome::DRAW);
  EXPECT_EQ(v.reason, Reason::REPETITION);
}

TEST(MatchScoring, EloFromScoreWithMargin) {
  struct Case {
    MatchScore score;
    const char* line;
  };
  const Case cases[] = {
      {{5, 0, 5}, "score 5-0-5 pct 50.0 elo 0 \xC2\xB1 252"},
      {{6, 2, 2}, "score 6-2-2 pct 70.0 elo 147 \xC2\xB1 "},
      {{8, 0, 0}, "score 8-0-0 pct 100.0 elo 492 \xC2\xB1 "},
      {{0, 0, 8}, "score 0-0-8 pct 0.0 elo -492 \xC2\xB1 "},
      {{0, 4, 0}, "score 0-4-0 pct 50.0 elo 0 \xC2\xB1 "},
      {{0, 0, 0}, "score 0-0-0 pct 0.0 elo 0 \xC2\xB1 0"},
  };
  for (const Case& c : cases) EXPECT_TRUE(ScoreLine(c.score).starts_with(c.line)) << ScoreLine(c.score);

  // More games with the same share narrow the margin; a sweep is finite.
  EXPECT_LT(EstimateElo({60, 20, 20}).margin, EstimateElo({6, 2, 2}).margin);
  EXPECT_GT(EstimateElo({8, 0, 0}).margin, 0);
}

TEST(MatchMoves, EngineMoveTextsRoundTripInBothRankCounts) {
  struct Case {
    const char* iccs;
    int rankBase;
    const char* text;
  };
  const Case cases[] = {
      {"h2e2", 0, "h2e2"}, {"h2e2", 1, "h3e3"},   {"a9a0", 1, "a10a1"},
      {"i0i9", 1, "i1i10"}, {"b9c7", 1, "b10c8"}, {"e0e1", 0, "e0e1"},
  };
  for (const Case& c : cases) {
    Move mv = ParseIccsMove(c.iccs);
    EXPECT_EQ(EngineMoveText(mv, c.rankBase), c.text);
    EXPECT_EQ(ParseEngineMove(c.text, c.rankBase), mv) << c.text;
  }
  for (const char* bad : {"", "a0", "a0a0", "j1a1", "a11a1", "a1a1x", "a0a1", "(none)"})
    EXPECT_EQ(ParseEngineMove(bad, 1), 0) << bad;
}

TEST(MatchOpenings, BookLinesAreDistinctLegalAndOfTheAskedLength) {
  Book book;
  ReadBook(book, EmbeddedBookData());
  if (book.bookSize == 0) GTEST_SKIP() << "no book built in";
  auto lines = BookOpenings(book, 6, 6, 1);
  ASSERT_EQ(lines.size(), 6u);
  std::set<std::string> finals;
  for (const auto& line : lines) {
    ASSERT_EQ(line.size(), 6u);
    Position pos;
    pos.SetUpStart(0);
    for (Move mv : line) ASSERT_TRUE(pos.IsPseudoLegal(mv) && pos.DoMove(mv));
    finals.insert(ToFen(pos));
  }
  EXPECT_EQ(finals.size(), lines.size());
  EXPECT_EQ(BookOpenings(Book{}, 4, 6, 1), std::vector<std::vector<Move>>{{}});
}

TEST(MatchPgn, GamesAreWrittenInIccsWithTheirResult) {
  GameRecord game;
  game.round = 3;
  game.red = "Lanterra level 2";
  game.black = "Fairy-Stockfish \"x\"";
  for (const char* mv : {"h2e2", "h9g7", "h0g2"}) game.moves.push_back(ParseIccsMove(mv));
  game.verdict = {Outcome::BLACK_WINS, Reason::MATE, {}};
  std::string pgn = FormatPgn(game, "test");
  EXPECT_NE(pgn.find("[Round \"3\"]\n"), std::string::npos);
  EXPECT_NE(pgn.find("[Black \"Fairy-Stockfish \\\"x\\\"\"]\n"), std::string::npos);
  EXPECT_NE(pgn.find("[Result \"0-1\"]\n"), std::string::npos);
  EXPECT_NE(pgn.find("[Format \"ICCS\"]\n"), std::string::npos);
  EXPECT_NE(pgn.find("\n1. H2-E2 H9-G7 2. H0-G2 {mate} 0-1\n"), std::string::npos);

  // In Chinese notation the record keeps the round and the verdict.
  pgn = FormatPgn(game, "test", Notation::CHINESE);
  EXPECT_TRUE(pgn.starts_with("[Game \"Chinese Chess\"]\n[Event \"test\"]\n")) << pgn;
  EXPECT_NE(pgn.find("[Round \"3\"]\n"), std::string::npos);
  EXPECT_TRUE(pgn.ends_with("\n\n1. 炮二平五 馬８進７\n2. 馬二進三 {mate}\n0-1\n\n")) << pgn;
}

TEST(MatchRunner, PlaysBothColoursAgainstFairyStockfish) {
  if (access("/usr/games/fairy-stockfish", X_OK) != 0) GTEST_SKIP() << "fairy-stockfish is not installed";
  MatchSettings settings;
  settings.level = 0;
  settings.openings = 1;
  settings.engine.depth = 1;
  std::ostringstream log;
  MatchScore score;
  std::string error;
  ASSERT_TRUE(RunMatch(settings, log, score, error)) << error;
  EXPECT_EQ(score.Games(), 2);
  std::string text = log.str();
  EXPECT_NE(text.find("game 1: Lanterra level 0 - "), std::string::npos) << text;
  EXPECT_NE(text.find("game 2: Fairy-Stockfish"), std::string::npos) << text;
  EXPECT_NE(text.find("\nscore "), std::string::npos) << text;
}

TEST(MatchRunner, OneColourReplaysTheSameGamesAsTheWholeMatch) {
  if (access("/usr/games/fairy-stockfish", X_OK) != 0) GTEST_SKIP() << "fairy-stockfish is not installed";
  auto gameLines = [](bool red, bool black) {
    MatchSettings settings;
    settings.level = 1;
    settings.openings = 2;
    settings.seed = 9;
    settings.engine.depth = 1;
    settings.playRed = red;
    settings.playBlack = black;
    std::ostringstream log;
    MatchScore score;
    std::string error;
    EXPECT_TRUE(RunMatch(settings, log, score, error)) << error;
    std::vector<std::string> lines;
    std::istringstream in(log.str());
    for (std::string line; std::getline(in, line);)
      if (line.starts_with("game ")) lines.push_back(line);
    return lines;
  };
  auto both = gameLines(true, true);
  auto black = gameLines(false, true);
  ASSERT_EQ(both.size(), 4u);
  EXPECT_EQ(black, (std::vector<std::string>{both[1], both[3]}));
}

// Our own engine as the outside one, over both protocols and pipes: every
// reply must be a legal move in the notation the match expects.
TEST(MatchRunner, PlaysItselfThroughBothProtocols) {
  for (bool ucci : {false, true}) {
    MatchSettings settings;
    settings.level = 0;
    settings.openings = 1;
    settings.engine.command = std::string(LANTERRA_TOOL) + (ucci ? " ucci" : " uci");
    settings.engine.ucci = ucci;
    settings.engine.rankBase = 0;
    settings.engine.depth = 1;
    std::ostringstream log;
    MatchScore score;
    std::string error;
    ASSERT_TRUE(RunMatch(settings, log, score, error)) << error;
    EXPECT_EQ(score.Games(), 2);
    EXPECT_EQ(log.str().find("outside engine"), std::string::npos) << log.str();
    EXPECT_NE(log.str().find("Lanterra depth 1"), std::string::npos) << log.str();
  }
}

// A UCI engine written as a shell script that answers "uci" and "go" with
// the given commands; the caller unlinks the returned path.
// One game from the start at level 0 against the engine command.
MatchSettings OneGame(const std::string& command, int timeoutSeconds) {
  MatchSettings settings;
  settings.level = 0;
  settings.openings = 1;
  settings.openingPlies = 0;
  settings.engine.command = command;
  settings.engine.timeoutSeconds = timeoutSeconds;
  return settings;
}

std::string WriteFakeEngine(const std::string& onUci, const std::string& onGo) {
  char path[] = "/tmp/lanterra-fake-engine-XXXXXX";
  int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  std::string script = "#!/bin/sh\nwhile read cmd rest; do case \"$cmd\" in\n"
                       "uci) " + onUci + ";;\nisready) echo readyok;;\n"
                       "go) " + onGo + ";;\nquit) exit 0;;\nesac; done\n";
  EXPECT_EQ(write(fd, script.data(), script.size()), ssize_t(script.size()));
  close(fd);
  return path;
}

// Engines that misbehave, written as shell scripts: a bad reply loses the
// game, an engine that stops answering ends the match with an error.
TEST(MatchRunner, MisbehavingEnginesLoseOrEndTheMatch) {
  struct Case {
    const char* name;
    const char* onGo;
    bool matchCompletes;
    const char* reason;
  };
  const Case cases[] = {
      {"no move", "echo 'bestmove (none)'", true, "outside engine gave no usable move"},
      {"illegal move", "echo 'bestmove e1e3'", true, "outside engine played the illegal move e0e2"},
      {"gibberish", "echo 'bestmove \001\377'", true, "outside engine gave no usable move"},
      {"crash", "exit 3", false, "outside engine failed"},
  };
  for (const Case& c : cases) {
    std::string path = WriteFakeEngine("echo 'id name Fake'; echo uciok", c.onGo);
    MatchSettings settings = OneGame("sh " + path, 10);
    std::ostringstream log;
    MatchScore score;
    std::string error;
    bool completed = RunMatch(settings, log, score, error);
    unlink(path.c_str());
    EXPECT_EQ(completed, c.matchCompletes) << c.name << ": " << error;
    EXPECT_NE(log.str().find(c.reason), std::string::npos) << c.name << ": " << log.str();
    EXPECT_EQ(score.losses + score.draws, 0) << c.name;
  }
}

// The timeout bounds a whole reply: an engine that talks on for three
// seconds without the awaited line fails a one-second timeout, in the
// handshake as in a search. Each chatty spell ends when its output is closed.
TEST(MatchRunner, TimeoutBoundsTheWholeReplyNotEachLine) {
  const std::string chat = "i=0; while [ $i -lt 30 ]; do echo 'info string busy' || exit; sleep 0.1; i=$((i+1)); done";
  const std::pair<std::string, std::string> engines[] = {
      {chat + "; echo uciok", "echo 'bestmove (none)'"},
      {"echo uciok", chat + "; echo 'bestmove (none)'"},
  };
  for (const auto& [onUci, onGo] : engines) {
    std::string path = WriteFakeEngine(onUci, onGo);
    MatchSettings settings = OneGame("sh " + path, 1);
    std::ostringstream log;
    MatchScore score;
    std::string error;
    EXPECT_FALSE(RunMatch(settings, log, score, error)) << onGo;
    unlink(path.c_str());
    EXPECT_NE(error.find("no answer from the engine within 1 s"), std::string::npos) << error;
  }
}

// An engine that writes text, handed over in blocks of 4 KiB, and reads
// whatever it is sent.
class ScriptedEngine : public EngineChannel {
 public:
  explicit ScriptedEngine(std::string text) : text(std::move(text)) {}
  bool Write(std::string_view, Deadline) override { return true; }
  ReadStatus Read(std::span<char> buffer, size_t& got, Deadline) override {
    got = std::min({buffer.size(), text.size() - at, size_t(4096)});
    std::copy_n(text.data() + at, got, buffer.data());
    at += got;
    return got ? ReadStatus::DATA : ReadStatus::CLOSED;
  }

 private:
  std::string text;
  size_t at = 0;
};

// A line longer than the runner keeps is skipped whole, the longest kept
// line is read, and reading goes on after a skipped one.
TEST(MatchRunner, EngineLinesPastTheBoundAreSkippedWhole) {
  const std::string longest = "readyok " + std::string(MAX_ENGINE_LINE - 8, 'x');
  const struct {
    std::string afterHello;
    bool started;
  } cases[] = {
      {longest + "\n", true},
      {longest + "x\n", false},
      {longest + "x\r\nreadyok\n", true},
      {longest + longest, false},
  };
  for (const auto& c : cases) {
    OutsideEngine engine;
    std::string error;
    EXPECT_EQ(engine.Start({}, std::make_unique<ScriptedEngine>("uciok\n" + c.afterHello), error), c.started)
        << c.afterHello.size() << " bytes: " << error;
  }
}

// Whatever an engine calls itself or answers reaches the log and the games
// written only as printable text, and the games read back.
TEST(MatchRunner, EngineTextIsQuotedInTheLogAndTheGames) {
  MatchSettings settings;
  settings.level = 0;
  settings.openings = 1;
  settings.openingPlies = 0;
  settings.playBlack = false;
  OutsideEngine engine;
  std::string error;
  ASSERT_TRUE(engine.Start(settings.engine,
                           std::make_unique<ScriptedEngine>("id name \x1b[2J\"Evil\"\r}\nuciok\nreadyok\nreadyok\n"
                                                            "bestmove }{\x01\n"),
                           error))
      << error;
  std::ostringstream log, pgn;
  MatchScore score;
  EXPECT_TRUE(PlayMatch(settings, engine, log, &pgn, score, error)) << error;
  EXPECT_NE(log.str().find("Lanterra level 0 - \\x1B[2J\"Evil\"\\x0D} depth 1 1-0 (outside engine gave no "
                           "usable move in 'bestmove }{\\x01', 1 plies)"),
            std::string::npos)
      << log.str();
  EXPECT_NE(pgn.str().find("{outside engine gave no usable move in 'bestmove  {\\x01'} 1-0"), std::string::npos)
      << pgn.str();
}

// An engine that does not read its input cannot hold the runner in a write
// once the pipe is full.
TEST(MatchRunner, WritesToAnEngineThatDoesNotReadRunOutOfTime) {
  std::string error;
  auto channel = StartEngineProcess("sleep 30", error);
  ASSERT_TRUE(channel) << error;
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(channel->Write(std::string(1 << 20, 'x'), start + std::chrono::milliseconds(300)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(MatchRunner, AMissingEngineIsReportedNotFatal) {
  MatchSettings settings;
  settings.engine.command = "/nonexistent/engine";
  settings.engine.timeoutSeconds = 5;
  std::ostringstream log;
  MatchScore score;
  std::string error;
  EXPECT_FALSE(RunMatch(settings, log, score, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace lanterra
