// Writes one benchmark corpus to a file: make-corpus crlf|lf|worst BYTES FILE
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "Corpus.h"

int main(int argc, char** argv) {
  using kelbrin::bench::CorpusKind;
  const std::map<std::string, CorpusKind> kinds = {
      {"crlf", CorpusKind::SourceCrLf}, {"lf", CorpusKind::SourceLf}, {"worst", CorpusKind::WorstCase}};
  if (argc != 4 || !kinds.contains(argv[1])) {
    std::fputs("usage: make-corpus crlf|lf|worst BYTES FILE\n", stderr);
    return 2;
  }
  std::FILE* file = std::fopen(argv[3], "wb");
  if (!file) {
    std::perror(argv[3]);
    return 1;
  }
  bool written = true;
  kelbrin::bench::GenerateCorpus(kinds.at(argv[1]), std::strtoull(argv[2], nullptr, 10), [&](std::string_view piece) {
    written = written && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
  });
  if (std::fclose(file) != 0 || !written) {
    std::perror(argv[3]);
    return 1;
  }
  return 0;
}
