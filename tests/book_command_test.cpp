// The book command on damaged files: dump shows the engine's own odds,
// verify fails whatever the game would not use, and neither falls over.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/book.h"
#include "book/book_builder.h"
#include "tests/tool_runner.h"

namespace lanterra {
namespace {

using test::ToolRun;

constexpr uint32_t START_LOCK = 0x052656D5u;
constexpr uint16_t H2E2 = 0xA7AA;
constexpr uint16_t A0_ONTO_MARGIN = 0xC2C3;  // the rook's slide off the left edge

ToolRun Tool(const std::string& args) { return test::RunTool(args, test::ToolStderr::MERGED); }

// Each test writes its own file, as tests may run side by side.
std::string WriteBook(const char* name, const std::vector<BookEntry>& entries, size_t extraBytes = 0) {
  std::string path = (std::filesystem::temp_directory_path() / ("lanterra_" + std::string(name) + ".dat")).string();
  std::vector<uint8_t> bytes = EncodeBook(entries);
  bytes.resize(bytes.size() + extraBytes);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

std::vector<BookEntry> StartRun() {
  std::vector<BookEntry> entries;
  for (const StartMove& s : START_BOOK_MOVES) entries.push_back({START_LOCK, s.move, s.weight});
  return entries;
}

TEST(BookDump, OddsCountOnlyTheMovesTheLookupKeeps) {
  // A slide onto the margin is refused, not named or counted.
  std::string path = WriteBook("dump", {{START_LOCK, H2E2, 10}, {START_LOCK, A0_ONTO_MARGIN, 30}});
  ToolRun margin = Tool("book dump --book " + path);
  EXPECT_EQ(margin.exitCode, 0) << margin.output;
  EXPECT_NE(margin.output.find("2 moves, total weight 10\n"), std::string::npos) << margin.output;
  EXPECT_NE(margin.output.find("\nC2C3  -     30    0.0%  (refused)\n"), std::string::npos) << margin.output;

  // The lookup draws from at most 128 moves; the rest never play.
  std::vector<BookEntry> many(MAX_MOVES_PER_POSITION, BookEntry{START_LOCK, H2E2, 1});
  many.push_back({START_LOCK, 0xA7A4, 30000});
  ToolRun crowded = Tool("book dump --book " + WriteBook("dump", many));
  EXPECT_NE(crowded.output.find("129 moves, total weight 128\n"), std::string::npos) << crowded.output;
  EXPECT_NE(crowded.output.find("30000    0.0%  (beyond the first 128)"), std::string::npos) << crowded.output;
  std::filesystem::remove(WriteBook("dump", {}));
}

TEST(BookVerify, FailsWhatTheGameWouldNotUse) {
  std::vector<BookEntry> unreachable = StartRun(), illegal = StartRun();
  unreachable.push_back({0xFFFFFFF0u, H2E2, 1});
  illegal.push_back({START_LOCK, A0_ONTO_MARGIN, 1});
  struct Case {
    const char* name;
    std::vector<BookEntry> entries;
    size_t extraBytes;
    int exitCode;
    const char* says;
  };
  const Case cases[] = {
      {"sound", StartRun(), 0, 0, "entries 16 positions 1 reachable 16"},
      {"trailing bytes", StartRun(), 3, 1, "3 trailing bytes"},
      {"unreachable", unreachable, 0, 1, "unreachable 1"},
      {"illegal", illegal, 0, 1, "illegal moves 1"},
      {"empty", {}, 0, 1, "no entries"},
  };
  for (const Case& c : cases) {
    ToolRun run = Tool("book verify " + WriteBook("verify", c.entries, c.extraBytes));
    EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.output;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << c.name << ": " << run.output;
  }
  std::filesystem::remove(WriteBook("verify", {}));

  // A directory is an error, not an abort.
  std::string dir = std::filesystem::temp_directory_path().string();
  for (std::string command : {"book verify " + dir, "book dump --book " + dir}) {
    ToolRun run = Tool(command);
    EXPECT_EQ(run.exitCode, 2) << command << ": " << run.output;
    EXPECT_NE(run.output.find("not a regular file"), std::string::npos) << command << ": " << run.output;
  }
}

}  // namespace
}  // namespace lanterra
