// The README's command reference against the tool: each command it shows
// prints the output it states, and it names the same commands and flags as
// `lanterra help`, so that neither can change without the other.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tool_runner.h"

namespace lanterra {
namespace {

// The rows of the command reference: the table rows under
// "## Command reference" whose first cell is a `lanterra ...` synopsis.
std::vector<std::string> ReferenceRows() {
  std::ifstream readme(std::string(LANTERRA_RESOURCE_DIR) + "../README.md");
  std::vector<std::string> rows;
  std::string line;
  bool inSection = false;
  while (std::getline(readme, line)) {
    if (line.starts_with("## ")) inSection = line == "## Command reference";
    if (inSection && line.starts_with("| `lanterra ")) rows.push_back(line);
  }
  return rows;
}

// The synopsis of a reference row: its first cell, without the backticks.
std::string Synopsis(const std::string& row) {
  size_t start = row.find('`') + 1;
  return row.substr(start, row.find('`', start) - start);
}

// An output form as the pattern of one whole line. A word in capitals (N,
// MOVE, each letter of W-D-L) stands for any text without spaces, a space for
// a run of spaces, anything else for itself.
std::regex FormPattern(const std::string& form) {
  std::string pattern = "^";
  for (size_t i = 0; i < form.size();) {
    size_t end = i;
    while (end < form.size() && std::isalnum(static_cast<unsigned char>(form[end]))) ++end;
    if (end > i) {
      std::string word = form.substr(i, end - i);
      bool placeholder = std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
      pattern += placeholder ? "\\S+" : word;
      i = end;
    } else if (form[i] == ' ') {
      pattern += " +";
      ++i;
    } else {
      if (std::string_view(".^$|()[]{}*+?\\").find(form[i]) != std::string_view::npos) pattern += '\\';
      pattern += form[i++];
    }
  }
  return std::regex(pattern + "$");
}

struct FormCase {
  const char* name;
  const char* row;    // the reference row, by the start of its synopsis
  std::string args;   // {dir}: a folder of the case's own, {tool}: the tool, {root}: the sources
  const char* input;  // written to {dir}/input, or nullptr
  int exitCode;
  std::vector<const char*> forms;  // as the row writes them between backticks
};

// Two short games in ICCS, as `lanterra pgn` writes them, for the commands
// that read game files.
constexpr char GAMES[] = "[Result \"1-0\"]\nh2e2 h9g7 h0g2 i9h9\n\n[Result \"0-1\"]\nh2e2 h7e7\n";
// Red's king on d0 under a black rook on e1: both its moves are refused, and
// red has nothing else.
constexpr char MATED[] = "4k4/9/9/9/9/9/9/9/4r4/3K5 w - - 0 1";
constexpr char SCORE_FORM[] = "score W-D-L pct P elo E ± M";

const std::vector<FormCase> FORM_CASES = {
    {"help", "lanterra help", "help", nullptr, 0, {"usage: lanterra COMMAND [ARGS]"}},
    {"perft", "lanterra perft", "perft 2", nullptr, 0, {"nodes N", "time T s nps R"}},
    {"perft_divide", "lanterra perft", "perft 1 --divide", nullptr, 0, {"MOVE N"}},
    {"key", "lanterra key", "key", nullptr, 0, {"key E6DB463E lockA 8F899C24 lockB 052656D5"}},
    {"moves", "lanterra moves", "moves", nullptr, 0, {"MOVE", "moves N legal M"}},
    {"moves_refused", "lanterra moves", std::string("moves ") + MATED, nullptr, 0, {"MOVE refused"}},
    {"think", "lanterra think", "think --level 0 --seed 1 --no-book", nullptr, 0,
     {"bestmove MOVE depth D nodes N score V", "time T s"}},
    {"think_mated", "lanterra think", std::string("think ") + MATED, nullptr, 1, {"bestmove (none)"}},
    {"bench", "lanterra bench", "bench", nullptr, 0, {"bench: nodes N nps R"}},
    {"elo", "lanterra elo", "elo 5 1 2", nullptr, 0, {SCORE_FORM}},
    {"pgn", "lanterra pgn", "pgn {dir}/games.pgn", nullptr, 0, {"[Result \"R\"]", "games G ok K failed F"}},
    {"book_build", "lanterra book build",
     "book build {dir}/games.pgn -o {dir}/book.dat --min-games 1 --min-move-games 1", nullptr, 0,
     {"games G failed F skipped S", "entries E positions P"}},
    {"book_dump", "lanterra book dump", "book dump", nullptr, 0,
     {"lock L, N moves, total weight W", "MOVE CHINESE WEIGHT P%"}},
    {"book_verify", "lanterra book verify", "book verify {root}/resources/book.dat", nullptr, 0,
     {"entries E positions P reachable R"}},
    {"match", "lanterra match",
     "match --level 0 --engine '{tool} uci' --rank-base 0 --depth 1 --openings 1 --pgn {dir}/match.pgn", nullptr, 0,
     {SCORE_FORM}},
    {"ucci", "lanterra ucci", "ucci < {dir}/input", "ucci\nposition startpos\ngo depth 1\nquit\n", 0,
     {"ucciok", "bestmove MOVE"}},
    {"uci", "lanterra uci", "uci < {dir}/input", "uci\nposition startpos\ngo depth 1\nquit\n", 0,
     {"uciok", "bestmove MOVE"}},
    {"fuzz_protocol", "lanterra fuzz-protocol", "fuzz-protocol 200 7", nullptr, 0,
     {"fuzz-protocol: N inputs in S sessions, A answers, B bestmoves, E errors, X bad answers, T s (R inputs/s)"}},
};

// Whether a reference row is the one a case names: its synopsis is the
// case's row, or goes on from it after a space.
bool RowIs(const std::string& row, std::string_view name) {
  std::string synopsis = Synopsis(row);
  return synopsis == name || synopsis.starts_with(std::string(name) + " ");
}

std::string Substituted(std::string text, const std::string& key, const std::string& value) {
  for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
  return text;
}

void PrintTo(const FormCase& c, std::ostream* os) { *os << "lanterra " << c.args; }

class CommandOutput : public ::testing::TestWithParam<FormCase> {};

TEST_P(CommandOutput, IsTheFormTheReadmeStates) {
  const FormCase& c = GetParam();
  std::vector<std::string> rows = ReferenceRows();
  auto row = std::find_if(rows.begin(), rows.end(), [&](const std::string& r) { return RowIs(r, c.row); });
  ASSERT_NE(row, rows.end()) << "no row for `" << c.row << "` under '## Command reference'";

  // Each case works in a folder of its own, as cases and whole test runs may
  // go on side by side.
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("lanterra_readme_" + std::string(c.name) + "_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "games.pgn") << GAMES;
  if (c.input) std::ofstream(dir / "input") << c.input;
  std::string args = Substituted(c.args, "{dir}", dir.string());
  args = Substituted(args, "{tool}", LANTERRA_TOOL);
  args = Substituted(args, "{root}", std::string(LANTERRA_RESOURCE_DIR) + "..");
  test::ToolRun run = test::RunTool(args, test::ToolStderr::MERGED);
  EXPECT_EQ(run.exitCode, c.exitCode) << args << "\n" << run.output;

  for (const char* form : c.forms) {
    EXPECT_NE(row->find(std::string("`") + form + "`"), std::string::npos)
        << "the row of `" << c.row << "` no longer states `" << form << "`";
    std::regex pattern = FormPattern(form);
    std::istringstream lines(run.output);
    bool found = false;
    for (std::string line; !found && std::getline(lines, line);) found = std::regex_match(line, pattern);
    EXPECT_TRUE(found) << "`lanterra " << args << "` printed no line of the form `" << form << "`:\n" << run.output;
  }
  std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Reference, CommandOutput, ::testing::ValuesIn(FORM_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

// Every row of the reference is run by some case above.
TEST(CommandReference, EveryRowIsRun) {
  std::vector<std::string> rows = ReferenceRows();
  ASSERT_FALSE(rows.empty()) << "no `lanterra ...` rows under '## Command reference'";
  for (const std::string& row : rows) {
    bool run = std::any_of(FORM_CASES.begin(), FORM_CASES.end(), [&](const FormCase& c) { return RowIs(row, c.row); });
    EXPECT_TRUE(run) << "no case runs `" << Synopsis(row) << "`";
  }
}

// The flags of a usage text: words that start with a dash after a space, a
// bracket or a bar, so that W-D-L and a0-i9 are not taken for flags.
std::set<std::string> Flags(const std::string& text) {
  static const std::regex flag(R"((?:^|[\s\[|])(--?[a-z][a-z-]*))");
  std::set<std::string> flags;
  for (auto m = std::sregex_iterator(text.begin(), text.end(), flag); m != std::sregex_iterator(); ++m)
    flags.insert((*m)[1]);
  return flags;
}

TEST(CommandReference, NamesTheCommandsAndFlagsThatHelpLists) {
  test::ToolRun help = test::RunTool("help");
  ASSERT_EQ(help.exitCode, 0);
  std::map<std::string, std::set<std::string>> listed, documented;
  std::istringstream lines(help.output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("  ")) continue;
    std::string name = line.substr(2, line.find(' ', 2) - 2);
    listed[name].merge(Flags(line));
  }
  ASSERT_GT(listed.size(), 5u) << help.output;
  for (const std::string& row : ReferenceRows()) {
    std::string synopsis = Synopsis(row);
    std::string name = synopsis.substr(9, synopsis.find(' ', 9) - 9);  // after "lanterra "
    documented[name].merge(Flags(synopsis));
  }
  // Help does not list itself.
  EXPECT_EQ(documented.erase("help"), 1u) << "the reference has no row for `lanterra help`";
  EXPECT_EQ(documented, listed);
}

}  // namespace
}  // namespace lanterra
