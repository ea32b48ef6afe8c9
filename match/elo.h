// A match's score and the Elo difference it suggests.
#pragma once

#include <string>

namespace lanterra {

struct MatchScore {
  int wins = 0;
  int draws = 0;
  int losses = 0;
  int Games() const { return wins + draws + losses; }
};

struct EloEstimate {
  double score = 0;   // 0..1
  double elo = 0;
  double margin = 0;  // half the width of the 95% interval, in Elo
};

// E = -400 log10(1/p - 1), with p clamped to [1/(2N+2), 1 - 1/(2N+2)] so a
// clean sweep gives a finite figure; the margin comes from the standard
// error of the trinomial score (win, draw, loss).
EloEstimate EstimateElo(const MatchScore& score);
// "score W-D-L pct P elo E ± M"
std::string ScoreLine(const MatchScore& score);

}  // namespace lanterra
