// The transposition table: what the full-width search and the root found for
// a position during one move decision. One slot per position, chosen by the
// low 20 bits of the key and verified by the two lock words.
#pragma once

#include <cstdint>
#include <memory>

#include "rules/position.h"

namespace lanterra {

inline constexpr int BOUND_UPPER = 1;
inline constexpr int BOUND_LOWER = 2;
inline constexpr int BOUND_EXACT = 3;

struct HashEntry {
  uint8_t depth = 0;   // remaining depth of the search that produced score
  uint8_t bound = 0;   // BOUND_UPPER, BOUND_LOWER or BOUND_EXACT; 0 when empty
  int16_t score = 0;   // mate scores are kept relative to the storing node
  uint16_t move = 0;   // best move, 0 for none
  uint16_t generation = 0;  // the table's generation when written, see Clear
  uint32_t lockA = 0;
  uint32_t lockB = 0;
};
static_assert(sizeof(HashEntry) == 16, "slots are packed into 16 bytes");

class TranspositionTable {
 public:
  static constexpr int SLOT_BITS = 20;
  static constexpr uint32_t SLOT_COUNT = 1u << SLOT_BITS;
  static constexpr uint32_t SLOT_MASK = SLOT_COUNT - 1;

  // The only allocation of the table happens here, once.
  TranspositionTable();
  ~TranspositionTable();
  TranspositionTable(const TranspositionTable&) = delete;
  TranspositionTable& operator=(const TranspositionTable&) = delete;

  // Empties every slot; each move decision starts with it. A slot written
  // before the last Clear reads, and is replaced, exactly as an empty one;
  // only when the generation count wraps is the memory itself wiped.
  void Clear();

  // A usable score for pos within (alpha, beta) at depth, or -SCORE_MATE.
  // hashMove always receives the slot's move when the locks match, else 0.
  int Probe(const Position& pos, int alpha, int beta, int depth, Move& hashMove) const;

  // Records a result for pos, unless a deeper entry holds the slot or a
  // perpetual-check score comes without a move.
  void Store(const Position& pos, int bound, int score, int depth, Move move);

  // pos's slot as the table reads it: all-zero when empty.
  HashEntry SlotOf(const Position& pos) const {
    const HashEntry& slot = slots.get()[pos.zobrist.key & SLOT_MASK];
    return slot.generation == generation ? slot : HashEntry{};
  }

  // Starts loading pos's slot into the cache while the caller does other
  // work; the table is far larger than any cache.
  void Prefetch(const Position& pos) const { Prefetch(pos.zobrist.key); }
  void Prefetch(uint32_t key) const { __builtin_prefetch(&slots.get()[key & SLOT_MASK]); }

 private:
  // Zeroes the memory and starts generation 1.
  void Wipe();

  // Aligned to a huge page, see the constructor.
  struct AlignedFree {
    void operator()(HashEntry* p) const;
  };
  std::unique_ptr<HashEntry, AlignedFree> slots;
  uint16_t generation = 0;  // slots of another generation are empty
};

}  // namespace lanterra
