#include "Lexer.h"

namespace kelbrin {

const LexerDefinition& LexerOf(Language language) {
  switch (language) {
    case Language::C:
    case Language::Cpp: return CFamilyLexer();
    case Language::Java: return JavaLexer();
    case Language::Pascal: return PascalLexer();
  }
  return CFamilyLexer();
}

LexerTable::LexerTable(const LexerDefinition& definition, Encoding encoding, LexerOutput output)
    : rows_(definition.rows.begin(), definition.rows.end()),
      fallbacks_(definition.fallbacks.begin(), definition.fallbacks.end()),
      keepData_(definition.keepData),
      keepingStates_(definition.keepingStates),
      runs_(definition.runs) {
  if (encoding == Encoding::Cp932) {
    rows_.insert(rows_.end(), definition.cp932Rows.begin(), definition.cp932Rows.end());
    fallbacks_.insert(fallbacks_.end(), definition.cp932Fallbacks.begin(), definition.cp932Fallbacks.end());
  }
  if (output == LexerOutput::AsRead) {
    for (RuleRow& row : rows_) row = {row.state, row.byte, "", Echo::Write, row.next};
    for (Fallback& fallback : fallbacks_) fallback.writes = "";
  }
}

}  // namespace kelbrin
