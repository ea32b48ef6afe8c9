// The book command: build the opening book from games, show a position's
// book moves, and check a book file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "book/book_builder.h"
#include "engine/book.h"
#include "notation/chinese_notation.h"
#include "notation/fen_iccs.h"
#include "notation/pgn_reader.h"
#include "tools/command.h"
#include "tools/position_args.h"

namespace lanterra::tool {
namespace {

constexpr const char* USAGE =
    "usage: lanterra book build GAMES... -o FILE [--min-games N] [--min-move-games N]\n"
    "       lanterra book dump [--book FILE] [FEN] [moves m1 m2 ...]\n"
    "       lanterra book verify FILE\n";

bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

// Loads a book file the way the game loads its resource, and says what the
// loading drops.
bool LoadBookFile(const std::string& path, Book& book) {
  std::vector<uint8_t> bytes;
  if (!ReadBinaryFile(path, bytes)) {
    std::fprintf(stderr, "lanterra book: %s: cannot read\n", path.c_str());
    return false;
  }
  if (bytes.size() % 8)
    std::fprintf(stderr, "lanterra book: %s: %zu trailing bytes ignored\n", path.c_str(), bytes.size() % 8);
  if (bytes.size() / 8 > size_t(BOOK_CAPACITY))
    std::fprintf(stderr, "lanterra book: %s: %zu entries, only the first %d are used\n", path.c_str(),
                 bytes.size() / 8, BOOK_CAPACITY);
  ReadBook(book, bytes);
  return true;
}

int RunBuild(const Args& args) {
  std::vector<std::string> inputs;
  std::string output;
  BookBuildOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    long long value = 0;
    bool hasValue = i + 1 < args.size();
    if (args[i] == "-o" && hasValue) {
      output = std::string(args[++i]);
    } else if (args[i] == "--min-games" && hasValue && ParseNumber(args[i + 1], value) && value >= 1) {
      options.minGames = int(value);
      ++i;
    } else if (args[i] == "--min-move-games" && hasValue && ParseNumber(args[i + 1], value) && value >= 1) {
      options.minMoveGames = int(value);
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
  long failed = 0;
  std::string text, error;
  std::vector<Move> moves;
  Position start;
  for (const std::string& path : inputs) {
    if (!ReadTextFile(path, text, error)) {
      std::fprintf(stderr, "lanterra book build: %s\n", error.c_str());
      return 2;
    }
    PgnParser parser(text);
    PgnGame game;
    while (parser.Next(game)) {
      if (!ReplayGame(game, path, start, moves, error)) {
        ++failed;
        std::fprintf(stderr, "%s\n", error.c_str());
        continue;
      }
      builder.AddGame(start, moves);
    }
  }
  BookBuildStats stats;
  std::vector<BookEntry> entries = builder.Build(options, stats);
  if (entries.size() > size_t(BOOK_CAPACITY)) {
    std::fprintf(stderr, "lanterra book build: %zu entries exceed the book's %d; raise the thresholds\n",
                 entries.size(), BOOK_CAPACITY);
    return 1;
  }
  if (!WriteBinaryFile(output, EncodeBook(entries))) {
    std::fprintf(stderr, "lanterra book build: cannot write %s\n", output.c_str());
    return 2;
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("games %ld failed %ld skipped %ld\n", stats.gamesAdded, failed, stats.gamesSkipped);
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
      if (!LoadBookFile(std::string(args[++i]), *book)) return 2;
      fromFile = true;
    } else {
      rest.push_back(args[i]);
    }
  }
  if (!fromFile) ReadBook(*book, EmbeddedBookData());
  Position pos;
  if (!ReadPositionArgs(rest, 0, pos)) return 2;

  // The same search as the engine's lookup, but listing every entry.
  const BookEntry* begin = book->entries;
  const BookEntry* end = book->entries + book->bookSize;
  auto byLock = [](const BookEntry& a, const BookEntry& b) { return a.lock < b.lock; };
  bool mirrored = false;
  auto range = std::equal_range(begin, end, BookEntry{pos.zobrist.lockB, 0, 0}, byLock);
  if (range.first == range.second) {
    Position mirror;
    pos.MirrorInto(mirror);
    range = std::equal_range(begin, end, BookEntry{mirror.zobrist.lockB, 0, 0}, byLock);
    mirrored = true;
  }
  if (range.first == range.second) {
    std::printf("%s\nnot in the book\n", ToFen(pos).c_str());
    return 0;
  }
  long total = 0;
  for (auto e = range.first; e != range.second; ++e) total += e->weight;
  std::printf("%s\nlock 0x%08X%s, %ld moves, total weight %ld\n", ToFen(pos).c_str(), range.first->lock,
              mirrored ? " (its mirror image)" : "", long(range.second - range.first), total);
  for (auto e = range.first; e != range.second; ++e) {
    Move mv = mirrored ? MirroredMove(e->move) : Move(e->move);
    bool legal = pos.IsPseudoLegal(mv);
    std::string chinese = legal ? ChineseMove(pos, mv) : "-";
    std::printf("%s  %s  %5d  %5.1f%%%s\n", IccsMove(mv).c_str(), chinese.c_str(), e->weight,
                total ? 100.0 * e->weight / double(total) : 0.0, legal ? "" : "  (refused)");
  }
  return 0;
}

int RunVerify(const Args& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "%s", USAGE);
    return 2;
  }
  auto book = std::make_unique<Book>();
  if (!LoadBookFile(std::string(args[0]), *book)) return 2;
  BookCheck check = CheckBook({book->entries, size_t(book->bookSize)});
  if (check.orderFaults) std::printf("order faults %ld\n", check.orderFaults);
  if (check.illegalMoves) std::printf("illegal moves %ld\n", check.illegalMoves);
  std::printf("entries %ld positions %ld reachable %ld\n", check.entries, check.positions, check.reachable);
  return check.orderFaults ? 1 : 0;
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

CommandRegistrar reg{"book", "book build|dump|verify ...  build, show or check the opening book", &RunBook};

}  // namespace
}  // namespace lanterra::tool
