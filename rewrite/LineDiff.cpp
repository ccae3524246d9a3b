#include "LineDiff.h"

#include <algorithm>

namespace kelbrin {
namespace {

constexpr std::string_view kNoLineEnd = "\\ No newline at end of file\n";

bool NeedsQuotes(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7f || c == '"' || c == '\\';
  });
}

// As diff quotes a name that has blanks, quotes, backslashes or control
// characters in it, and patch reads it back; other bytes stay as they are.
std::string QuotedName(std::string_view name) {
  if (!NeedsQuotes(name)) return std::string(name);
  std::string quoted = "\"";
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (byte < ' ' || byte == 0x7f) {
      const char octal[] = {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + ((byte >> 3) & 7)),
                            static_cast<char>('0' + (byte & 7))};
      quoted.append(octal, sizeof octal);
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

// A hunk's range of lines, as diff writes it: the count left out when it is
// one, and an empty range named by the line before it.
std::string Range(std::int64_t start, std::int64_t count) {
  if (count == 1) return std::to_string(start);
  return std::to_string(count == 0 ? start - 1 : start) + "," + std::to_string(count);
}

void AddLine(std::string& to, char mark, std::string_view line) {
  to += mark;
  to += line;
  if (!line.ends_with('\n')) {
    to += '\n';
    to += kNoLineEnd;
  }
}

}  // namespace

LineDiff::LineDiff(std::string_view name) {
  const std::string quoted = QuotedName(name);
  header_ = "--- " + quoted + "\n+++ " + quoted + "\n";
}

void LineDiff::Old(std::string_view bytes) {
  Split(old_, bytes);
  PairLines();
}

void LineDiff::New(std::string_view bytes) {
  Split(new_, bytes);
  PairLines();
}

// Lines left without a partner at the end are the one side's alone: the last
// line of the old file, when the rules leave nothing of it.
void LineDiff::Finish() {
  for (Side* side : {&old_, &new_}) {
    if (!side->partial.empty()) side->lines.push_back(std::move(side->partial));
    side->partial.clear();
  }
  PairLines();
  while (!old_.lines.empty() || !new_.lines.empty()) {
    Pair(old_.lines.empty() ? nullptr : &old_.lines.front(), new_.lines.empty() ? nullptr : &new_.lines.front());
    if (!old_.lines.empty()) old_.lines.pop_front();
    if (!new_.lines.empty()) new_.lines.pop_front();
  }
  if (open_) CloseHunk();
}

std::string LineDiff::TakeText() {
  std::string text = std::move(text_);
  text_.clear();
  return text;
}

void LineDiff::Split(Side& side, std::string_view bytes) {
  for (std::size_t end; (end = bytes.find('\n')) != std::string_view::npos; bytes.remove_prefix(end + 1)) {
    side.partial.append(bytes.substr(0, end + 1));
    side.lines.push_back(std::move(side.partial));
    side.partial.clear();
  }
  side.partial.append(bytes);
}

void LineDiff::PairLines() {
  for (; !old_.lines.empty() && !new_.lines.empty(); old_.lines.pop_front(), new_.lines.pop_front())
    Pair(&old_.lines.front(), &new_.lines.front());
}

void LineDiff::Pair(const std::string* old, const std::string* now) {
  if (old && now && *old == *now)
    Unchanged(*old);
  else
    Changed(old, now);
}

// More unchanged lines than two hunks' context end the hunk: the first of
// them close it, the last may open the next.
void LineDiff::Unchanged(const std::string& line) {
  ++oldLine_;
  ++newLine_;
  if (!open_) {
    before_.push_back(line);
    if (before_.size() > kContext) before_.pop_front();
    return;
  }
  after_.push_back(line);
  if (after_.size() <= 2 * kContext) return;
  CloseHunk();
  before_.assign(after_.end() - kContext, after_.end());
  after_.clear();
}

void LineDiff::Changed(const std::string* old, const std::string* now) {
  differs_ = true;
  if (!open_) OpenHunk();
  if (!after_.empty()) {
    EndRun();
    for (const std::string& line : after_) AddLine(body_, ' ', line);
    oldCount_ += static_cast<std::int64_t>(after_.size());
    newCount_ += static_cast<std::int64_t>(after_.size());
    after_.clear();
  }
  if (old) {
    AddLine(removed_, '-', *old);
    ++oldCount_;
    ++oldLine_;
  }
  if (now) {
    AddLine(added_, '+', *now);
    ++newCount_;
    ++newLine_;
  }
}

void LineDiff::OpenHunk() {
  open_ = true;
  const auto context = static_cast<std::int64_t>(before_.size());
  oldStart_ = oldLine_ - context;
  newStart_ = newLine_ - context;
  oldCount_ = newCount_ = context;
  for (const std::string& line : before_) AddLine(body_, ' ', line);
  before_.clear();
}

void LineDiff::EndRun() {
  body_ += removed_;
  body_ += added_;
  removed_.clear();
  added_.clear();
}

void LineDiff::CloseHunk() {
  EndRun();
  const std::size_t context = std::min(after_.size(), kContext);
  for (std::size_t i = 0; i < context; ++i) AddLine(body_, ' ', after_[i]);
  oldCount_ += static_cast<std::int64_t>(context);
  newCount_ += static_cast<std::int64_t>(context);
  text_ += header_;
  header_.clear();
  text_ += "@@ -" + Range(oldStart_, oldCount_) + " +" + Range(newStart_, newCount_) + " @@\n";
  text_ += body_;
  body_.clear();
  open_ = false;
}

}  // namespace kelbrin
