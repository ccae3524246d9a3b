#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "ByteMasks.h"
#include "ByteRule.h"
#include "Lexer.h"
#include "RunJunbi.h"

namespace kelbrin {

class LexerRule;

// How the passes are to work, beyond which of them run.
struct RuleOptions {
  // The language whose literals and comments the passes respect; none for
  // the plain byte rules.
  std::optional<Language> language = std::nullopt;
  // How multi-byte characters are read; decided before the rules are made.
  Encoding encoding = Encoding::Cp932;
  // The counting rule's option: three blanks left at a run's end become a tab.
  bool threeBlanks = false;
  // Tab stops every so many columns; 0 for the counting rule.
  int tabStops = 0;
  // Only the blanks and tabs a line begins with.
  bool leadingOnly = false;
  // How wide the lexers' block paths look: the widest the processor has,
  // unless a test asks for another.
  Width width = Widest();
};

// The rules of both passes for one set of options, and the two chained as
// one rule: what the in-place passes, the filter and the checks take. With
// the default options they are the window's rules themselves; otherwise
// this object owns them, and must outlive their use.
class PassRules {
 public:
  explicit PassRules(const RuleOptions& options);
  PassRules(PassRules&&) = default;
  ~PassRules();

  const ByteRule& Comment() const { return *comment_; }
  const ByteRule& Tab() const { return *tab_; }
  // The comment rule's output fed to the tab rule.
  const ByteRule& Both() const { return *both_; }
  // What one streaming pass of the selected passes takes: one of the three.
  const ByteRule& For(const PassSelection& selection) const;

 private:
  const ByteRule& Own(std::unique_ptr<ByteRule> rule);
  const LexerRule& Own(const LexerTable& table, Width width);
  const ByteRule& MakeUnguardedTab(const RuleOptions& options);

  std::vector<std::unique_ptr<ByteRule>> owned_;
  const ByteRule* comment_ = nullptr;
  const ByteRule* tab_ = nullptr;
  const ByteRule* both_ = nullptr;
};

}  // namespace kelbrin
