#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kelbrin {

// A unified diff, as `diff -u` writes it, of a file against the same file
// rewritten by rules that keep every line end: line n of the one is line n of
// the other, so the diff needs no search, only hunks over the lines that
// differ with three lines of context around them. Both files come a piece at
// a time, in any pieces. A line ends at LF; a CR is part of its line.
class LineDiff {
 public:
  static constexpr std::size_t kContext = 3;

  // `name` names both files in the `---` and `+++` lines, so that `patch -p0`
  // rewrites the file itself.
  explicit LineDiff(std::string_view name);

  void Old(std::string_view bytes);  // the next bytes of the file as it is
  void New(std::string_view bytes);  // the next bytes of it rewritten
  void Finish();                     // both have ended

  // Whether some line has differed so far.
  bool Differs() const { return differs_; }
  // The diff's text made since the last call.
  std::string TakeText();

 private:
  struct Side {
    std::string partial;  // a line not ended yet
    std::deque<std::string> lines;
  };

  static void Split(Side& side, std::string_view bytes);
  void PairLines();
  void Pair(const std::string* old, const std::string* now);
  void Unchanged(const std::string& line);
  void Changed(const std::string* old, const std::string* now);
  void OpenHunk();
  void EndRun();
  void CloseHunk();

  std::string header_;
  Side old_;
  Side new_;
  std::int64_t oldLine_ = 1;  // the numbers of the next lines to pair
  std::int64_t newLine_ = 1;
  std::deque<std::string> before_;  // unchanged lines that may start the next hunk
  bool open_ = false;               // the hunk, while one is open:
  std::int64_t oldStart_ = 0;
  std::int64_t newStart_ = 0;
  std::int64_t oldCount_ = 0;
  std::int64_t newCount_ = 0;
  std::string body_;
  std::string removed_;  // the changed lines not yet in the body: all removed,
  std::string added_;    // then all added
  std::vector<std::string> after_;  // unchanged lines since the last change
  bool differs_ = false;
  std::string text_;
};

}  // namespace kelbrin
