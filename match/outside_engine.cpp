#include "match/outside_engine.h"

#include <chrono>

#include "notation/text.h"

namespace lanterra {

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

std::string OutsideEngineSettings::Describe() const {
  std::string text;
  if (skill >= 0) text += "skill " + std::to_string(skill) + " ";
  if (nodes > 0)
    text += "nodes " + std::to_string(nodes);
  else
    text += "depth " + std::to_string(depth > 0 ? depth : 1);
  return text;
}

OutsideEngine::~OutsideEngine() {
  if (!channel) return;
  // Asked politely first; the channel ends an engine that does not listen.
  channel->Write("quit\n", std::chrono::steady_clock::now() + std::chrono::seconds(1));
}

bool OutsideEngine::Start(const OutsideEngineSettings& s, std::string& error) {
  std::unique_ptr<EngineChannel> process = StartEngineProcess(s.command, error);
  return process && Start(s, std::move(process), error);
}

bool OutsideEngine::Start(const OutsideEngineSettings& s, std::unique_ptr<EngineChannel> c, std::string& error) {
  settings = s;
  channel = std::move(c);
  if (!Send(settings.ucci ? "ucci" : "uci", error)) {
    error = "cannot talk to " + settings.command;
    return false;
  }
  std::string line;
  Deadline deadline = ReplyDeadline();
  for (;;) {
    if (!ReadLine(line, deadline, error)) return false;
    if (line.starts_with("id name ")) name = Printable(std::string_view(line).substr(8), 100, Charset::UTF8);
    if (line == (settings.ucci ? "ucciok" : "uciok")) break;
  }
  if (!settings.ucci && !Send("setoption name UCI_Variant value xiangqi", error)) return false;
  if (settings.skill >= 0 && !Send("setoption name Skill Level value " + std::to_string(settings.skill), error))
    return false;
  return Send("isready", error) && WaitFor("readyok", error);
}

bool OutsideEngine::NewGame(std::string& error) {
  if (!settings.ucci && !Send("ucinewgame", error)) return false;
  return Send("isready", error) && WaitFor("readyok", error);
}

bool OutsideEngine::BestMove(const std::vector<Move>& moves, Move& move, std::string& error) {
  move = 0;
  std::string command = "position startpos";
  if (!moves.empty()) {
    command += " moves";
    for (Move mv : moves) command += " " + EngineMoveText(mv, settings.rankBase);
  }
  if (!Send(command, error)) return false;
  if (!Send(settings.nodes > 0 ? "go nodes " + std::to_string(settings.nodes)
                               : "go depth " + std::to_string(settings.depth > 0 ? settings.depth : 1),
            error))
    return false;
  std::string line;
  if (!WaitFor("bestmove", error, &line)) return false;
  std::string_view text = std::string_view(line).substr(8);
  while (!text.empty() && text[0] == ' ') text.remove_prefix(1);
  text = text.substr(0, text.find(' '));
  // A reply without a usable move loses the game but leaves the engine
  // running; only a failure to answer at all returns false.
  move = ParseEngineMove(text, settings.rankBase);
  if (move == 0) error = "no usable move in '" + Printable(line, 80) + "'";
  return true;
}

bool OutsideEngine::Send(const std::string& line, std::string& error) {
  if (channel && channel->Write(line + '\n', ReplyDeadline())) return true;
  error = "the engine takes no more input";
  return false;
}

// An engine that keeps talking without ever giving the awaited line must
// still run out of time, so the deadline is set once per reply, not per line.
OutsideEngine::Deadline OutsideEngine::ReplyDeadline() const {
  return std::chrono::steady_clock::now() + std::chrono::seconds(settings.timeoutSeconds);
}

bool OutsideEngine::ReadLine(std::string& line, Deadline deadline, std::string& error) {
  for (;;) {
    size_t end = pending.find('\n', searched);
    if (end != std::string::npos) {
      const bool whole = !skipping && end <= MAX_ENGINE_LINE;
      if (whole) {
        line.assign(pending, 0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
      }
      pending.erase(0, end + 1);
      searched = 0;
      skipping = false;
      if (whole) return true;
      continue;
    }
    searched = pending.size();
    if (pending.size() > MAX_ENGINE_LINE) {
      skipping = true;
      pending.clear();
      searched = 0;
    }
    char buffer[4096];
    size_t got = 0;
    switch (channel ? channel->Read(buffer, got, deadline) : EngineChannel::ReadStatus::CLOSED) {
      case EngineChannel::ReadStatus::DATA:
        pending.append(buffer, got);
        break;
      case EngineChannel::ReadStatus::TIMEOUT:
        error = "no answer from the engine within " + std::to_string(settings.timeoutSeconds) + " s";
        return false;
      case EngineChannel::ReadStatus::CLOSED:
        error = "the engine closed its output";
        return false;
      case EngineChannel::ReadStatus::FAILED:
        error = "cannot read from the engine";
        return false;
    }
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

}  // namespace lanterra
