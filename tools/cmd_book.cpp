// The book command: build the opening book from games, show a position's
// book moves, and check a book file.
#include <chrono>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "book/book_builder.h"
#include "engine/book.h"
#include "notation/chinese_notation.h"
#include "notation/fen_iccs.h"
#include "rules/board_tables.h"
#include "tools/book_file.h"
#include "tools/command.h"
#include "tools/game_file_replay.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

constexpr const char* USAGE =
    "usage: lanterra book build GAMES... -o FILE [--min-games N] [--min-move-games N]\n"
    "       lanterra book dump [--book FILE] [FEN] [moves m1 m2 ...]\n"
    "       lanterra book verify FILE\n";

int RunBuild(const Args& args) {
  std::vector<std::string> inputs;
  std::string output;
  BookBuildOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    long long value = 0;
    bool hasValue = i + 1 < args.size();
    if (args[i] == "-o" && hasValue) {
      output = std::string(args[++i]);
    } else if (args[i] == "--min-games" || args[i] == "--min-move-games") {
      // Thresholds count games; a number past an int would wrap.
      if (!hasValue || !ParseNumber(args[i + 1], value) || value < 1 || value > INT_MAX) {
        std::fprintf(stderr, "lanterra book build: %.*s must be 1..%d\n", int(args[i].size()), args[i].data(), INT_MAX);
        return 2;
      }
      (args[i] == "--min-games" ? options.minGames : options.minMoveGames) = int(value);
      ++i;
    } else if (!args[i].empty() && args[i][0] == '-') {
      std::fprintf(stderr, "lanterra book build: bad option '%.*s'\n%s", int(args[i].size()), args[i].data(), USAGE);
      return 2;
    } else {
      inputs.emplace_back(args[i]);
    }
  }
  if (inputs.empty() || output.empty()) {
    std::fprintf(stderr, "%s", USAGE);
    return 2;
  }
  auto begin = std::chrono::steady_clock::now();
  BookBuilder builder;
  ReplayCount count;
  std::string error;
  auto add = [&](const PgnGame&, const Position& start, const std::vector<Move>& moves) {
    builder.AddGame(start, moves);
    return std::string();
  };
  for (const std::string& path : inputs) {
    // A book from part of a file would pass for the whole one.
    if (FileRead read = ReplayGameFile(path, count, add, error); read != FileRead::WHOLE) {
      std::fprintf(stderr, "lanterra book build: %s%s\n", error.c_str(),
                   read == FileRead::BROKEN ? "; no book written" : "");
      return 2;
    }
  }
  BookBuildStats stats;
  std::vector<BookEntry> entries = builder.Build(options, stats);
  if (entries.size() > size_t(BOOK_CAPACITY)) {
    std::fprintf(stderr, "lanterra book build: %zu entries exceed the book's %d; raise the thresholds\n",
                 entries.size(), BOOK_CAPACITY);
    return 1;
  }
  if (!WriteBookFile(output, EncodeBook(entries))) {
    std::fprintf(stderr, "lanterra book build: cannot write %s\n", output.c_str());
    return 2;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("games %ld failed %ld skipped %ld\n", stats.gamesAdded, count.failed, stats.gamesSkipped);
  std::printf("thresholds: position in >= %d games, move in >= %d games\n", options.minGames, options.minMoveGames);
  std::printf("positions seen %ld kept %ld unreachable %ld lock clashes %ld scaled %ld\n", stats.positionsSeen,
              stats.positionsKept, stats.positionsUnreachable, stats.lockClashes, stats.positionsScaled);
  std::printf("entries %ld positions %ld\n", stats.entries, stats.positions);
  std::fprintf(stderr, "time %.1f s\n", seconds);
  return 0;
}

int RunDump(const Args& args) {
  auto book = std::make_unique<Book>();
  Args rest;
  bool fromFile = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--book" && i + 1 < args.size()) {
      BookFileLoss loss;
      if (!LoadBookFile(std::string(args[++i]), *book, loss)) return 2;
      fromFile = true;
    } else {
      rest.push_back(args[i]);
    }
  }
  if (!fromFile) ReadBook(*book, EmbeddedBookData());
  Position pos;
  if (!ReadPositionArgs(rest, 0, pos)) return 2;

  // The engine's own lookup, whose kept moves and total give the odds;
  // every other entry of the run is listed too, at no chance.
  BookChoices choices;
  FindBookChoices(*book, pos, choices);
  if (choices.first == choices.last) {
    std::printf("%s\nnot in the book\n", ToFen(pos).c_str());
    return 0;
  }
  std::printf("%s\nlock 0x%08X%s, %d moves, total weight %d\n", ToFen(pos).c_str(),
              book->entries[choices.first].lock, choices.mirrored ? " (its mirror image)" : "",
              choices.last - choices.first, choices.total);
  int kept = 0;
  for (int i = choices.first; i < choices.last; ++i) {
    const BookEntry& e = book->entries[i];
    Move mv = choices.mirrored ? MirroredMove(e.move) : Move(e.move);
    bool isKept = kept < choices.count && choices.entry[kept] == i;
    kept += isKept;
    std::string name, chinese = "-", note;
    if (ON_BOARD[MoveFrom(mv)] && ON_BOARD[MoveTo(mv)]) {
      name = IccsMove(mv);
    } else {
      // A square off the board has no ICCS name; such a move shows as its code.
      char code[8];
      std::snprintf(code, sizeof code, "%04X", unsigned(mv));
      name = code;
    }
    if (BookMoveFits(pos, mv)) {
      chinese = ChineseMove(pos, mv, ChineseScript::SIMPLIFIED);
      if (!isKept) note = "  (beyond the first " + std::to_string(MAX_MOVES_PER_POSITION) + ")";
    } else {
      note = "  (refused)";
    }
    double percent = isKept && choices.total ? 100.0 * e.weight / double(choices.total) : 0.0;
    std::printf("%s  %s  %5d  %5.1f%%%s\n", name.c_str(), chinese.c_str(), e.weight, percent, note.c_str());
  }
  return 0;
}

// A book file fails unless the game would use all of it: every byte read,
// the entries in order, and each reached from the start by book moves and
// playable there.
int RunVerify(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "%s", USAGE);
    return 2;
  }
  std::string path(args[0]);
  auto book = std::make_unique<Book>();
  BookFileLoss loss;
  if (!LoadBookFile(path, *book, loss)) return 2;
  BookCheck check = CheckBook({book->entries, size_t(book->bookSize)});
  long unreachable = check.entries - check.reachable;
  if (check.orderFaults) std::printf("order faults %ld\n", check.orderFaults);
  if (check.illegalMoves) std::printf("illegal moves %ld\n", check.illegalMoves);
  if (unreachable) std::printf("unreachable %ld\n", unreachable);
  std::printf("entries %ld positions %ld reachable %ld\n", check.entries, check.positions, check.reachable);
  bool failed = loss.trailingBytes || loss.cutEntries || check.entries == 0 || check.orderFaults ||
                check.illegalMoves || unreachable;
  if (check.entries == 0) std::fprintf(stderr, "lanterra book: %s: no entries\n", path.c_str());
  if (failed) std::fprintf(stderr, "lanterra book verify: %s is not a sound book\n", path.c_str());
  return failed ? 1 : 0;
}

int RunBook(const Args& args) {
  if (args.empty()) {
    std::fprintf(stderr, "%s", USAGE);
    return 2;
  }
  Args rest(args.begin() + 1, args.end());
  if (args[0] == "build") return RunBuild(rest);
  if (args[0] == "dump") return RunDump(rest);
  if (args[0] == "verify") return RunVerify(rest);
  std::fprintf(stderr, "lanterra book: unknown subcommand '%.*s'\n%s", int(args[0].size()), args[0].data(), USAGE);
  return 2;
}

CommandRegistrar reg{"book",
                     "book build GAMES... -o FILE [--min-games N] [--min-move-games N]  build the opening book\n"
                     "book dump [--book FILE] [FEN] [moves m1 m2 ...]  a position's book moves and their odds\n"
                     "book verify FILE  check that the game would use the whole book file",
                     &RunBook};

}  // namespace
}  // namespace lanterra::tool
