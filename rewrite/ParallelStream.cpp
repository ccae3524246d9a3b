#include "ParallelStream.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>
#include <span>
#include <system_error>
#include <thread>

#include "OutputBuffer.h"
#include "PageBuffer.h"

namespace kelbrin {
namespace {

// Threads at most: the second joins once the input proves large.
constexpr unsigned kThreads = 2;
// Bytes each thread reads at a time. Smaller blocks cost more hand-overs;
// larger ones were no faster, and each thread holds two buffers of this size.
constexpr std::size_t kBlock = 512 * 1024;
// More than any input holds.
constexpr std::int64_t kAll = std::numeric_limits<std::int64_t>::max();
// How far back from a block's end a cut is looked for; lines are shorter.
constexpr std::size_t kCutReach = 16 * 1024;
constexpr std::size_t kInputCapacity = kCutReach + kBlock;
// The most bytes read before that the first block can take.
constexpr std::size_t kMostStart = kBlock;
// Room for a block's whole output where the rule makes nothing longer.
constexpr std::size_t kOutputCapacity = kInputCapacity + RuleRunner::PieceRoom(RuleRunner::kPiece);

// What a block leaves to the next.
struct Handover {
  const std::uint8_t* tail = nullptr;  // its bytes after the cut, in its thread's buffer
  std::size_t tailSize = 0;
  bool cutInState0 = true;
  // Cut after a line end, where the rule is most likely back in state 0.
  bool cutAtLineEnd = false;
  bool inputEnded = false;
};

// Keeps the blocks in order: block n is read after block n - 1 has been read,
// by whichever thread is free first, and written after it has been written.
// A thread that sleeps until its turn is woken on the CPU of the thread that
// gives it the turn, and the two then share one CPU for a while; waiting a
// little without sleeping keeps each on its own.
class Turns {
 public:
  // The first block begins with `start`.
  explicit Turns(std::span<const std::uint8_t> start) {
    handover_.tail = start.data();
    handover_.tailSize = start.size();
  }

  // Waits until no block is being read, then takes the next one: its number
  // and what the block before left. False when there is nothing more to
  // read or something failed.
  bool AwaitRead(std::uint64_t& n, Handover& before) {
    const auto lock = Await([&] { return !reading_ || failed_; });
    if (failed_ || handover_.inputEnded) return false;
    reading_ = true;
    n = readTurn_;
    before = handover_;
    return true;
  }
  void Read(const Handover& after) {
    std::lock_guard lock(mutex_);
    handover_ = after;
    ++readTurn_;
    reading_ = false;
    changed_.notify_all();
  }

  // Waits for block n's turn to write and gives the state the block before
  // ended in; false after a failure.
  bool AwaitWrite(std::uint64_t n, RuleState& stateBefore) {
    const auto lock = Await([&] { return writeTurn_ == n || failed_; });
    stateBefore = stateAfter_;
    return !failed_;
  }
  void Written(const RuleState& stateAfter) {
    std::lock_guard lock(mutex_);
    stateAfter_ = stateAfter;
    ++writeTurn_;
    changed_.notify_all();
  }

  // The first failure counts; every wait ends.
  void Fail(const IoStatus& status, bool inOutput) {
    std::lock_guard lock(mutex_);
    if (!failed_) {
      failure_ = status;
      failureInOutput_ = inOutput;
    }
    failed_ = true;
    changed_.notify_all();
  }
  IoStatus Failure() {
    std::lock_guard lock(mutex_);
    return failure_;
  }
  bool FailureInOutput() {
    std::lock_guard lock(mutex_);
    return failureInOutput_;
  }

 private:
  // About as long as a block takes to rewrite.
  static constexpr int kYields = 1000;

  // Yields until `ready`, then sleeps until it if need be; returns holding
  // the mutex.
  template <class Ready>
  std::unique_lock<std::mutex> Await(Ready ready) {
    for (int i = 0; i < kYields && !ready(); ++i) std::this_thread::yield();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, ready);
    return lock;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t readTurn_ = 0;
  // Changed under the mutex; read without it while yielding.
  std::atomic<bool> reading_ = false;
  std::atomic<std::uint64_t> writeTurn_ = 0;
  Handover handover_;
  RuleState stateAfter_;
  std::atomic<bool> failed_ = false;
  IoStatus failure_;
  bool failureInOutput_ = false;
};

// One thread's share: the blocks it takes in turn.
class Worker {
 public:
  Worker(FileSystem& fileSystem, FileHandle input, FileHandle output, const ByteRule& rule, Turns& turns)
      : fileSystem_(fileSystem), input_(input), rule_(rule), turns_(turns), out_(fileSystem, output, kOutputCapacity) {}

  // Takes blocks alone until the input ends or something fails, or until
  // this thread has read at least `enough` bytes; true when it stopped for
  // that. Alone, it keeps its output until it fills the buffer: no other
  // thread writes in between.
  bool RunAlone(std::int64_t enough) {
    alone_ = true;
    enough_ = enough;
    const bool stopped = RunUntilRead(enough);
    alone_ = false;
    return stopped;
  }

  // Takes blocks in turn with the other thread, if there is one.
  void RunToTheEnd() { RunUntilRead(kAll); }

  std::int64_t Consumed() const { return consumed_; }
  std::int64_t Written() const { return written_; }

  // The rule's sink. Output that does not fit goes out early, in its turn;
  // a block rewritten on a guess learns first whether the guess was right,
  // and if not, what it wrote counts for nothing.
  std::uint8_t* Room(std::size_t count) {
    if (out_.Free() < count) {
      if (guessing_) Settle();
      if (wrongGuess_) {
        out_.Discard();
      } else {
        TakeWriteTurn();
      }
    }
    return out_.Room(count);
  }
  void Commit(std::uint8_t* end) { out_.Commit(end); }

 private:
  bool RunUntilRead(std::int64_t enough) {
    while (ReadBlock() && RewriteBlock() && !last_)
      if (consumed_ >= enough) return true;
    return false;
  }

  // Until the last block it takes alone, after which another thread may
  // write next.
  bool KeepsOutput() const { return alone_ && !last_ && consumed_ < enough_; }

  bool ReadBlock() {
    Handover before;
    if (!turns_.AwaitRead(block_, before)) return false;
    // The tail may be this thread's own, from the block it read last.
    if (before.tailSize > 0) std::memmove(bytes_.data(), before.tail, before.tailSize);
    std::size_t got = 0;
    const IoStatus status =
        fileSystem_.Read(input_, bytes_.data() + before.tailSize, std::min(kBlock, kInputCapacity - before.tailSize), got);
    if (!status) {
      turns_.Fail(status, false);
      return false;
    }
    consumed_ += static_cast<std::int64_t>(got);
    size_ = before.tailSize + got;
    startsInState0_ = before.cutInState0;
    startsAtLineEnd_ = before.cutAtLineEnd;
    last_ = got == 0;
    Handover after;
    after.inputEnded = last_;
    after.cutInState0 = last_ || Cut();
    after.cutAtLineEnd = !after.cutInState0 && CutAtLineEnd();
    if (last_) cut_ = size_;
    after.tail = bytes_.data() + cut_;
    after.tailSize = size_ - cut_;
    turns_.Read(after);
    return true;
  }

  // Cuts the block after its last byte that resets the rule, if one is near
  // the end; otherwise after its last byte. True when state 0 follows the cut.
  bool Cut() {
    const std::size_t reach = size_ - std::min(size_, kCutReach);
    for (cut_ = size_; cut_ > reach; --cut_) {
      if (rule_.Resets(bytes_.data()[cut_ - 1])) return true;
    }
    cut_ = size_;
    return false;
  }

  // Where no byte resets the rule (a lexer's, whose comments and raw strings
  // span lines), cuts after the last line end near the end, if there is one.
  bool CutAtLineEnd() {
    const std::size_t reach = size_ - std::min(size_, kCutReach);
    for (cut_ = size_; cut_ > reach; --cut_) {
      if (bytes_.data()[cut_ - 1] == '\n') return true;
    }
    cut_ = size_;
    return false;
  }

  // A block cut after a line end is rewritten from state 0 while the block
  // before is still at work, and again from the state that block ended in
  // if that was another. Alone, the thread knows that state at once, and
  // keeps output that a wrong guess must not throw away.
  bool RewriteBlock() {
    holdsWriteTurn_ = false;
    wrongGuess_ = false;
    guessing_ = !startsInState0_ && startsAtLineEnd_ && !alone_;
    RuleState state;
    if (!startsInState0_ && !guessing_ && !TakeWriteTurn(&state)) return false;
    std::int64_t count = 0;
    RuleState after = Rewrite(state, count);
    if (guessing_) Settle();
    if (wrongGuess_) {
      out_.Discard();
      wrongGuess_ = false;
      after = Rewrite(actualStart_, count);
    }
    written_ += count;
    if (!TakeWriteTurn() || !(KeepsOutput() || out_.Flush())) {
      turns_.Fail(out_.Status(), true);
      return false;
    }
    turns_.Written(after);
    return true;
  }

  // Rewrites the block from `state` on, counting what it writes; returns the
  // state after it.
  RuleState Rewrite(const RuleState& state, std::int64_t& count) {
    RuleRunner runner(rule_, state);
    Counted<Worker> out(*this);
    runner.Feed(bytes_.data(), cut_, out);
    if (last_) runner.Finish(out);
    count = out.Count();
    return runner.State();
  }

  // Takes the write turn and with it the state the block before ended in.
  void Settle() {
    guessing_ = false;
    TakeWriteTurn(&actualStart_);
    wrongGuess_ = holdsWriteTurn_ && !(actualStart_ == RuleState{});
  }

  // Waits until this block may write, and gives the state the block before
  // ended in. After a failure elsewhere, nothing more is written.
  bool TakeWriteTurn(RuleState* stateBefore = nullptr) {
    if (holdsWriteTurn_) return true;
    RuleState state;
    holdsWriteTurn_ = turns_.AwaitWrite(block_, state);
    if (!holdsWriteTurn_) out_.Stop(turns_.Failure());
    if (stateBefore != nullptr) *stateBefore = state;
    return holdsWriteTurn_;
  }

  FileSystem& fileSystem_;
  FileHandle input_;
  const ByteRule& rule_;
  Turns& turns_;
  PageBuffer bytes_{kInputCapacity};
  OutputBuffer out_;
  std::uint64_t block_ = 0;
  std::size_t size_ = 0;
  std::size_t cut_ = 0;
  bool startsInState0_ = true;
  bool startsAtLineEnd_ = false;
  bool last_ = false;
  bool holdsWriteTurn_ = false;
  bool guessing_ = false;
  bool wrongGuess_ = false;
  RuleState actualStart_;
  bool alone_ = false;
  std::int64_t enough_ = 0;
  std::int64_t consumed_ = 0;
  std::int64_t written_ = 0;
};

}  // namespace

StreamResult RewriteStreamInParallel(FileSystem& fileSystem, FileHandle input, FileHandle output,
                                     const ByteRule& rule, std::span<const std::uint8_t> start) {
  if (start.size() > kMostStart) return RewriteStream(fileSystem, input, output, rule, [](std::int64_t) {}, start);
  Turns turns(start);
  Worker mine(fileSystem, input, output, rule, turns);
  // A second thread pays only on a large input, and only with a second CPU:
  // it starts once this one has read a block's worth and the input goes on.
  std::optional<Worker> other;
  std::thread helper;
  if (mine.RunAlone(kBlock)) {
    if (std::thread::hardware_concurrency() >= kThreads) {
      other.emplace(fileSystem, input, output, rule, turns);
      try {
        helper = std::thread([&] { other->RunToTheEnd(); });
      } catch (const std::system_error&) {
        // This thread goes on alone.
      }
    }
    mine.RunToTheEnd();
    if (helper.joinable()) helper.join();
  }
  StreamResult result{turns.Failure(), turns.FailureInOutput(), mine.Consumed(), mine.Written()};
  if (other) {
    result.consumed += other->Consumed();
    result.written += other->Written();
  }
  return result;
}

}  // namespace kelbrin
