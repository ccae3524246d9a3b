#pragma once

namespace kelbrin {

// A front end that catches the user's signals asks the running pass to stop:
// the pass ends at its next block or before it publishes anything, and leaves
// the file as it was. Safe to call from a signal handler.
void RequestStop(int signalNumber);

// The signal that asked to stop, or 0.
int StopRequested();

// For the next run, after a request was answered.
void ClearStopRequest();

}  // namespace kelbrin
