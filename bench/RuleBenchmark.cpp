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
#include "PassRules.h"
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

// Runs the corpus through `rule` in the program's blocks, through the block
// path or a byte at a time.
void RunRule(benchmark::State& state, const ByteRule* rule, CorpusKind kind, Path path) {
  const std::string& corpus = Corpus(kind);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(corpus.data());
  for (auto _ : state) {
    MemorySink out;
    RuleRunner runner(*rule);
    for (std::size_t at = 0; at < corpus.size(); at += kBlockSize) {
      const std::size_t count = std::min(kBlockSize, corpus.size() - at);
      if (path == Path::Blocks) {
        runner.Feed(bytes + at, count, out);
      } else {
        for (std::size_t i = 0; i < count; ++i) runner.Feed(bytes[at + i], out);
      }
    }
    runner.Finish(out);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.size()));
}

void Register(const char* name, const ByteRule& rule) {
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
      benchmark::RegisterBenchmark(title.c_str(), RunRule, &rule, corpus.kind, path.path)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register("comment", CommentRule());
  Register("tab", TabRule(false));
  Register("tab3", TabRule(true));
  Register("comment+tab3", CommentThenTabRule(true));
  // The same passes with --syntax, one language each, on the same corpora;
  // and the tab-stop rule.
  static const std::pair<const char*, Language> kLanguages[] = {
      {"c", Language::C}, {"java", Language::Java}, {"pascal", Language::Pascal}};
  static std::vector<PassRules> syntax;
  syntax.reserve(std::size(kLanguages));
  for (const auto& [name, language] : kLanguages) {
    const PassRules& rules = syntax.emplace_back(RuleOptions{.language = language, .threeBlanks = true});
    Register((std::string("syntax-") + name + "-comment").c_str(), rules.Comment());
    Register((std::string("syntax-") + name + "-tab3").c_str(), rules.Tab());
    Register((std::string("syntax-") + name + "-comment+tab3").c_str(), rules.Both());
  }
  static const PassRules tabStops(RuleOptions{.tabStops = 4});
  Register("tab-stops-4", tabStops.Tab());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
