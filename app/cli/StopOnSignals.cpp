#include "StopOnSignals.h"

#include <csignal>
#include <iterator>

#include "StopRequest.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelbrin::cli {

#ifdef _WIN32
namespace {

// Windows has no hang-up signal; closing the console stands for it.
constexpr int kConsoleClosed = 1;

// Set while nothing is to be stopped; until then an event that ends the
// process once its handler returns waits for the pass to clean up.
const HANDLE finished = CreateEventW(nullptr, TRUE, TRUE, nullptr);
constexpr DWORD kLongestCleanUp = 4000;  // Windows ends the process after about 5 s

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT: RequestStop(SIGINT); return TRUE;
    case CTRL_BREAK_EVENT: RequestStop(SIGBREAK); return TRUE;
    default:
      RequestStop(kConsoleClosed);
      WaitForSingleObject(finished, kLongestCleanUp);
      return TRUE;
  }
}

}  // namespace

StopOnSignals::StopOnSignals() {
  ResetEvent(finished);
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

StopOnSignals::~StopOnSignals() {
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
  SetEvent(finished);
}
#else
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction before[std::size(kSignals)];

void OnSignal(int signalNumber) { RequestStop(signalNumber); }

}  // namespace

StopOnSignals::StopOnSignals() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &action, &before[i]);
}

StopOnSignals::~StopOnSignals() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &before[i], nullptr);
}
#endif

}  // namespace kelbrin::cli
