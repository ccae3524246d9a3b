#pragma once

#include <vector>

#include "ByteRule.h"
#include "CommentRule.h"
#include "RuleChain.h"
#include "TabRule.h"

namespace kelbrin::test {

struct NamedRule {
  const char* name;
  const ByteRule& rule;
};

// Every rule a pass or the filter runs, with a name for messages.
inline const std::vector<NamedRule>& PassRules() {
  static const std::vector<NamedRule> rules = {
      {"comment", CommentRule()},
      {"tab", TabRule(false)},
      {"tab3", TabRule(true)},
      {"comment+tab", CommentThenTabRule(false)},
      {"comment+tab3", CommentThenTabRule(true)},
  };
  return rules;
}

}  // namespace kelbrin::test
