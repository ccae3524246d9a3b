#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kelbrin::bench {

enum class CorpusKind {
  SourceCrLf,  // source-like text with CR LF line ends
  SourceLf,    // the same text with LF line ends
  WorstCase,   // nearly all blanks and slashes
};

// Generates `size` bytes of the corpus in pieces, the same bytes on every run
// and every machine, so that figures from different runs compare.
void GenerateCorpus(CorpusKind kind, std::uint64_t size, const std::function<void(std::string_view)>& emit);

// The whole corpus in memory.
std::string MakeCorpus(CorpusKind kind, std::uint64_t size);

}  // namespace kelbrin::bench
