// The engine as its clients see it: an object made from the opening book's
// bytes and a seed, with a level and a book switch, that decides a move for a
// position. Its search state (a transposition table of 1,048,576 slots, the
// ordering tables and the generator) is allocated once per object and stays
// private.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "rules/long_game.h"
#include "rules/position.h"

namespace lanterra {

struct Book;
struct SearchContext;

inline constexpr int MAX_LEVEL = 6;

// Quiescence nodes a decision at level may spend before it stops deepening;
// levels outside 0..6 are taken as the nearest one.
constexpr int32_t NodeBudget(int level) {
  level = level < 0 ? 0 : level > MAX_LEVEL ? MAX_LEVEL : level;
  return int32_t(64) << (3 * level);
}
static_assert(NodeBudget(0) == 64 && NodeBudget(6) == 16777216);

// Limits the engine protocols put on a decision in place of the level's
// budget. A zero field is not set; with neither set, the decision is the
// game's own.
struct SearchLimits {
  int depth = 0;       // stop after this iteration
  int32_t nodes = 0;   // stop once more than this many nodes are spent
};

// The most nodes a limited search may be given: eight times the top level's
// budget. A bigger figure would let the node counter overflow in the
// iteration that crosses it.
inline constexpr int32_t MAX_SEARCH_NODES = 8 * NodeBudget(MAX_LEVEL);
static_assert(MAX_SEARCH_NODES == 134217728);

// What a decision found, and after each completed iteration what it has
// found so far.
struct Decision {
  Move move = 0;       // 0: the position has no legal move
  int depth = 0;       // last completed iteration; 0: book, forced or no move
  int score = 0;       // that iteration's root score, noise included
  int32_t nodes = 0;   // quiescence nodes spent; 0 without a search
};

using IterationReport = std::function<void(const Decision&)>;

class Engine {
 public:
  // book holds 8-byte entries as in resources/book.dat; it is copied, and
  // may be empty. The generator starts from seed.
  Engine(std::span<const uint8_t> book, uint32_t seed);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The level 0..6 sets the node budget, 64 << (3 * level). Out of range it
  // is refused (false) and nothing changes.
  bool SetLevel(int level);
  int Level() const { return level_; }
  // Without the book the engine searches from the first move on.
  void UseBook(bool on) { useBook_ = on; }
  bool UsesBook() const { return useBook_; }
  void Seed(uint32_t seed);
  // A value 0..32767 from the engine's generator, the game's one generator,
  // which the book, the root search's noise and the quotations share.
  int NextRandom();
  // The generator's state, which a saved game carries: setting a state read
  // earlier makes the generator go on with the same values from there.
  uint32_t RandomState() const;
  void SetRandomState(uint32_t state);

  // Chooses a move for pos: a book move, a forced move, or the best move of
  // the deepening within the level's budget or the limits, reporting each
  // completed iteration. pos is left as it was, except distance, which
  // becomes 0. A position with a history longer than MAX_DECISION_HISTORY
  // records is refused with no move.
  Decision Decide(Position& pos, const SearchLimits& limits = {}, const IterationReport& report = nullptr);

 private:
  std::unique_ptr<SearchContext> search_;
  std::unique_ptr<Book> book_;
  int level_ = 3;
  bool useBook_ = true;
};

}  // namespace lanterra
