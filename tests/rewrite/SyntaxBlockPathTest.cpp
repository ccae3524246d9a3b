// The syntax rules' block paths write exactly what their steps write, for
// text full of what the lexers look at, cut into blocks of every kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PassRules.h"
#include "Random.h"
#include "RuleHarness.h"

namespace kelbrin::test {
namespace {

struct Syntax {
  const char* name;
  Language language;
  std::vector<std::string> pieces;  // what random text is made of
};

const std::vector<Syntax>& Languages() {
  static const std::vector<Syntax> languages = {
      {"c", Language::Cpp,
       {"/", "//", "/*", "*/", "*", "\"", "'", "\\", "\\\n", "\\\r\n", "R\"x(", ")x\"", "u8R\"(", ")\"", ")", "(",
        "1'0", "u8", "L", "R", "a", "x1", " ", "    ", "\t", "\r\n", "\n", "\x95\x5c", "\x83", "\xe9", "."}},
      {"java", Language::Java,
       {"/", "//", "/*", "*/", "*", "\"", "\"\"\"", "'", "\\", "\\\"", "a", " ", "    ", "\t", "\r\n", "\n",
        "\x95\x5c", "\x83"}},
      {"pascal", Language::Pascal,
       {"/", "//", "(", "(*", "*)", "*", "{", "}", "'", "''", "#13", "a", " ", "    ", "\t", "\r\n", "\n", "\r",
        "\x83\x7d", "\x83"}},
  };
  return languages;
}

std::string RandomText(const std::vector<std::string>& pieces, Random& random, std::uint32_t length) {
  std::string text;
  while (text.size() < length) text += pieces[random.Below(static_cast<std::uint32_t>(pieces.size()))];
  return text;
}

struct Variant {
  const char* name;
  RuleOptions options;
  const ByteRule& (PassRules::*rule)() const;
};

std::vector<Variant> Variants(Language language, Encoding encoding, Width width) {
  const RuleOptions plain{.language = language, .encoding = encoding, .width = width};
  RuleOptions three = plain;
  three.threeBlanks = true;
  RuleOptions stops = plain;
  stops.tabStops = 4;
  RuleOptions leading = plain;
  leading.leadingOnly = true;
  return {{"comment", plain, &PassRules::Comment}, {"tab3", three, &PassRules::Tab},
          {"both", three, &PassRules::Both},      {"tab-stops", stops, &PassRules::Tab},
          {"stops-both", stops, &PassRules::Both}, {"leading", leading, &PassRules::Tab}};
}

TEST(SyntaxBlockPath, RandomTextInRandomBlocks) {
  for (const Syntax& syntax : Languages()) {
    for (Encoding encoding : {Encoding::Cp932, Encoding::Utf8}) {
      for (Width width : Widths()) {
        for (const Variant& variant : Variants(syntax.language, encoding, width)) {
          const PassRules rules(variant.options);
          const ByteRule& rule = (rules.*variant.rule)();
          Random random(20241208);
          for (int round = 0; round < 60; ++round) {
            const std::string input = RandomText(syntax.pieces, random, random.Below(round % 10 == 0 ? 20000 : 700));
            std::vector<std::size_t> sizes;
            for (int i = 0; i < 8; ++i) sizes.push_back(random.Below(i % 2 == 0 ? 70 : 300));
            sizes.push_back(1 + random.Below(200));
            const std::string expected = ApplyRuleByteByByte(rule, input);
            ASSERT_EQ(ApplyRuleInBlocks(rule, input, sizes), expected)
                << syntax.name << ", " << variant.name << ", " << WidthName(width)
                << (encoding == Encoding::Utf8 ? ", UTF-8" : ", cp932") << ", round " << round << ": "
                << testing::PrintToString(input);
            // The chain, with one lexer for both passes, writes what the two passes write in turn.
            if (&rule == &rules.Both()) {
              ASSERT_EQ(expected, ApplyRule(rules.Tab(), ApplyRule(rules.Comment(), input)))
                  << syntax.name << ", " << variant.name << ", round " << round << ": " << testing::PrintToString(input);
            }
          }
        }
      }
    }
  }
}

// Each piece at every place around the chunks' edges, whole and cut in two.
TEST(SyntaxBlockPath, PiecesAcrossChunkEdges) {
  for (const Syntax& syntax : Languages()) {
    for (const Variant& variant : Variants(syntax.language, Encoding::Cp932, Widest())) {
      const PassRules rules(variant.options);
      const ByteRule& rule = (rules.*variant.rule)();
      for (const std::string& piece : syntax.pieces) {
        for (std::size_t before : {0u, 1u, 30u, 31u, 32u, 62u, 63u, 64u, 65u, 126u, 127u, 128u}) {
          const std::string input = std::string(before, 'a') + piece + "  b" + piece + std::string(70, 'c');
          const std::string expected = ApplyRuleByteByByte(rule, input);
          for (std::size_t cut : {before, before + 1, before + piece.size(), std::size_t{64}, std::size_t{128}}) {
            const std::size_t halves[] = {std::min(cut, input.size()), input.size()};
            ASSERT_EQ(ApplyRuleInBlocks(rule, input, halves), expected)
                << syntax.name << ", " << variant.name << ", cut at " << cut << ": " << testing::PrintToString(input);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kelbrin::test

namespace kelbrin::test {
namespace {

TEST(TabStopBlockPath, RandomTextInRandomBlocks) {
  const std::vector<std::string> pieces = {" ",  "  ", "   ", "     ", std::string(70, ' '), "\t", " \t", "a", "bc",
                                           "\r", "\n", "\r\n", "\b", "\x95\x5c", "\xe8\xa1\xa8", "\xe8", "\xa1"};
  for (int every : {1, 2, 3, 4, 8}) {
    for (Encoding encoding : {Encoding::Cp932, Encoding::Utf8}) {
      for (Width width : Widths()) {
        const PassRules rules({.encoding = encoding, .tabStops = every, .width = width});
        Random random(static_cast<std::uint32_t>(every));
        for (int round = 0; round < 40; ++round) {
          const std::string input = RandomText(pieces, random, random.Below(3000));
          const std::size_t sizes[] = {1 + random.Below(100), random.Below(300), 1 + random.Below(7)};
          ASSERT_EQ(ApplyRuleInBlocks(rules.Tab(), input, sizes), ApplyRuleByteByByte(rules.Tab(), input))
              << "every " << every << ", " << WidthName(width) << ", round " << round;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kelbrin::test
