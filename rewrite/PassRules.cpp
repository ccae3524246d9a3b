#include "PassRules.h"

#include "CommentRule.h"
#include "GuardedRule.h"
#include "RuleChain.h"
#include "LexerRule.h"
#include "TabRule.h"
#include "TabStopRule.h"

namespace kelbrin {

PassRules::~PassRules() = default;

const ByteRule& PassRules::For(const PassSelection& selection) const {
  if (!selection.spaceToTab) return Comment();
  if (!selection.commentDelete) return Tab();
  return Both();
}

const ByteRule& PassRules::Own(std::unique_ptr<ByteRule> rule) {
  owned_.push_back(std::move(rule));
  return *owned_.back();
}

const LexerRule& PassRules::Own(const LexerTable& table, Width width) {
  auto rule = std::make_unique<LexerRule>(table, width);
  const LexerRule& made = *rule;
  owned_.push_back(std::move(rule));
  return made;
}

// The tab rule that --syntax guards from literals.
const ByteRule& PassRules::MakeUnguardedTab(const RuleOptions& options) {
  const ByteRule* tab =
      options.tabStops > 0
          ? &Own(std::make_unique<TabStopRule>(options.tabStops, options.encoding, SystemCharWidth, options.width))
          : &TabRule(options.threeBlanks);
  if (options.leadingOnly) {
    const LexerDefinition& indent = IndentLexer();
    const auto& lexer = Own(LexerTable(indent, options.encoding, LexerOutput::AsRead), options.width);
    tab = &Own(std::make_unique<GuardedRule>(lexer, indent.literalStates, *tab));
  }
  return *tab;
}

PassRules::PassRules(const RuleOptions& options) {
  const bool plainTabs = options.tabStops == 0 && !options.leadingOnly;
  if (!options.language && plainTabs) {
    comment_ = &CommentRule();
    tab_ = &TabRule(options.threeBlanks);
    both_ = &CommentThenTabRule(options.threeBlanks);
    return;
  }
  const ByteRule& tab = MakeUnguardedTab(options);
  if (!options.language) {
    comment_ = &CommentRule();
    tab_ = &tab;
    both_ = &Own(std::make_unique<RulePipe>(*comment_, *tab_));
    return;
  }
  // The tab pass alone lexes with a lexer that writes every byte as read; the
  // two passes chained use the comment pass's lexer for both.
  const LexerDefinition& syntax = LexerOf(*options.language);
  const LexerRule& asRead = Own(LexerTable(syntax, options.encoding, LexerOutput::AsRead), options.width);
  const LexerRule& lexer = Own(LexerTable(syntax, options.encoding, LexerOutput::WithoutLineComments), options.width);
  comment_ = &lexer;
  tab_ = &Own(std::make_unique<GuardedRule>(asRead, syntax.literalStates, tab));
  both_ = &Own(std::make_unique<GuardedChain>(lexer, syntax.literalStates, tab));
}

}  // namespace kelbrin
