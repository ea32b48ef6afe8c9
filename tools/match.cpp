#include "tools/match.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>
#include <thread>

#include "engine/engine.h"
#include "rules/game_end.h"
#include "rules/notation.h"

namespace lanterra::tool {

std::string Verdict::Text() const {
  switch (reason) {
    case Reason::NONE: return "";
    case Reason::MATE: return "mate";
    case Reason::STALEMATE: return "stalemate";
    case Reason::PERPETUAL_CHECK: return "perpetual check";
    case Reason::REPETITION: return "repetition";
    case Reason::MOVE_LIMIT: return "100-move limit";
    case Reason::OUR_ENGINE_NO_MOVE: return "our engine gave no legal move";
    case Reason::OUTSIDE_ENGINE_FAILED: return "outside engine failed: " + detail;
    case Reason::OUTSIDE_ENGINE_NO_MOVE: return "outside engine gave " + detail;
    case Reason::OUTSIDE_ENGINE_ILLEGAL_MOVE: return "outside engine played the illegal move " + detail;
  }
  return "";
}

Verdict Adjudicate(Position& pos) {
  const Ending ending = JudgeMove(pos);
  if (ending == Ending::NONE) return {};
  // The side to move is the one that did not just move.
  const Outcome moverWins = pos.side == SIDE_RED ? Outcome::BLACK_WINS : Outcome::RED_WINS;
  const Outcome moverLoses = pos.side == SIDE_RED ? Outcome::RED_WINS : Outcome::BLACK_WINS;
  const Result result = ResultOf(ending);
  const Outcome outcome = result == Result::DRAW         ? Outcome::DRAW
                          : result == Result::MOVER_WINS ? moverWins
                                                         : moverLoses;
  switch (ending) {
    case Ending::MATE: return {outcome, Reason::MATE, {}};
    case Ending::STALEMATE: return {outcome, Reason::STALEMATE, {}};
    case Ending::REPETITION: return {outcome, Reason::REPETITION, {}};
    case Ending::MOVE_LIMIT: return {outcome, Reason::MOVE_LIMIT, {}};
    default: return {outcome, Reason::PERPETUAL_CHECK, {}};
  }
}

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

std::string EngineMoveText(Move mv, int rankBase) {
  auto square = [&](int sq) {
    return std::string(1, char('a' + FileOf(sq) - 3)) + std::to_string(12 - RankOf(sq) + rankBase);
  };
  return square(MoveFrom(mv)) + square(MoveTo(mv));
}

Move ParseEngineMove(std::string_view text, int rankBase) {
  // A square is a file letter and a rank of one or two digits.
  auto square = [&](std::string_view& rest) -> int {
    if (rest.size() < 2 || rest[0] < 'a' || rest[0] > 'i') return 0;
    int file = rest[0] - 'a';
    size_t digits = 1;
    if (rest.size() >= 3 && rest[2] >= '0' && rest[2] <= '9' && rest[1] == '1') digits = 2;
    if (rest[1] < '0' || rest[1] > '9') return 0;
    int rank = digits == 2 ? 10 + (rest[2] - '0') : rest[1] - '0';
    rank -= rankBase;
    rest.remove_prefix(1 + digits);
    if (rank < 0 || rank > 9) return 0;
    return SquareAt(12 - rank, 3 + file);
  };
  // "a1a10" is ambiguous only in appearance: a two-digit rank can only be 10.
  std::string_view rest = text;
  int from = square(rest);
  int to = square(rest);
  if (from == 0 || to == 0 || from == to || !rest.empty()) return 0;
  return MoveOf(from, to);
}

std::string_view ResultText(Outcome outcome) {
  switch (outcome) {
    case Outcome::RED_WINS: return "1-0";
    case Outcome::BLACK_WINS: return "0-1";
    case Outcome::DRAW: return "1/2-1/2";
    default: return "*";
  }
}

std::string FormatPgn(const GameRecord& game, std::string_view event) {
  char date[16] = "????.??.??";
  std::time_t now = std::time(nullptr);
  if (std::tm* t = std::localtime(&now)) std::strftime(date, sizeof(date), "%Y.%m.%d", t);
  std::string text;
  auto tag = [&](std::string_view name, std::string_view value) {
    text += '[';
    text += name;
    text += " \"";
    for (char c : value) {
      if (c == '"' || c == '\\') text += '\\';
      text += c;
    }
    text += "\"]\n";
  };
  tag("Event", event);
  tag("Site", "lanterra match");
  tag("Date", date);
  tag("Round", std::to_string(game.round));
  tag("Red", game.red);
  tag("Black", game.black);
  tag("Result", ResultText(game.verdict.outcome));
  tag("Termination", game.verdict.Text());
  tag("Format", "ICCS");
  text += '\n';

  std::string line;
  auto add = [&](const std::string& word) {
    if (!line.empty() && line.size() + 1 + word.size() > 79) {
      text += line + '\n';
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
  };
  for (size_t i = 0; i < game.moves.size(); ++i) {
    std::string iccs = IccsMove(game.moves[i]);
    std::string word = {char(iccs[0] - 'a' + 'A'), iccs[1], '-', char(iccs[2] - 'a' + 'A'), iccs[3]};
    if (i % 2 == 0) word = std::to_string(i / 2 + 1) + ". " + word;
    add(word);
  }
  if (game.verdict.reason != Reason::NONE) add("{" + game.verdict.Text() + "}");
  add(std::string(ResultText(game.verdict.outcome)));
  text += line + "\n\n";
  return text;
}

std::string OutsideEngineSettings::Describe() const {
  std::string text;
  if (skill >= 0) text += "skill " + std::to_string(skill) + " ";
  if (nodes > 0)
    text += "nodes " + std::to_string(nodes);
  else
    text += "depth " + std::to_string(depth > 0 ? depth : 1);
  return text;
}

OutsideEngine::~OutsideEngine() { Stop(); }

bool OutsideEngine::Start(const OutsideEngineSettings& s, std::string& error) {
  settings = s;
  int down[2], up[2];
  if (pipe(down) != 0) return error = "cannot make a pipe", false;
  if (pipe(up) != 0) {
    close(down[0]);
    close(down[1]);
    return error = "cannot make a pipe", false;
  }
  pid = fork();
  if (pid < 0) {
    for (int fd : {down[0], down[1], up[0], up[1]}) close(fd);
    return error = "cannot fork", false;
  }
  if (pid == 0) {
    dup2(down[0], 0);
    dup2(up[1], 1);
    int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, 2);
    for (int fd : {down[0], down[1], up[0], up[1]}) close(fd);
    // Through the shell, so the command may carry arguments; exec keeps the
    // engine itself as our child.
    std::string command = "exec " + settings.command;
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(down[0]);
  close(up[1]);
  toChild = down[1];
  fromChild = up[0];
  fcntl(toChild, F_SETFD, FD_CLOEXEC);
  fcntl(fromChild, F_SETFD, FD_CLOEXEC);

  std::string line;
  if (!Send(settings.ucci ? "ucci" : "uci")) return error = "cannot talk to " + settings.command, false;
  Deadline deadline = ReplyDeadline();
  for (;;) {
    if (!ReadLine(line, deadline, error)) return false;
    if (line.starts_with("id name ")) name = line.substr(8);
    if (line == (settings.ucci ? "ucciok" : "uciok")) break;
  }
  if (!settings.ucci) Send("setoption name UCI_Variant value xiangqi");
  if (settings.skill >= 0) Send("setoption name Skill Level value " + std::to_string(settings.skill));
  Send("isready");
  return WaitFor("readyok", error);
}

bool OutsideEngine::NewGame(std::string& error) {
  if (!settings.ucci) Send("ucinewgame");
  Send("isready");
  return WaitFor("readyok", error);
}

bool OutsideEngine::BestMove(const std::vector<Move>& moves, Move& move, std::string& error) {
  move = 0;
  std::string command = "position startpos";
  if (!moves.empty()) {
    command += " moves";
    for (Move mv : moves) command += " " + EngineMoveText(mv, settings.rankBase);
  }
  Send(command);
  if (settings.nodes > 0)
    Send("go nodes " + std::to_string(settings.nodes));
  else
    Send("go depth " + std::to_string(settings.depth > 0 ? settings.depth : 1));
  std::string line;
  if (!WaitFor("bestmove", error, &line)) return false;
  std::string_view text = std::string_view(line).substr(8);
  while (!text.empty() && text[0] == ' ') text.remove_prefix(1);
  text = text.substr(0, text.find(' '));
  // A reply without a usable move loses the game but leaves the engine
  // running; only a failure to answer at all returns false.
  move = ParseEngineMove(text, settings.rankBase);
  if (move == 0) error = "no usable move in '" + line.substr(0, 80) + "'";
  return true;
}

bool OutsideEngine::Send(const std::string& line) {
  if (toChild < 0) return false;
  std::string data = line + '\n';
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(toChild, data.data() + done, data.size() - done);
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

// An engine that keeps talking without ever giving the awaited line must
// still run out of time, so the deadline is set once per reply, not per line.
OutsideEngine::Deadline OutsideEngine::ReplyDeadline() const {
  return std::chrono::steady_clock::now() + std::chrono::seconds(settings.timeoutSeconds);
}

bool OutsideEngine::ReadLine(std::string& line, Deadline deadline, std::string& error) {
  for (;;) {
    size_t end = pending.find('\n');
    if (end != std::string::npos) {
      line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (fromChild < 0 || left.count() <= 0)
      return error = "no answer from the engine within " + std::to_string(settings.timeoutSeconds) + " s", false;
    pollfd fd{fromChild, POLLIN, 0};
    int ready = poll(&fd, 1, int(std::min<long long>(left.count(), 1000)));
    if (ready < 0) return error = "cannot read from the engine", false;
    if (ready == 0) continue;
    char buffer[4096];
    ssize_t n = read(fromChild, buffer, sizeof(buffer));
    if (n <= 0) return error = "the engine closed its output", false;
    pending.append(buffer, size_t(n));
  }
}

bool OutsideEngine::WaitFor(std::string_view word, std::string& error, std::string* found) {
  std::string line;
  Deadline deadline = ReplyDeadline();
  for (;;) {
    if (!ReadLine(line, deadline, error)) return false;
    if (line == word || (line.starts_with(word) && line.size() > word.size() && line[word.size()] == ' ')) {
      if (found) *found = line;
      return true;
    }
  }
}

void OutsideEngine::Stop() {
  if (pid <= 0) return;
  Send("quit");
  if (toChild >= 0) close(toChild);
  if (fromChild >= 0) close(fromChild);
  toChild = fromChild = -1;
  // Give the engine a moment to leave by itself before ending it.
  for (int i = 0; i < 50; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      pid = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

namespace {

// Plays one game from the opening line; our engine has colour ourSide.
GameRecord PlayGame(const MatchSettings& settings, Engine& ours, OutsideEngine& engine,
                    const std::vector<Move>& opening, Side ourSide, int round) {
  GameRecord game;
  game.round = round;
  std::string us = "Lanterra level " + std::to_string(settings.level);
  std::string them = (engine.name.empty() ? settings.engine.command : engine.name) + " " + settings.engine.Describe();
  game.red = ourSide == SIDE_RED ? us : them;
  game.black = ourSide == SIDE_RED ? them : us;
  Outcome weWin = ourSide == SIDE_RED ? Outcome::RED_WINS : Outcome::BLACK_WINS;
  Outcome theyWin = ourSide == SIDE_RED ? Outcome::BLACK_WINS : Outcome::RED_WINS;

  Position pos;
  pos.SetUpStart(0);
  for (Move mv : opening) {
    if (!pos.DoMove(mv)) break;
    game.moves.push_back(mv);
    game.verdict = Adjudicate(pos);
    if (game.verdict.outcome != Outcome::ONGOING) return game;
  }

  std::string error;
  if (!engine.NewGame(error)) {
    game.verdict = {weWin, Reason::OUTSIDE_ENGINE_FAILED, error};
    return game;
  }
  ours.Seed(settings.seed + uint32_t(round));
  for (;;) {
    Move mv = 0;
    if (pos.side == ourSide) {
      mv = ours.Decide(pos).move;
      if (mv == 0 || !pos.IsPseudoLegal(mv) || !pos.DoMove(mv)) {
        game.verdict = {theyWin, Reason::OUR_ENGINE_NO_MOVE, {}};
        return game;
      }
    } else {
      if (!engine.BestMove(game.moves, mv, error)) {
        game.verdict = {weWin, Reason::OUTSIDE_ENGINE_FAILED, error};
        return game;
      }
      if (mv == 0) {
        game.verdict = {weWin, Reason::OUTSIDE_ENGINE_NO_MOVE, error};
        return game;
      }
      if (!pos.IsPseudoLegal(mv) || !pos.DoMove(mv)) {
        game.verdict = {weWin, Reason::OUTSIDE_ENGINE_ILLEGAL_MOVE, IccsMove(mv)};
        return game;
      }
    }
    game.moves.push_back(mv);
    game.verdict = Adjudicate(pos);
    if (game.verdict.outcome != Outcome::ONGOING) return game;
  }
}

}  // namespace

bool RunMatch(const MatchSettings& settings, std::ostream& log, MatchScore& score, std::string& error) {
  // A crashed engine must show up as a failed write, not end this process.
  signal(SIGPIPE, SIG_IGN);
  OutsideEngine engine;
  if (!engine.Start(settings.engine, error)) return false;

  Engine ours(EmbeddedBookData(), settings.seed);
  ours.SetLevel(settings.level);
  ours.UseBook(settings.useBook);
  auto openingBook = std::make_unique<Book>();
  ReadBook(*openingBook, EmbeddedBookData());
  auto openings = BookOpenings(*openingBook, settings.openings, settings.openingPlies, settings.seed);

  std::ofstream pgn;
  if (!settings.pgnPath.empty()) {
    pgn.open(settings.pgnPath, std::ios::app);
    if (!pgn) return error = "cannot write " + settings.pgnPath, false;
  }
  std::string event = "Lanterra level " + std::to_string(settings.level) + " vs " + settings.engine.Describe();
  int round = 0;
  for (const auto& opening : openings) {
    for (Side ourSide : {SIDE_RED, SIDE_BLACK}) {
      ++round;
      if (!(ourSide == SIDE_RED ? settings.playRed : settings.playBlack)) continue;
      GameRecord game = PlayGame(settings, ours, engine, opening, ourSide, round);
      Outcome weWin = ourSide == SIDE_RED ? Outcome::RED_WINS : Outcome::BLACK_WINS;
      if (game.verdict.outcome == Outcome::DRAW)
        ++score.draws;
      else if (game.verdict.outcome == weWin)
        ++score.wins;
      else
        ++score.losses;
      log << "game " << round << ": " << game.red << " - " << game.black << " " << ResultText(game.verdict.outcome)
          << " (" << game.verdict.Text() << ", " << game.moves.size() << " plies)\n"
          << std::flush;
      if (pgn) pgn << FormatPgn(game, event) << std::flush;
      // A dead engine would lose every remaining game at once; better to stop.
      if (game.verdict.reason == Reason::OUTSIDE_ENGINE_FAILED) {
        error = game.verdict.Text();
        log << ScoreLine(score) << '\n';
        return false;
      }
    }
  }
  log << ScoreLine(score) << '\n' << std::flush;
  return true;
}

}  // namespace lanterra::tool
