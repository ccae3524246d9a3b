#pragma once

namespace kelbrin::cli {

// While it lives, SIGINT, SIGTERM and SIGHUP (on Windows Ctrl-C, Ctrl-Break
// and closing the console) ask the running pass to stop instead of ending the
// program at once, so that the pass can take back its work file and leave
// the file as it was. Meant for the time a file is rewritten in place: a
// filter waiting for its input is better ended at once.
class StopOnSignals {
 public:
  StopOnSignals();
  ~StopOnSignals();
  StopOnSignals(const StopOnSignals&) = delete;
  StopOnSignals& operator=(const StopOnSignals&) = delete;
};

// The exit status after a stop asked for by `signalNumber`, as a shell
// reports a program that the signal ended.
constexpr int ExitStatusAfter(int signalNumber) { return 128 + signalNumber; }

}  // namespace kelbrin::cli
