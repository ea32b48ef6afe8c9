#include "match/elo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lanterra {

EloEstimate EstimateElo(const MatchScore& score) {
  EloEstimate e;
  int n = score.Games();
  if (n == 0) return e;
  double p = (score.wins + 0.5 * score.draws) / n;
  double lowest = 1.0 / (2.0 * n + 2.0);
  auto clamp = [&](double x) { return std::clamp(x, lowest, 1.0 - lowest); };
  auto elo = [](double x) { return -400.0 * std::log10(1.0 / x - 1.0); };
  double variance = (score.wins * (1 - p) * (1 - p) + score.draws * (0.5 - p) * (0.5 - p) +
                     score.losses * p * p) / n;
  // Games that all ended alike say little about the spread; take that of a
  // coin with the clamped score instead of zero.
  if (variance <= 0) variance = clamp(p) * (1 - clamp(p));
  double error = std::sqrt(variance / n);
  e.score = p;
  e.elo = elo(clamp(p));
  e.margin = (elo(clamp(p + 1.96 * error)) - elo(clamp(p - 1.96 * error))) / 2;
  return e;
}

std::string ScoreLine(const MatchScore& score) {
  EloEstimate e = EstimateElo(score);
  char text[160];
  std::snprintf(text, sizeof(text), "score %d-%d-%d pct %.1f elo %.0f \xC2\xB1 %.0f", score.wins, score.draws,
                score.losses, 100.0 * e.score, e.elo + 0.0, e.margin);
  return text;
}
}  // namespace lanterra
