// Writes one benchmark corpus to a file, or a tree of small files cut from
// the CR LF corpus at line ends:
//   make-corpus crlf|lf|worst BYTES FILE
//   make-corpus tree COUNT DIR      (files DIR/1.pas to DIR/COUNT.pas, 2–20 KiB each)
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "Corpus.h"

namespace {

bool WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

bool WriteTree(std::size_t count, const std::string& dir) {
  constexpr std::size_t kSmallest = 2 * 1024, kSpread = 18 * 1024;
  const std::string corpus = kelbrin::bench::MakeCorpus(kelbrin::bench::CorpusKind::SourceCrLf, count * 21 * 1024);
  std::size_t at = 0;
  for (std::size_t n = 1; n <= count; ++n) {
    // Sizes spread evenly over the range, the same on every run.
    const std::size_t size = kSmallest + n * 7919 % kSpread;
    const std::size_t end = corpus.find('\n', at + size) + 1;
    if (!WriteFile(dir + "/" + std::to_string(n) + ".pas", std::string_view(corpus).substr(at, end - at))) return false;
    at = end;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using kelbrin::bench::CorpusKind;
  const std::map<std::string, CorpusKind> kinds = {
      {"crlf", CorpusKind::SourceCrLf}, {"lf", CorpusKind::SourceLf}, {"worst", CorpusKind::WorstCase}};
  if (argc != 4 || !(kinds.contains(argv[1]) || std::string(argv[1]) == "tree")) {
    std::fputs("usage: make-corpus crlf|lf|worst BYTES FILE, or make-corpus tree COUNT DIR\n", stderr);
    return 2;
  }
  const auto number = static_cast<std::size_t>(std::strtoull(argv[2], nullptr, 10));
  if (std::string(argv[1]) == "tree") {
    if (WriteTree(number, argv[3])) return 0;
    std::perror(argv[3]);
    return 1;
  }
  std::FILE* file = std::fopen(argv[3], "wb");
  if (!file) {
    std::perror(argv[3]);
    return 1;
  }
  bool written = true;
  kelbrin::bench::GenerateCorpus(kinds.at(argv[1]), number, [&](std::string_view piece) {
    written = written && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
  });
  if (std::fclose(file) != 0 || !written) {
    std::perror(argv[3]);
    return 1;
  }
  return 0;
}
