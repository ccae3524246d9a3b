#include "Corpus.h"

#include <algorithm>
#include <array>

namespace kelbrin::bench {
namespace {

// A fixed generator of our own: the standard engines' distributions differ
// between libraries.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }

  template <class Table>
  const auto& Pick(const Table& table) {
    return table[Below(std::size(table))];
  }

 private:
  std::uint64_t state_;
};

// Shift-JIS phrases; none of their bytes is a slash, a blank, a tab or a line end.
constexpr std::string_view kJapanese[] = {
    "\x8d\x87\x8c\x76\x82\xf0\x8c\x76\x8e\x5a\x82\xb7\x82\xe9",          // 合計を計算する
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x8a\x4a\x82\xad",          // ファイルを開く
    "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x52\x83\x81\x83\x93\x83\x67",  // 日本語のコメント
    "\x90\xdd\x92\xe8\x81\x40\x90\xdd\x92\xe8",                          // 設定　設定
};

constexpr std::string_view kNames[] = {"count", "total", "Index", "FileName", "buffer", "Result",
                                       "i",     "n",     "Form1", "Caption",  "offset", "width"};

// One line of Pascal-like source without its indentation and line end.
using LineMaker = void (*)(Random&, std::string&);

void Assignment(Random& random, std::string& line) {
  line.append(random.Pick(kNames)).append(" := ").append(random.Pick(kNames)).append(" / ");
  line.append(std::to_string(random.Below(100))).append(" + ").append(random.Pick(kNames)).append(";");
}

void WithComment(Random& random, std::string& line) {
  Assignment(random, line);
  line.append(1 + random.Below(3), ' ').append("// ").append(random.Pick(kJapanese));
}

void CommentOnly(Random& random, std::string& line) {
  line.append("// ").append(random.Pick(kNames)).append(" ").append(random.Pick(kJapanese));
}

void UrlString(Random& random, std::string& line) {
  line.append(random.Pick(kNames)).append(" := 'http://example.com/").append(random.Pick(kNames)).append("';");
}

void JapaneseString(Random& random, std::string& line) {
  line.append(random.Pick(kNames)).append(".Caption := '").append(random.Pick(kJapanese)).append("';");
}

void BlockComment(Random& random, std::string& line) {
  line.append("{ ").append(random.Pick(kNames)).append(" } /* ").append(random.Pick(kNames)).append(" */ ");
  line.append("Inc(").append(random.Pick(kNames)).append(");");
}

void Aligned(Random& random, std::string& line) {
  const std::string_view name = random.Pick(kNames);
  line.append(name).append(12 - std::min<std::size_t>(name.size(), 11), ' ');
  line.append(": Integer;    { ").append(random.Pick(kNames)).append(" }");
}

void Tabbed(Random& random, std::string& line) {
  line.append(random.Pick(kNames)).append("\t:= ").append(random.Pick(kNames)).append(";\t");
}

void Keyword(Random& random, std::string& line) {
  constexpr std::string_view kKeywords[] = {"begin", "end;", "else", "if Assigned(Sender) then", "repeat"};
  line.append(random.Pick(kKeywords));
}

void Empty(Random&, std::string&) {}

// Weighted by repetition: plain statements are the most common lines.
constexpr LineMaker kLines[] = {Assignment, Assignment, Assignment, WithComment, WithComment, CommentOnly,
                                UrlString,  JapaneseString, BlockComment, Aligned, Tabbed, Keyword,
                                Keyword,    Empty};

void SourceLine(Random& random, std::string_view lineEnd, std::string& out) {
  const std::size_t depth = random.Below(5);
  if (random.Below(10) == 0) {
    out.append(depth, '\t');
  } else {
    out.append(4 * depth + (random.Below(8) == 0 ? 2 : 0), ' ');
  }
  random.Pick(kLines)(random, out);
  if (random.Below(16) == 0) out.append(1 + random.Below(4), ' ');  // blanks left at the line end
  out.append(lineEnd);
}

// Short runs of blanks, lone slashes and short comments: the rules meet a
// byte that matters at nearly every step.
void WorstLine(Random& random, std::string& out) {
  constexpr std::string_view kPieces[] = {" ", "  ", "   ", "     ", "       ", "/", " /", "/ ", "\t", "x"};
  for (std::size_t pieces = 4 + random.Below(24); pieces > 0; --pieces) out.append(random.Pick(kPieces));
  if (random.Below(2) == 0) out.append("// /").append(random.Below(4), ' ');
  out.append("\r\n");
}

}  // namespace

void GenerateCorpus(CorpusKind kind, std::uint64_t size, const std::function<void(std::string_view)>& emit) {
  constexpr std::size_t kPiece = 1 << 20;
  Random random(0x4B656C6272696Eull);
  std::string piece;
  while (size > 0) {
    piece.clear();
    while (piece.size() < kPiece) {
      switch (kind) {
        case CorpusKind::SourceCrLf: SourceLine(random, "\r\n", piece); break;
        case CorpusKind::SourceLf: SourceLine(random, "\n", piece); break;
        case CorpusKind::WorstCase: WorstLine(random, piece); break;
      }
    }
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(size, piece.size()));
    emit(std::string_view(piece).substr(0, take));
    size -= take;
  }
}

std::string MakeCorpus(CorpusKind kind, std::uint64_t size) {
  std::string corpus;
  corpus.reserve(static_cast<std::size_t>(size));
  GenerateCorpus(kind, size, [&](std::string_view piece) { corpus.append(piece); });
  return corpus;
}

}  // namespace kelbrin::bench
