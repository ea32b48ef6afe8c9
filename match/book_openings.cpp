#include "match/book_openings.h"

#include <set>

#include "match/adjudication.h"

namespace lanterra {

std::vector<std::vector<Move>> BookOpenings(const Book& book, int count, int plies, uint32_t seed) {
  std::vector<std::vector<Move>> lines;
  if (book.bookSize == 0 || plies <= 0) return {{}};
  PseudoRandom random;
  random.Seed(seed);
  std::set<uint64_t> seen;
  for (int attempt = 0; attempt < count * 64 && int(lines.size()) < count; ++attempt) {
    Position pos;
    pos.SetUpStart(0);
    std::vector<Move> line;
    while (int(line.size()) < plies) {
      Move mv = LookupBook(book, pos, random);
      if (mv == 0 || !pos.DoMove(mv)) break;
      line.push_back(mv);
      if (Adjudicate(pos).outcome != Outcome::ONGOING) break;
    }
    if (int(line.size()) < plies) continue;
    uint64_t id = (uint64_t(pos.zobrist.lockA) << 32) | pos.zobrist.lockB;
    if (seen.insert(id).second) lines.push_back(line);
  }
  if (lines.empty()) lines.push_back({});
  return lines;
}
}  // namespace lanterra
