#include "tests/support/jack_server.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace tavoro::test {

namespace {

using Clock = std::chrono::steady_clock;

// Starts a program with its output appended to the log; the child dies with this process.
pid_t Spawn(const std::vector<std::string>& args, const std::string& logPath) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    if (log >= 0) {
      dup2(log, STDOUT_FILENO);
      dup2(log, STDERR_FILENO);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (log >= 0) close(log);
  return pid;
}

// Waits for a child up to the deadline; true when it has ended (and was reaped).
bool Reap(pid_t pid, Clock::time_point deadline, int* status = nullptr) {
  for (;;) {
    int st = 0;
    const pid_t r = waitpid(pid, &st, WNOHANG);
    if (r == pid || r < 0) {
      if (status) *status = st;
      return true;
    }
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

JackServer::JackServer(int startTimeoutMs) {
  static std::atomic<int> serial{0};
  name_ = "tavoro-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
  logPath_ = (std::getenv("TMPDIR") ? std::string(std::getenv("TMPDIR")) : std::string("/tmp")) + "/" + name_ + ".log";

  if (const char* old = std::getenv("JACK_DEFAULT_SERVER")) {
    savedServer_ = old;
    hadServer_ = true;
  }
  setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
  setenv("JACK_NO_START_SERVER", "1", 1);  // nothing here may start a server behind our back

  pid_ = Spawn({"jackd", "-n", name_, "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "256"}, logPath_);
  if (pid_ < 0) return;
  const auto deadline = Clock::now() + std::chrono::milliseconds(startTimeoutMs);
  while (Clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {  // jackd gave up
      pid_ = -1;
      return;
    }
    if (Run({"jack_lsp"}) == 0) {
      running_ = true;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

JackServer::~JackServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    if (!Reap(pid_, Clock::now() + std::chrono::seconds(5))) {
      kill(pid_, SIGKILL);
      Reap(pid_, Clock::now() + std::chrono::seconds(5));
    }
  }
  if (hadServer_)
    setenv("JACK_DEFAULT_SERVER", savedServer_.c_str(), 1);
  else
    unsetenv("JACK_DEFAULT_SERVER");
  unlink(logPath_.c_str());
}

std::string JackServer::log() const {
  std::ifstream in(logPath_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int JackServer::Run(const std::vector<std::string>& args) const {
  const pid_t pid = Spawn(args, logPath_);
  if (pid < 0) return -1;
  int status = 0;
  if (!Reap(pid, Clock::now() + std::chrono::seconds(10), &status)) {
    kill(pid, SIGKILL);
    Reap(pid, Clock::now() + std::chrono::seconds(5));
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tavoro::test
