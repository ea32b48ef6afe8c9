// Matches of our engine against an outside engine (Fairy-Stockfish or any
// UCI/UCCI xiangqi engine) that runs as a child process on pipes. Every game
// is judged by our own rules, exactly as the game judges it.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book.h"
#include "rules/position.h"

namespace lanterra::tool {

enum class Outcome { ONGOING, RED_WINS, BLACK_WINS, DRAW };

// Why a game ended: by the rules, or by a fault of one of the engines.
enum class Reason {
  NONE,
  MATE,
  STALEMATE,
  PERPETUAL_CHECK,
  REPETITION,
  MOVE_LIMIT,
  OUR_ENGINE_NO_MOVE,           // our engine gave no legal move
  OUTSIDE_ENGINE_FAILED,        // it stopped answering or could not start a game
  OUTSIDE_ENGINE_NO_MOVE,       // it answered without a usable move
  OUTSIDE_ENGINE_ILLEGAL_MOVE,  // it played a move the position refuses
};

struct Verdict {
  Outcome outcome = Outcome::ONGOING;
  Reason reason = Reason::NONE;
  std::string detail;  // for the outside engine's faults: what went wrong
  // "mate", "perpetual check", "100-move limit", "outside engine failed:
  // no answer from the engine", ...: the log's and the PGN's words.
  std::string Text() const;
};

// The game's judgement after a move was played on pos (rules/game_end.h),
// as a match result. When the game goes on after a capture the history is
// collapsed, as the game does.
Verdict Adjudicate(Position& pos);

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

// Up to count distinct opening lines of plies moves, drawn from the book with
// its weights; fewer when the book has fewer. An empty book gives one empty
// line (the normal start).
std::vector<std::vector<Move>> BookOpenings(const Book& book, int count, int plies, uint32_t seed);

// Move texts for an outside engine: ICCS squares, with ranks counted from 1
// when rankBase is 1 (Fairy-Stockfish's UCI dialect: "h3e3" for ICCS "h2e2").
std::string EngineMoveText(Move mv, int rankBase);
Move ParseEngineMove(std::string_view text, int rankBase);  // 0 if malformed

struct GameRecord {
  int round = 0;
  std::string red, black;
  std::vector<Move> moves;  // from the normal start
  Verdict verdict;
};
// One game as PGN, moves in ICCS ("H2-E2"), with a [Format "ICCS"] tag.
std::string FormatPgn(const GameRecord& game, std::string_view event);
std::string_view ResultText(Outcome outcome);  // "1-0", "0-1", "1/2-1/2", "*"

struct OutsideEngineSettings {
  std::string command = "/usr/games/fairy-stockfish";
  bool ucci = false;      // false: UCI with UCI_Variant xiangqi
  int rankBase = 1;       // 1 for Fairy-Stockfish over UCI, 0 for UCCI and Pikafish
  int skill = -1;         // Skill Level, -1 to leave it alone
  int32_t nodes = 0;      // go nodes N
  int depth = 0;          // go depth D (used when nodes is 0)
  int timeoutSeconds = 300;  // for each whole reply, however many lines it has
  std::string Describe() const;
};

// The outside engine as a child process. Every failure (no answer, a crash,
// a malformed reply) is reported, never fatal.
class OutsideEngine {
 public:
  OutsideEngine() = default;
  ~OutsideEngine();
  OutsideEngine(const OutsideEngine&) = delete;
  OutsideEngine& operator=(const OutsideEngine&) = delete;

  bool Start(const OutsideEngineSettings& settings, std::string& error);
  bool NewGame(std::string& error);
  // The engine's move after moves from the normal start. Returns false when
  // the engine did not answer; a reply without a usable move returns true
  // with move 0 and error set.
  bool BestMove(const std::vector<Move>& moves, Move& move, std::string& error);
  std::string name;  // from "id name"

 private:
  using Deadline = std::chrono::steady_clock::time_point;
  Deadline ReplyDeadline() const;
  bool Send(const std::string& line);
  bool ReadLine(std::string& line, Deadline deadline, std::string& error);
  bool WaitFor(std::string_view word, std::string& error, std::string* line = nullptr);
  void Stop();

  OutsideEngineSettings settings;
  int pid = -1;
  int toChild = -1;
  int fromChild = -1;
  std::string pending;
};

struct MatchSettings {
  int level = 3;
  bool useBook = true;
  int openings = 4;       // each is played twice, once with each colour
  int openingPlies = 6;
  uint32_t seed = 1;      // our generator is seeded with seed + game number
  // Our colours to play: both, or only red or only black. The games keep the
  // numbers (and so the seeds) they have in a match of both colours, so a
  // long match can be split over two processes and still play its games.
  bool playRed = true;
  bool playBlack = true;
  std::string pgnPath;    // appended to when set
  OutsideEngineSettings engine;
};

// Plays the match, writing one line per game and the score line to log.
// Returns false (with error) when the outside engine cannot be started.
bool RunMatch(const MatchSettings& settings, std::ostream& log, MatchScore& score, std::string& error);

}  // namespace lanterra::tool
