#pragma once
// A private JACK server for system tests: starts `jackd --no-realtime -d dummy` under a name of
// its own, points this process and its children at it (JACK_DEFAULT_SERVER), waits until it
// answers, and stops it when the object goes away, also when the test fails. If the test process
// dies without cleaning up, the kernel stops jackd with it.

#include <sys/types.h>

#include <string>
#include <vector>

namespace tavoro::test {

class JackServer {
 public:
  explicit JackServer(int startTimeoutMs = 10000);
  ~JackServer();
  JackServer(const JackServer&) = delete;
  JackServer& operator=(const JackServer&) = delete;

  bool running() const { return running_; }  // it answered within the start time-out
  const std::string& name() const { return name_; }
  std::string log() const;  // what jackd printed, for failure messages

  // Runs a JACK command-line tool (jack_connect, jack_lsp, ...) against this server and returns
  // its exit status (-1 when it could not run). Output goes to the log.
  int Run(const std::vector<std::string>& args) const;

 private:
  std::string name_;
  std::string logPath_;
  std::string savedServer_;
  bool hadServer_ = false;
  pid_t pid_ = -1;
  bool running_ = false;
};

}  // namespace tavoro::test
