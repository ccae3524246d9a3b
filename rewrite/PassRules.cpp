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

// The lexers below write every byte as read and only guard the blank rule.
const ByteRule& PassRules::MakeTab(const RuleOptions& options) {
  const ByteRule* tab = options.tabStops > 0
                            ? &Own(std::make_unique<TabStopRule>(options.tabStops, options.encoding, SystemCharWidth, options.width))
                            : &TabRule(options.threeBlanks);
  if (options.leadingOnly) {
    const LexerDefinition& indent = IndentLexer();
    const auto& lexer = Own(LexerTable(indent, options.encoding, LexerOutput::AsRead), options.width);
    tab = &Own(std::make_unique<GuardedRule>(lexer, indent.literalStates, *tab));
  }
  if (options.language) {
    const LexerDefinition& syntax = LexerOf(*options.language);
    const auto& lexer = Own(LexerTable(syntax, options.encoding, LexerOutput::AsRead), options.width);
    tab = &Own(std::make_unique<GuardedRule>(lexer, syntax.literalStates, *tab));
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
  comment_ = options.language
                 ? &Own(LexerTable(LexerOf(*options.language), options.encoding, LexerOutput::WithoutLineComments), options.width)
                 : &CommentRule();
  tab_ = &MakeTab(options);
  both_ = &Own(std::make_unique<RulePipe>(*comment_, *tab_));
}

}  // namespace kelbrin
