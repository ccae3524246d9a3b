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
#include "RewriteStream.h"
#include "RuleChain.h"
#include "TabRule.h"

namespace {

using namespace kelbrin;
using kelbrin::bench::CorpusKind;

constexpr std::size_t kCorpusSize = 32 << 20;
constexpr std::size_t kBlockSize = kStreamBlockSize;  // as the program reads

// Lends the rules room in a fixed buffer that starts over when full, as the
// program's output buffer does, minus the file.
class MemorySink {
 public:
  std::uint8_t* Room(std::size_t count) {
    if (count > buffer_.size() - used_) used_ = 0;
    return buffer_.data() + used_;
  }
  void Commit(std::uint8_t* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

 private:
  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(2 * RuleRunner::PieceRoom(RuleRunner::kPiece));
  std::size_t used_ = 0;
};

const std::string& Corpus(CorpusKind kind) {
  static const std::string sourceCrLf = bench::MakeCorpus(CorpusKind::SourceCrLf, kCorpusSize);
  static const std::string worstCase = bench::MakeCorpus(CorpusKind::WorstCase, kCorpusSize);
  return kind == CorpusKind::WorstCase ? worstCase : sourceCrLf;
}

enum class Path { Blocks, ByteAtATime };

// The rules' own steps: each byte through the first rule, what it writes
// through the second.
void StepThrough(const std::vector<const ByteRule*>& rules, const std::uint8_t* bytes, std::size_t size,
                 MemorySink& out) {
  RuleRunner first(*rules.front());
  RuleRunner last(*rules.back());
  std::array<std::uint8_t, ByteRule::kMaxWritten> written{};
  for (std::size_t i = 0; i < size; ++i) {
    if (rules.size() == 1) {
      last.Feed(bytes[i], out);
      continue;
    }
    const std::uint8_t* const end = first.Step(bytes[i], written.data());
    for (const std::uint8_t* at = written.data(); at != end; ++at) last.Feed(*at, out);
  }
  if (rules.size() == 2) {
    const std::uint8_t* const end = first.Finish(written.data());
    for (const std::uint8_t* at = written.data(); at != end; ++at) last.Feed(*at, out);
  }
  last.Finish(out);
}

// The block path, in blocks as the program reads them.
template <class Rules>
void FeedBlocks(Rules&& rules, const std::uint8_t* bytes, std::size_t size, MemorySink& out) {
  for (std::size_t at = 0; at < size; at += kBlockSize) rules.Feed(bytes + at, std::min(kBlockSize, size - at), out);
  rules.Finish(out);
}

// Runs the corpus through `rules` (one, or two chained).
void RunRules(benchmark::State& state, std::vector<const ByteRule*> rules, CorpusKind kind, Path path) {
  const std::string& corpus = Corpus(kind);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(corpus.data());
  for (auto _ : state) {
    MemorySink out;
    if (path == Path::ByteAtATime) {
      StepThrough(rules, bytes, corpus.size(), out);
    } else if (rules.size() == 1) {
      FeedBlocks(RuleRunner(*rules[0]), bytes, corpus.size(), out);
    } else {
      FeedBlocks(RuleChain(*rules[0], *rules[1]), bytes, corpus.size(), out);
    }
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
