#pragma once

#include <vector>

#include "ByteRule.h"
#include "CommentRule.h"
#include "PassRules.h"
#include "RuleChain.h"
#include "TabRule.h"

namespace kelbrin::test {

struct NamedRule {
  const char* name;
  const ByteRule& rule;
};

// Every kind of rule a pass or the filter runs, with a name for messages:
// the default rules, and rules of the options whose state holds data (a raw
// string's delimiter, the column).
inline const std::vector<NamedRule>& EveryRule() {
  static const PassRules cpp({.language = Language::Cpp, .threeBlanks = true});
  static const PassRules stops({.tabStops = 4});
  static const std::vector<NamedRule> rules = {
      {"comment", CommentRule()},
      {"tab", TabRule(false)},
      {"tab3", TabRule(true)},
      {"comment+tab", CommentThenTabRule(false)},
      {"comment+tab3", CommentThenTabRule(true)},
      {"c++ comment+tab3", cpp.Both()},
      {"tab stops", stops.Tab()},
  };
  return rules;
}

}  // namespace kelbrin::test
