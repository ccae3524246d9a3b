// The byte rules alone, in memory: MiB/s per rule on the benchmark corpora,
// through the block path the program uses and through the byte-at-a-time
// definition, so that changes to either can be measured without files.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "CommentRule.h"
#include "Corpus.h"
#include "RuleChain.h"
#include "TabRule.h"

namespace {

using namespace kelbrin;
using kelbrin::bench::CorpusKind;

constexpr std::size_t kCorpusSize = 32 << 20;
constexpr std::size_t kBlockSize = 64 * 1024;  // as the program reads

// Takes what the rules write into a fixed buffer that starts over when full,
// as the program's output buffer does, minus the file.
class MemorySink {
 public:
  void Write(const std::uint8_t* bytes, std::size_t count) {
    if (count > buffer_.size() - used_) used_ = 0;
    std::memcpy(buffer_.data() + used_, bytes, count);
    used_ += count;
  }

  template <std::size_t N>
  void WriteFew(const std::array<std::uint8_t, N>& bytes, std::size_t count) {
    if (N > buffer_.size() - used_) used_ = 0;
    std::memcpy(buffer_.data() + used_, bytes.data(), N);
    used_ += count;
  }

 private:
  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kBlockSize * 2);
  std::size_t used_ = 0;
};

const std::string& Corpus(CorpusKind kind) {
  static const std::string sourceCrLf = bench::MakeCorpus(CorpusKind::SourceCrLf, kCorpusSize);
  static const std::string worstCase = bench::MakeCorpus(CorpusKind::WorstCase, kCorpusSize);
  return kind == CorpusKind::WorstCase ? worstCase : sourceCrLf;
}

enum class Path { Blocks, ByteAtATime };

// Runs the corpus through `rules` (one, or two chained), block by block.
void RunRules(benchmark::State& state, std::vector<const ByteRule*> rules, CorpusKind kind, Path path) {
  const std::string& corpus = Corpus(kind);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(corpus.data());
  for (auto _ : state) {
    MemorySink out;
    RuleRunner last(*rules.back());
    RuleRunner first(*rules.front());
    IntoRule<MemorySink> intoLast(last, out);
    auto feedBlock = [&](const std::uint8_t* block, std::size_t count) {
      if (rules.size() == 1) return last.Feed(block, count, out);
      first.Feed(block, count, intoLast);
    };
    auto feedByte = [&](std::uint8_t byte) {
      if (rules.size() == 1) return last.Feed(byte, out);
      first.Feed(byte, intoLast);
    };
    for (std::size_t at = 0; at < corpus.size(); at += kBlockSize) {
      const std::size_t count = std::min(kBlockSize, corpus.size() - at);
      if (path == Path::Blocks) {
        feedBlock(bytes + at, count);
      } else {
        for (std::size_t i = 0; i < count; ++i) feedByte(bytes[at + i]);
      }
    }
    if (rules.size() == 2) first.Finish(intoLast);
    last.Finish(out);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.size()));
}

void Register(const char* name, std::vector<const ByteRule*> rules) {
  const struct {
    const char* name;
    CorpusKind kind;
  } corpora[] = {{"source", CorpusKind::SourceCrLf}, {"worst", CorpusKind::WorstCase}};
  const struct {
    const char* name;
    Path path;
  } paths[] = {{"blocks", Path::Blocks}, {"bytes", Path::ByteAtATime}};
  for (const auto& corpus : corpora) {
    for (const auto& path : paths) {
      const std::string title = std::string(name) + "/" + corpus.name + "/" + path.name;
      benchmark::RegisterBenchmark(title.c_str(), RunRules, rules, corpus.kind, path.path)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register("comment", {&CommentRule()});
  Register("tab", {&TabRule(false)});
  Register("tab3", {&TabRule(true)});
  Register("comment+tab3", {&CommentRule(), &TabRule(true)});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
