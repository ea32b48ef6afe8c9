#include "match/outside_engine.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

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

OutsideEngine::~OutsideEngine() { Stop(); }

bool OutsideEngine::Start(const OutsideEngineSettings& s, std::string& error) {
  settings = s;
  int down[2], up[2];
  if (pipe(down) != 0) {
    error = "cannot make a pipe";
    return false;
  }
  if (pipe(up) != 0) {
    close(down[0]);
    close(down[1]);
    error = "cannot make a pipe";
    return false;
  }
  pid = fork();
  if (pid < 0) {
    for (int fd : {down[0], down[1], up[0], up[1]}) close(fd);
    error = "cannot fork";
    return false;
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
  if (!Send(settings.ucci ? "ucci" : "uci")) {
    error = "cannot talk to " + settings.command;
    return false;
  }
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
    if (fromChild < 0 || left.count() <= 0) {
      error = "no answer from the engine within " + std::to_string(settings.timeoutSeconds) + " s";
      return false;
    }
    pollfd fd{fromChild, POLLIN, 0};
    int ready = poll(&fd, 1, int(std::min<long long>(left.count(), 1000)));
    if (ready < 0) {
      error = "cannot read from the engine";
      return false;
    }
    if (ready == 0) continue;
    char buffer[4096];
    ssize_t n = read(fromChild, buffer, sizeof(buffer));
    if (n <= 0) {
      error = "the engine closed its output";
      return false;
    }
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
}  // namespace lanterra
