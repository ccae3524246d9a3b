#include "PassRules.h"

#include "CommentRule.h"
#include "GuardedRule.h"
#include "RuleChain.h"
#include "SyntaxBlocks.h"
#include "TabRule.h"
#include "TabStopRule.h"

namespace kelbrin {

PassRules::~PassRules() = default;

const ByteRule& PassRules::Own(std::unique_ptr<ByteRule> rule) {
  owned_.push_back(std::move(rule));
  return *owned_.back();
}

// The lexers below write every byte as read and only guard the blank rule.
const ByteRule& PassRules::MakeTab(const RuleOptions& options) {
  const ByteRule* tab = options.tabStops > 0
                            ? &Own(std::make_unique<TabStopRule>(options.tabStops, options.encoding))
                            : &TabRule(options.threeBlanks);
  if (options.leadingOnly) {
    const LexerDefinition& indent = IndentLexer();
    const ByteRule& lexer = Own(MakeLexerRule(LexerTable(indent, options.encoding, LexerOutput::AsRead)));
    tab = &Own(std::make_unique<GuardedRule>(lexer, indent.literalStates, *tab));
  }
  if (options.language) {
    const LexerDefinition& syntax = LexerOf(*options.language);
    const ByteRule& lexer = Own(MakeLexerRule(LexerTable(syntax, options.encoding, LexerOutput::AsRead)));
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
                 ? &Own(MakeLexerRule(
                       LexerTable(LexerOf(*options.language), options.encoding, LexerOutput::WithoutLineComments)))
                 : &CommentRule();
  tab_ = &MakeTab(options);
  both_ = &Own(std::make_unique<RulePipe>(*comment_, *tab_));
}

}  // namespace kelbrin
