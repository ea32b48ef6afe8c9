#include "engine/transposition_table.h"

#include <cstring>
#include <new>

namespace lanterra {

// Probes land anywhere in the 16 MiB table. With 4 KiB pages nearly every
// probe also misses the address-translation cache, and the search stalls on
// the page walk; 2 MiB pages let the translations of the whole table stay
// cached. The table is aligned to such a page so that a system that hands out
// huge pages on its own (Linux with transparent huge pages always on) can back
// it with them; the engine makes no platform call to ask for them, and where
// none are given this is only an alignment.
static constexpr std::align_val_t TABLE_ALIGNMENT{size_t(2) << 20};
static_assert(sizeof(HashEntry) * TranspositionTable::SLOT_COUNT % (size_t(2) << 20) == 0);

void TranspositionTable::AlignedFree::operator()(HashEntry* p) const { ::operator delete[](p, TABLE_ALIGNMENT); }

TranspositionTable::TranspositionTable()
    : slots(static_cast<HashEntry*>(::operator new[](sizeof(HashEntry) * SLOT_COUNT, TABLE_ALIGNMENT))) {
  Wipe();
}

TranspositionTable::~TranspositionTable() = default;

void TranspositionTable::Wipe() {
  // HashEntry is trivially copyable and all-zero means empty, so one memset
  // over the 16 MiB forgets everything; generation 1 then tells the slots
  // written from now on from the wiped ones.
  std::memset(static_cast<void*>(slots.get()), 0, sizeof(HashEntry) * SLOT_COUNT);
  generation = 1;
}

void TranspositionTable::Clear() {
  // A new generation makes every slot written so far read as empty, with no
  // pass over the 16 MiB.
  if (++generation == 0) Wipe();
}

int TranspositionTable::Probe(const Position& pos, int alpha, int beta, int depth,
                              Move& hashMove) const {
  const HashEntry slot = SlotOf(pos);
  if (slot.lockA != pos.zobrist.lockA || slot.lockB != pos.zobrist.lockB) {
    hashMove = 0;
    return -SCORE_MATE;
  }
  // The move is worth trying first even when the score cannot be used.
  hashMove = slot.move;

  int score = slot.score;
  bool isMate = false;
  if (score > SCORE_WIN) {
    // Perpetual-check rulings depend on the path that led here, so they are
    // never taken over from another visit.
    if (score < SCORE_BANNED) return -SCORE_MATE;
    score -= pos.distance;
    isMate = true;
  } else if (score < -SCORE_WIN) {
    if (score > -SCORE_BANNED) return -SCORE_MATE;
    score += pos.distance;
    isMate = true;
  }

  // A mate stays a mate however shallow the search that proved it.
  if (slot.depth < depth && !isMate) return -SCORE_MATE;

  switch (slot.bound) {
    case BOUND_LOWER: return score >= beta ? score : -SCORE_MATE;
    case BOUND_UPPER: return score <= alpha ? score : -SCORE_MATE;
    default: return score;
  }
}

void TranspositionTable::Store(const Position& pos, int bound, int score, int depth, Move move) {
  HashEntry& slot = slots.get()[pos.zobrist.key & SLOT_MASK];
  // Depth-preferred replacement, whoever owns the slot; an empty slot has
  // depth 0.
  if (SlotOf(pos).depth > depth) return;

  int stored = score;
  if (score > SCORE_WIN) {
    if (move == 0 && score <= SCORE_BANNED) return;
    stored = score + pos.distance;
  } else if (score < -SCORE_WIN) {
    if (move == 0 && score >= -SCORE_BANNED) return;
    stored = score - pos.distance;
  }

  slot.depth = uint8_t(depth);
  slot.bound = uint8_t(bound);
  slot.score = int16_t(stored);
  slot.move = uint16_t(move);
  slot.generation = generation;
  slot.lockA = pos.zobrist.lockA;
  slot.lockB = pos.zobrist.lockB;
}

}  // namespace lanterra
