#include "tools/book_builder.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "rules/board_tables.h"
#include "rules/long_game.h"

namespace lanterra::tool {

// The game has always opened with these sixteen moves and weights (total
// 5,036): both mirror images of each opening, in move order.
const StartMove START_BOOK_MOVES[16] = {
    {0x8595, 546}, {0x8999, 546},   {0xA3C4, 18},  {0xA5AA, 2},   {0xA5C4, 89}, {0xA6A4, 37},
    {0xA6AA, 42},  {0xA7A4, 1473}, {0xA7AA, 1473}, {0xA7C5, 311}, {0xA7C9, 311}, {0xA8A4, 42},
    {0xA8AA, 37},  {0xA9A4, 2},     {0xA9CA, 89},  {0xABCA, 18},
};

namespace {

// The largest total a position may have: a draw of 0..32767 modulo a larger
// total could never reach the moves at its end.
constexpr int MAX_POSITION_WEIGHT = 32767;

bool IsNormalStart(const Position& pos) {
  Position start;
  start.SetUpStart(0);
  return pos.side == start.side && std::memcmp(pos.squares, start.squares, sizeof pos.squares) == 0;
}

uint32_t StartLock() {
  Position start;
  start.SetUpStart(0);
  return start.zobrist.lockB;
}

bool LockLess(const BookEntry& a, const BookEntry& b) { return a.lock < b.lock; }

// The run of entries stored for pos, found the way the engine finds it: the
// position's own lock, and only when that is absent its mirror's lock.
bool FindRun(std::span<const BookEntry> entries, const Position& pos, size_t& first, size_t& last, bool& mirrored) {
  auto find = [&](uint32_t lock) {
    BookEntry probe{lock, 0, 0};
    auto range = std::equal_range(entries.begin(), entries.end(), probe, LockLess);
    first = size_t(range.first - entries.begin());
    last = size_t(range.second - entries.begin());
    return first != last;
  };
  mirrored = false;
  if (find(pos.zobrist.lockB)) return true;
  Position mirror;
  pos.MirrorInto(mirror);
  mirrored = true;
  return find(mirror.zobrist.lockB);
}

// Walks from the normal start through every book move and marks the
// entries of each run it reaches.
std::vector<char> WalkBook(std::span<const BookEntry> entries, long& illegalMoves) {
  std::vector<char> reached(entries.size(), 0);
  std::vector<Position> pending(1);
  pending[0].SetUpStart(0);
  illegalMoves = 0;
  while (!pending.empty()) {
    Position pos = pending.back();
    pending.pop_back();
    size_t first, last;
    bool mirrored;
    if (!FindRun(entries, pos, first, last, mirrored) || reached[first]) continue;
    for (size_t i = first; i < last; ++i) {
      reached[i] = 1;
      Move mv = entries[i].move;
      if (mirrored) mv = MirroredMove(mv);
      if (!BookMoveFits(pos, mv)) {
        ++illegalMoves;
        continue;
      }
      Position child = pos;
      child.CollapseHistory();
      if (!child.DoMove(mv)) {
        ++illegalMoves;
        continue;
      }
      pending.push_back(child);
    }
  }
  return reached;
}

struct Candidate {
  uint32_t lockB;
  std::tuple<uint32_t, uint32_t, uint32_t> fullKey;
  std::vector<std::pair<uint16_t, int>> moves;  // move, weight
};

}  // namespace

void BookBuilder::AddGame(const Position& start, std::span<const Move> moves) {
  if (!IsNormalStart(start)) {
    ++skipped;
    return;
  }
  int32_t game = gameCount++;
  Position pos = start;
  Position mirror;
  for (Move mv : moves) {
    pos.MirrorInto(mirror);
    const ZobristKey& own = pos.zobrist;
    const ZobristKey& other = mirror.zobrist;
    bool symmetric = own == other && std::memcmp(pos.squares, mirror.squares, sizeof pos.squares) == 0;
    // Store the orientation with the smaller key, so that a position and its
    // mirror image count as one.
    bool useMirror = std::tie(other.lockB, other.lockA, other.key) < std::tie(own.lockB, own.lockA, own.key);
    const ZobristKey& k = useMirror ? other : own;
    samples.push_back({k.lockB, k.lockA, k.key, uint16_t(useMirror ? MirroredMove(mv) : mv), uint8_t(symmetric), game});
    if (!PlayLongGameMove(pos, mv)) break;  // callers pass replayed games, so this does not happen
  }
}

std::vector<BookEntry> BookBuilder::Build(const BookBuildOptions& options, BookBuildStats& stats) const {
  stats = BookBuildStats{};
  stats.gamesAdded = gameCount;
  stats.gamesSkipped = skipped;

  std::vector<Sample> sorted = samples;
  auto order = [](const Sample& s) { return std::tie(s.lockB, s.lockA, s.key, s.move, s.game); };
  std::sort(sorted.begin(), sorted.end(), [&](const Sample& a, const Sample& b) { return order(a) < order(b); });

  // Step 1: per position, the games that reach it and the games that play
  // each move there. A game that comes back to a position counts once.
  uint32_t startLock = StartLock();
  std::vector<Candidate> candidates;
  std::vector<int32_t> games;
  for (size_t begin = 0; begin < sorted.size();) {
    size_t end = begin;
    auto same = [&](const Sample& s) {
      return s.lockB == sorted[begin].lockB && s.lockA == sorted[begin].lockA && s.key == sorted[begin].key;
    };
    while (end < sorted.size() && same(sorted[end])) ++end;
    ++stats.positionsSeen;
    games.clear();
    for (size_t i = begin; i < end; ++i) games.push_back(sorted[i].game);
    std::sort(games.begin(), games.end());
    long reachedIn = long(std::unique(games.begin(), games.end()) - games.begin());
    bool isStart = sorted[begin].lockB == startLock;
    if (reachedIn >= options.minGames || isStart) {
      std::map<uint16_t, int> counts;
      for (size_t i = begin; i < end; ++i) {
        if (i > begin && sorted[i].move == sorted[i - 1].move && sorted[i].game == sorted[i - 1].game) continue;
        ++counts[sorted[i].move];
      }
      // A symmetric position is met in both orientations alike, so a move
      // and its mirror image are one choice and get one weight.
      if (sorted[begin].symmetric) {
        std::map<uint16_t, int> folded;
        for (auto [mv, n] : counts) {
          folded[mv] += n;
          folded[uint16_t(MirroredMove(mv))] += n;
        }
        counts = folded;
      }
      Candidate c{sorted[begin].lockB, {sorted[begin].lockB, sorted[begin].lockA, sorted[begin].key}, {}};
      for (auto [mv, n] : counts)
        if (n >= options.minMoveGames) c.moves.emplace_back(mv, n);
      // A lookup considers at most 128 moves; keep the most played.
      if (c.moves.size() > size_t(MAX_MOVES_PER_POSITION)) {
        std::stable_sort(c.moves.begin(), c.moves.end(), [](auto& a, auto& b) { return a.second > b.second; });
        c.moves.resize(MAX_MOVES_PER_POSITION);
        std::sort(c.moves.begin(), c.moves.end());
      }
      // The start position keeps the moves and weights the game has always had.
      if (isStart) {
        c.moves.clear();
        for (const StartMove& s : START_BOOK_MOVES) c.moves.emplace_back(s.move, s.weight);
      }
      if (!c.moves.empty()) candidates.push_back(std::move(c));
    }
    begin = end;
  }
  bool hasStart = std::any_of(candidates.begin(), candidates.end(), [&](auto& c) { return c.lockB == startLock; });
  if (!hasStart) {
    Candidate c{startLock, {}, {}};
    for (const StartMove& s : START_BOOK_MOVES) c.moves.emplace_back(s.move, s.weight);
    candidates.push_back(std::move(c));
  }
  stats.positionsKept = long(candidates.size());

  // Step 2: the book finds a position by lockB alone; two positions with
  // one lock would answer each other's lookups, so neither is kept.
  std::sort(candidates.begin(), candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.fullKey < b.fullKey; });
  std::vector<Candidate> unique;
  for (size_t i = 0; i < candidates.size(); ++i) {
    bool clash = (i > 0 && candidates[i - 1].lockB == candidates[i].lockB) ||
                 (i + 1 < candidates.size() && candidates[i + 1].lockB == candidates[i].lockB);
    if (clash) ++stats.lockClashes;
    else unique.push_back(std::move(candidates[i]));
  }

  // Step 3: weights scaled so that no total exceeds what one draw reaches.
  std::vector<BookEntry> entries;
  for (Candidate& c : unique) {
    long total = 0;
    for (auto& m : c.moves) total += m.second;
    if (total > MAX_POSITION_WEIGHT) {
      ++stats.positionsScaled;
      for (auto& m : c.moves) m.second = std::max<int>(1, int(long(m.second) * MAX_POSITION_WEIGHT / total));
      // Raising tiny weights to 1 can overshoot; take the excess from the
      // heaviest move, which it changes least.
      long scaled = 0;
      for (auto& m : c.moves) scaled += m.second;
      if (scaled > MAX_POSITION_WEIGHT)
        std::max_element(c.moves.begin(), c.moves.end(), [](auto& a, auto& b) { return a.second < b.second; })
            ->second -= int(scaled - MAX_POSITION_WEIGHT);
    }
    for (auto& m : c.moves) entries.push_back({c.lockB, m.first, uint16_t(m.second)});
  }
  std::sort(entries.begin(), entries.end(),
            [](const BookEntry& a, const BookEntry& b) { return std::tie(a.lock, a.move) < std::tie(b.lock, b.move); });

  // Step 4: a position that no chain of book moves leads to is dead weight.
  long illegal = 0;
  std::vector<char> reached = WalkBook(entries, illegal);
  std::vector<BookEntry> kept;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (reached[i]) kept.push_back(entries[i]);
    else if (i == 0 || entries[i - 1].lock != entries[i].lock) ++stats.positionsUnreachable;
  }
  stats.entries = long(kept.size());
  for (size_t i = 0; i < kept.size(); ++i) stats.positions += i == 0 || kept[i - 1].lock != kept[i].lock;
  return kept;
}

std::vector<uint8_t> EncodeBook(std::span<const BookEntry> entries) {
  std::vector<uint8_t> bytes;
  bytes.reserve(entries.size() * 8);
  for (const BookEntry& e : entries) {
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(e.lock >> (8 * i)));
    bytes.push_back(uint8_t(e.move));
    bytes.push_back(uint8_t(e.move >> 8));
    bytes.push_back(uint8_t(e.weight));
    bytes.push_back(uint8_t(e.weight >> 8));
  }
  return bytes;
}

BookCheck CheckBook(std::span<const BookEntry> entries) {
  BookCheck check;
  check.entries = long(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i == 0 || entries[i - 1].lock != entries[i].lock) ++check.positions;
    if (i > 0 && std::tie(entries[i].lock, entries[i].move) <= std::tie(entries[i - 1].lock, entries[i - 1].move))
      ++check.orderFaults;
  }
  std::vector<char> reached = WalkBook(entries, check.illegalMoves);
  check.reachable = long(std::count(reached.begin(), reached.end(), 1));
  return check;
}

}  // namespace lanterra::tool
