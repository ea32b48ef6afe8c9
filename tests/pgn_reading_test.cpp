#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "notation/fen_iccs.h"
#include "notation/move_notation.h"
#include "notation/text.h"
#include "pgn/pgn_replay.h"
#include "pgn/pgn_source.h"
#include "pgn/pgn_splitter.h"
#include "tests/tool_runner.h"

namespace lanterra {
namespace {

using namespace std::string_view_literals;
using test::RunTool;
using test::ToolRun;

// Chinese moves with numbers and a comment, then an ICCS list without
// numbers or tags, then a game that breaks at black's second move.
constexpr const char* SAMPLE = R"([Game "Chinese Chess"]
[Event "Final"]
[Result "1-0"]
[FEN "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1"]

1. 炮二平五 馬８進７ {the usual reply}
2. 馬二進三 車９平８
3.車一平二
1-0

h2e2 h9g7 h0g2 i9h9 *

[Event "Broken"]
[Result "0-1"]
1. 炮二平五 馬８進７
2. 馬二進三 車９平９
0-1
)";

std::vector<PgnGame> ParseAll(std::string_view text, size_t maxLineBytes = MAX_LINE_BYTES,
                              size_t maxGameBytes = MAX_GAME_BYTES) {
  PgnSource source(maxLineBytes);
  source.OpenText(text);
  PgnSplitter splitter(source, maxGameBytes);
  std::vector<PgnGame> games;
  PgnGame game;
  while (splitter.Next(game)) games.push_back(game);
  return games;
}

// Reads a file's games; error holds why reading stopped early, if it did.
std::vector<PgnGame> ReadFile(const std::string& path, std::string& error) {
  PgnSource source;
  std::vector<PgnGame> games;
  if (!source.Open(path, error)) return games;
  PgnSplitter splitter(source);
  PgnGame game;
  while (splitter.Next(game)) games.push_back(game);
  error = source.Error();
  return games;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The text as one gzip member.
std::string Gzip(std::string_view text) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&z, uLong(text.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = uInt(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

std::string Iccs(const std::vector<Move>& moves) {
  std::string s;
  for (Move mv : moves) s += (s.empty() ? "" : " ") + IccsMove(mv);
  return s;
}

TEST(PgnSplitter, SplitsGamesAndStripsNumbersCommentsAndResults) {
  std::vector<PgnGame> games = ParseAll(SAMPLE);
  ASSERT_EQ(games.size(), 3u);
  EXPECT_EQ(games[0].Tag("Event"), "Final");
  EXPECT_EQ(games[0].Result(), "1-0");
  EXPECT_EQ(games[0].moves, (std::vector<std::string>{"炮二平五", "馬８進７", "馬二進三", "車９平８", "車一平二"}));
  EXPECT_EQ(games[1].Result(), "*");
  EXPECT_EQ(games[1].moves.size(), 4u);
  EXPECT_EQ(games[2].index, 3);
  EXPECT_EQ(games[2].line, 13);
}

TEST(ReplayGame, ReplaysChineseAndIccsAndNamesTheFaultyMove) {
  std::vector<PgnGame> games = ParseAll(SAMPLE);
  Position start;
  std::vector<Move> moves;
  std::string error;
  ASSERT_TRUE(ReplayGame(games[0], "sample.pgn", start, moves, error)) << error;
  EXPECT_EQ(Iccs(moves), "h2e2 h9g7 h0g2 i9h9 i0h0");
  ASSERT_TRUE(ReplayGame(games[1], "sample.pgn", start, moves, error)) << error;
  EXPECT_EQ(Iccs(moves), "h2e2 h9g7 h0g2 i9h9");

  EXPECT_FALSE(ReplayGame(games[2], "sample.pgn", start, moves, error));
  for (const char* part : {"sample.pgn:13", "game 3", "Broken", "move 2 black", "\"車９平９\""})
    EXPECT_NE(error.find(part), std::string::npos) << part << " missing in: " << error;
}

TEST(ReplayGame, RefusesBadFenAndIllegalIccs) {
  const char* cases[] = {
      "[FEN \"rnbakabnr/9/1c5c1 w\"]\nh2e2\n",
      "h2e3\n",
      "h2e2 h9g7 h2e2\n",
  };
  for (const char* text : cases) {
    std::vector<PgnGame> games = ParseAll(text);
    ASSERT_EQ(games.size(), 1u) << text;
    Position start;
    std::vector<Move> moves;
    std::string error;
    EXPECT_FALSE(ReplayGame(games[0], "t", start, moves, error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

TEST(PgnSource, ReadsPlainAndGzipAlike) {
  std::string plain = TempPath("lanterra_pgn_plain.pgn");
  std::string packed = TempPath("lanterra_pgn_packed.pgn.gz");
  WriteFile(plain, SAMPLE);
  WriteFile(packed, Gzip(SAMPLE));

  std::string error;
  for (const std::string& path : {plain, packed}) {
    std::vector<PgnGame> games = ReadFile(path, error);
    EXPECT_EQ(error, "") << path;
    ASSERT_EQ(games.size(), 3u) << path;
    EXPECT_EQ(games[0].moves, ParseAll(SAMPLE)[0].moves) << path;
  }
  ReadFile(TempPath("lanterra_no_such_file.pgn"), error);
  EXPECT_NE(error, "");

  // The command converts what it can, reports the rest and counts both,
  // on standard error, so that the games written read back alone.
  ToolRun run = RunTool("pgn " + plain);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output,
            "[Result \"1-0\"]\nh2e2 h9g7 h0g2 i9h9 i0h0\n"
            "[Result \"*\"]\nh2e2 h9g7 h0g2 i9h9\n");
  std::string messages = RunTool("pgn " + plain, test::ToolStderr::ONLY).output;
  EXPECT_TRUE(messages.ends_with("(Broken): move 2 black \"車９平９\": no legal move matches\n"
                                 "games 3 ok 2 failed 1\n"))
      << messages;
  std::filesystem::remove(plain);
  std::filesystem::remove(packed);
}

// A game in brief: its Event tag, then its move count or its fault.
std::string Brief(const PgnGame& game) {
  return std::string(game.Tag("Event")) + " " + (game.fault.empty() ? std::to_string(game.moves.size()) : game.fault);
}

struct SplitCase {
  std::string text;
  std::vector<std::string> games;
  size_t maxLineBytes = MAX_LINE_BYTES;
  size_t maxGameBytes = MAX_GAME_BYTES;
};

TEST(PgnSplitter, EndsEachGameWhereTheNextBeginsAndReportsBrokenOnes) {
  const SplitCase cases[] = {
      // Tags without moves: after a blank line, or repeating a tag.
      {"[Event \"A\"]\n[FEN \"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b\"]\n\n"
       "[Event \"B\"]\nh2e2 h9g7\n",
       {"A 0", "B 2"}},
      {"[Event \"A\"]\n[Event \"B\"]\nh2e2\n", {"A 0", "B 1"}},
      // Comments and variations left open end at the next tag line.
      {"[Event \"A\"]\nh2e2 {note\nh9g7\n[Event \"B\"]\nh2e2 h9g7 *\n",
       {"A the comment opened on line 2 is not closed", "B 2"}},
      {"[Event \"A\"]\nh2e2 (h0g2\nh9g7\n[Event \"B\"]\nh2e2\n",
       {"A the variation opened on line 2 is not closed", "B 1"}},
      {"[Event \"A\"]\nh2e2 {see\n[%clk 0:01]\n} h9g7\n", {"A 2"}},
      // Byte-order mark; CRLF, CR and LF line ends in one file.
      {"\xEF\xBB\xBF[Event \"A\"]\nh2e2\n", {"A 1"}},
      {"[Event \"A\"]\r\nh2e2\r\n\r[Event \"B\"]\rh2e2 h9g7\n", {"A 1", "B 2"}},
      // Bounds: the game is reported and the next one read.
      {"[Event \"A\"]\nh2e2 h9g7 h0g2 i9h9 i0h0 b9c7 g3g4\n[Event \"B\"]\nh2e2\n",
       {"A line 2 is longer than 32 bytes", "B 1"},
       32, 64},
      {"[Event \"A\"]\n[Site \"" + std::string(40, 'x') + "\"]\n[Round \"1\"]\nh2e2\n[Event \"B\"]\nh2e2\n",
       {"A line 2 is longer than 32 bytes", "B 1"},
       32, 64},
      {"[Event \"A\"]\nh2e2 h9g7\nh0g2 i9h9\ni0h0 b9c7\ng3g4 c6c5\nb2b6 c7d5\nh0h5 d5c3\n[Event \"B\"]\nh2e2\n",
       {"A the game is longer than 64 bytes", "B 1"},
       32, 64},
  };
  for (const SplitCase& c : cases) {
    std::vector<std::string> briefs;
    for (const PgnGame& game : ParseAll(c.text, c.maxLineBytes, c.maxGameBytes)) briefs.push_back(Brief(game));
    EXPECT_EQ(briefs, c.games) << c.text;
  }
}

TEST(PgnSource, ReadsUtf8GbkAndBig5) {
  struct EncodingCase {
    std::string text;
    std::string_view encoding;
  };
  // 炮二平五 馬８進７, or 马８进７ in simplified characters.
  const std::string big5 = "\xAC\xB6\xA4G\xA5\xAD\xA4\xAD \xB0\xA8\xA2\xB7\xB6i\xA2\xB6";
  const std::string gbk = "\xC5\xDA\xB6\xFE\xC6\xBD\xCE\xE5 \xC2\xED\xA3\xB8\xBD\xF8\xA3\xB7";
  const std::string gbkTraditional = "\xC5\xDA\xB6\xFE\xC6\xBD\xCE\xE5 \xF1R\xA3\xB8\xDFM\xA3\xB7";
  std::string asciiFirst;
  for (int i = 0; i < 8000; ++i) asciiFirst += "h2e2 h9g7 *\n";
  std::string manyBig5;
  for (int i = 0; i < 8000; ++i) manyBig5 += "1. " + big5 + " *\n";
  const EncodingCase cases[] = {
      {"\xEF\xBB\xBF[Event \"x\"]\r\n1. 炮二平五 馬８進７\r\n", "UTF-8"},
      {"[Event \"x\"]\r1. " + gbk + "\r", "GBK"},
      {"1. " + gbkTraditional + "\n", "GBK"},
      {"1. " + big5 + "\n", "Big5"},
      // The encoding shows only after several blocks of ASCII, and its
      // double-byte characters straddle block ends.
      {asciiFirst + manyBig5, "Big5"},
      // Well-formed UTF-8 at first (C6 BD, 平 in GBK), GBK blocks later:
      // the choice waits for enough text beyond ASCII.
      {"[Result \"\xC6\xBD\"]\n" + asciiFirst + asciiFirst + asciiFirst + "1. " + gbk + " *\n", "GBK"},
  };
  for (const EncodingCase& c : cases) {
    PgnSource source;
    source.OpenText(c.text);
    PgnSplitter splitter(source);
    PgnGame game;
    long games = 0;
    std::string failure;
    while (splitter.Next(game)) {
      ++games;
      Position start;
      std::vector<Move> moves;
      std::string error;
      if (!ReplayGame(game, "t", start, moves, error)) failure = error;
      else if (Iccs(moves) != "h2e2 h9g7") failure = Iccs(moves);
      if (!failure.empty()) break;
    }
    EXPECT_EQ(failure, "") << c.encoding;
    EXPECT_EQ(source.Encoding(), c.encoding);
    EXPECT_EQ(source.Error(), "");
    EXPECT_EQ(games, std::max<long>(1, std::count(c.text.begin(), c.text.end(), '*')));
  }

  for (std::string_view text : {"\xFF\xFE[\0E\0"sv, "h2e2 \x80\xFF\x80\xFF\x80\xFF\n"sv}) {
    PgnSource source;
    source.OpenText(text);
    PgnSplitter splitter(source);
    PgnGame game;
    while (splitter.Next(game)) {
    }
    EXPECT_NE(source.Error(), "") << Printable(text);
  }
}

TEST(ReplayGame, MessagesEscapeWhatCouldGarbleTheTerminal) {
  std::vector<PgnGame> games = ParseAll("[Event \"\x1B]0;x\x07\"]\nh2e2 \x1B[2J車\xFF\n");
  ASSERT_EQ(games.size(), 1u);
  Position start;
  std::vector<Move> moves;
  std::string error;
  ASSERT_FALSE(ReplayGame(games[0], "t", start, moves, error));
  EXPECT_NE(error.find("(\\x1B]0;x\\x07)"), std::string::npos) << error;
  EXPECT_NE(error.find("\"\\x1B[2J車\\xFF\""), std::string::npos) << error;

  const std::tuple<std::string_view, Charset, std::string_view> cases[] = {
      {"a\tb", Charset::UTF8, "a\\x09b"},
      {"車", Charset::ASCII, "\\xE8\\xBB\\x8A"},
      {"\xC0\xAF\xC2\x9B", Charset::UTF8, "\\xC0\\xAF\\xC2\\x9B"},  // overlong '/', C1 control
      {"\xE2\x80\xAE", Charset::UTF8, "\\xE2\\x80\\xAE"},            // right-to-left override
      {"車馬", Charset::UTF8, "車..."},
  };
  for (auto [text, charset, shown] : cases) EXPECT_EQ(Printable(text, 4, charset), shown);
}

TEST(PgnSource, DamagedFilesAreErrorsAndBuildNoBook) {
  std::string games;
  for (int i = 0; i < 200; ++i) games += "[Event \"g" + std::to_string(i) + "\"]\nh2e2 h9g7 h0g2 i9h9 i0h0 b9c7\n";
  std::string whole = TempPath("lanterra_pgn_whole.pgn.gz");
  WriteFile(whole, Gzip(games));
  std::ifstream in(whole, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string cut = TempPath("lanterra_pgn_cut.pgn.gz");
  std::string flipped = TempPath("lanterra_pgn_flipped.pgn.gz");
  WriteFile(cut, bytes.substr(0, bytes.size() - 20));
  bytes[bytes.size() / 2] ^= 0x10;
  WriteFile(flipped, bytes);
  std::string book = TempPath("lanterra_pgn_book.dat");

  struct DamageCase {
    std::string path;
    std::string error;
    bool opens;  // a file that opens and then breaks off is named as the reason for no book
  };
  const DamageCase cases[] = {
      {std::filesystem::temp_directory_path().string(), "Is a directory", true},
      {cut, "cut short", true},
      {flipped, "", true},
      {TempPath("lanterra_no_such_file.pgn"), "cannot open", false},
  };
  for (const DamageCase& c : cases) {
    std::string error;
    std::vector<PgnGame> read = ReadFile(c.path, error);
    EXPECT_TRUE(error.starts_with(c.path + ": ")) << error;
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_LT(read.size(), 200u) << c.path;
    if (!read.empty()) {
      EXPECT_EQ(read.back().fault, "cut short: the file breaks off inside this game");
    }
    EXPECT_EQ(RunTool("pgn " + c.path).exitCode, 2) << c.path;
    std::filesystem::remove(book);
    ToolRun build = RunTool("book build " + c.path + " -o " + book, test::ToolStderr::MERGED);
    EXPECT_EQ(build.exitCode, 2) << c.path;
    EXPECT_EQ(build.output.find("; no book written") != std::string::npos, c.opens) << build.output;
    EXPECT_FALSE(std::filesystem::exists(book)) << c.path;
  }
  EXPECT_EQ(RunTool("pgn " + whole).exitCode, 0);
  for (const std::string& path : {whole, cut, flipped}) std::filesystem::remove(path);
}

// Runs pgn, with options, on bytes written to a file; then the property
// that matters: whatever pgn accepts, pgn of its output with the same
// options exits 0 and writes the same.
ToolRun PgnAndBack(std::string_view bytes, const std::string& name, const std::string& options = "") {
  std::string path = TempPath(name.c_str());
  WriteFile(path, bytes);
  ToolRun first = RunTool("pgn " + options + path);
  std::string again = path + ".out";
  WriteFile(again, first.output);
  ToolRun second = RunTool("pgn " + options + again);
  EXPECT_EQ(second.exitCode, 0) << name << " " << options;
  EXPECT_EQ(second.output, first.output) << name << " " << options;
  std::filesystem::remove(path);
  std::filesystem::remove(again);
  return first;
}

TEST(PgnCommand, OutputIsAGameFileThatReadsBackToItself) {
  // 炮二平五 马８进７ in GBK.
  const std::string gbkMoves = "\xC5\xDA\xB6\xFE\xC6\xBD\xCE\xE5 \xC2\xED\xA3\xB8\xBD\xF8\xA3\xB7";
  std::string longGame = "[Event \"long\"]\n";
  for (int line = 0; line < 250; ++line) {
    for (int i = 0; i < 250; ++i) longGame += "h0g2 h9g7 g2h0 g7h9 ";
    longGame += '\n';
  }
  struct Case {
    std::string input;
    int exitCode;
    std::string output;
  };
  const Case cases[] = {
      // Bytes no encoding reads come through as \xNN, escaped again in the
      // tag value; in UTF-8 text and in GBK text.
      {"[Result \"\xFF\xFE\"]\n1. 炮二平五 馬８進７ 2. 馬二進三 車９平８\n", 0,
       "[Result \"\\\\xFF\\\\xFE\"]\nh2e2 h9g7 h0g2 i9h9\n"},
      {"[Result \"\xFF\"]\n1. " + gbkMoves + "\n", 0, "[Result \"\\\\xFF\"]\nh2e2 h9g7\n"},
      // Well-formed UTF-8 is UTF-8, though C6 BD is 平 in GBK.
      {"[Result \"\xC6\xBD\"]\nh2e2\n", 0, "[Result \"ƽ\"]\nh2e2\n"},
      // Written raw, the bad byte would read back in GBK as one character
      // with the backslash that escapes the quote after it.
      {"[Result \xB5\"]\nh2e2\n", 0, "[Result \"\\\\xB5\\\"\"]\nh2e2\n"},
      // Only a quote and a backslash are escaped in a tag value.
      {"[Result \"C:\\games\\a\\\"b\"]\nh2e2\n", 0, "[Result \"C:\\\\games\\\\a\\\"b\"]\nh2e2\n"},
      // The normal start in other words is the normal start; another start
      // is written in one form.
      {"[FEN \"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w\"]\nh2e2\n", 0,
       "[Result \"\"]\nh2e2\n"},
      {"[FEN \"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 7 30\"]\n1... h9g7 2. h2e2 *\n", 0,
       "[FEN \"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b - - 0 1\"]\n[Result \"*\"]\nh9g7 h2e2\n"},
      // Gzip members in a row are one stream, even inside a game; what
      // follows the last member must be another one.
      {Gzip("[Event \"A\"]\n\n[Event \"B\"]\nh2e2 ") + Gzip("h9g7\n"), 0,
       "[Result \"\"]\n\n[Result \"\"]\nh2e2 h9g7\n"},
      {Gzip("h2e2 h9g7 *\n") + "h0g2 i9h9 *\n", 2, "[Result \"*\"]\nh2e2 h9g7\n"},
      // A game that would not read back as written is refused, not written.
      {longGame + "[Event \"short\"]\nh2e2\n", 1, "[Result \"\"]\nh2e2\n"},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::string name = "lanterra_pgn_back_" + std::to_string(++n) + ".pgn";
    ToolRun run = PgnAndBack(c.input, name);
    EXPECT_EQ(run.exitCode, c.exitCode) << name;
    EXPECT_EQ(run.output, c.output) << name;
    // Whole records in every notation read back to themselves as well.
    for (std::string_view notation : NOTATION_NAMES) PgnAndBack(c.input, name, "--notation " + std::string(notation) + " ");
  }
}

TEST(PgnCommand, RefusesAnUnknownNotation) {
  for (const char* args : {"pgn --notation pinyin x.pgn", "pgn x.pgn --notation", "moves --notation ICCS",
                           "match --notation chinese"}) {
    ToolRun run = RunTool(args, test::ToolStderr::MERGED);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_NE(run.output.find("--notation"), std::string::npos) << run.output;
  }
}

TEST(PgnMasterGames, OutputReadsBackToItself) {
  if (!std::filesystem::exists(LANTERRA_MASTER_GAMES)) GTEST_SKIP() << LANTERRA_MASTER_GAMES << " is missing";
  std::string path = TempPath("lanterra_pgn_master.pgn");
  auto begin = std::chrono::steady_clock::now();
  ToolRun first = RunTool(std::string("pgn ") + LANTERRA_MASTER_GAMES);
  WriteFile(path, first.output);
  ToolRun second = RunTool("pgn " + path);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("master games through pgn twice: %.1f s, %zu bytes\n", seconds, first.output.size());
  // The source's one game that does not play fails the first pass.
  EXPECT_EQ(first.exitCode, 1);
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_TRUE(second.output == first.output);
  std::filesystem::remove(path);
}

// The moves of pgn's default output: every line but the tag lines.
std::vector<std::string> MoveLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);)
    if (!line.starts_with('[')) lines.push_back(line);
  return lines;
}

class PgnMasterGamesIn : public testing::TestWithParam<const char*> {};

// The master games written in a notation read back to the same record; in
// Chinese and WXF, whose readers find each move among the legal ones, also
// to the same moves as the games themselves.
TEST_P(PgnMasterGamesIn, ReadBackToThemselvesAndTheSameMoves) {
  if (!std::filesystem::exists(LANTERRA_MASTER_GAMES)) GTEST_SKIP() << LANTERRA_MASTER_GAMES << " is missing";
  const std::string options = std::string("pgn --notation ") + GetParam() + " ";
  std::string path = TempPath((std::string("lanterra_pgn_master_") + GetParam() + ".pgn").c_str());
  auto begin = std::chrono::steady_clock::now();
  ToolRun first = RunTool(options + LANTERRA_MASTER_GAMES);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("master games written in %s: %.1f s, %zu bytes\n", GetParam(), seconds, first.output.size());
  WriteFile(path, first.output);
  ToolRun second = RunTool(options + path);
  EXPECT_EQ(first.exitCode, 1);
  EXPECT_EQ(second.exitCode, 0);
  EXPECT_TRUE(second.output == first.output);

  if (GetParam() == "chinese"sv || GetParam() == "wxf"sv) {
    ToolRun moves = RunTool("pgn " + path);
    ToolRun original = RunTool(std::string("pgn ") + LANTERRA_MASTER_GAMES);
    EXPECT_EQ(moves.exitCode, 0);
    EXPECT_TRUE(MoveLines(moves.output) == MoveLines(original.output));
  }
  std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(PgnMasterGames, PgnMasterGamesIn, testing::Values("chinese", "simplified", "wxf", "iccs"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace lanterra
