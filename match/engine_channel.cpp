#include "match/engine_channel.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace lanterra {

namespace {

// Milliseconds to deadline, at least 0 and at most a second, so that a
// wait never outlives its deadline by much.
int PollMilliseconds(EngineChannel::Deadline deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return int(std::clamp<long long>(left.count(), 0, 1000));
}

class EngineProcess : public EngineChannel {
 public:
  EngineProcess(int pid, int toChild, int fromChild) : pid(pid), toChild(toChild), fromChild(fromChild) {}
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  ~EngineProcess() override {
    close(toChild);
    close(fromChild);
    // Give the engine a moment to leave by itself before ending it.
    for (int i = 0; i < 50; ++i) {
      if (waitpid(pid, nullptr, WNOHANG) == pid) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }

  // The pipe is non-blocking: an engine that stops reading would otherwise
  // hold the runner in write once the pipe is full.
  bool Write(std::string_view bytes, Deadline deadline) override {
    while (!bytes.empty()) {
      ssize_t n = write(toChild, bytes.data(), bytes.size());
      if (n > 0) {
        bytes.remove_prefix(size_t(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return false;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      pollfd fd{toChild, POLLOUT, 0};
      poll(&fd, 1, PollMilliseconds(deadline));
    }
    return true;
  }

  ReadStatus Read(std::span<char> buffer, size_t& got, Deadline deadline) override {
    got = 0;
    for (;;) {
      if (std::chrono::steady_clock::now() >= deadline) return ReadStatus::TIMEOUT;
      pollfd fd{fromChild, POLLIN, 0};
      int ready = poll(&fd, 1, PollMilliseconds(deadline));
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return ReadStatus::FAILED;
      if (ready == 0) continue;
      ssize_t n = read(fromChild, buffer.data(), buffer.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return ReadStatus::CLOSED;
      got = size_t(n);
      return ReadStatus::DATA;
    }
  }

 private:
  int pid;
  int toChild;
  int fromChild;
};

}  // namespace

std::unique_ptr<EngineChannel> StartEngineProcess(const std::string& command, std::string& error) {
  int down[2], up[2];
  if (pipe(down) != 0) {
    error = "cannot make a pipe";
    return nullptr;
  }
  if (pipe(up) != 0) {
    close(down[0]);
    close(down[1]);
    error = "cannot make a pipe";
    return nullptr;
  }
  int pid = fork();
  if (pid < 0) {
    for (int fd : {down[0], down[1], up[0], up[1]}) close(fd);
    error = "cannot fork";
    return nullptr;
  }
  if (pid == 0) {
    dup2(down[0], 0);
    dup2(up[1], 1);
    int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, 2);
    for (int fd : {down[0], down[1], up[0], up[1]}) close(fd);
    // exec keeps the engine itself as our child.
    std::string line = "exec " + command;
    execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(down[0]);
  close(up[1]);
  fcntl(down[1], F_SETFD, FD_CLOEXEC);
  fcntl(up[0], F_SETFD, FD_CLOEXEC);
  fcntl(down[1], F_SETFL, fcntl(down[1], F_GETFL) | O_NONBLOCK);
  return std::make_unique<EngineProcess>(pid, down[1], up[0]);
}

}  // namespace lanterra
