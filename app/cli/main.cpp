// kelbrin-cli: the rewriting core on the command line, in place or as a filter.
#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

#include "CliOptions.h"
#include "ExitStatus.h"
#include "SplitTarget.h"
#include "TidyRun.h"
#include "version.h"
#ifdef _WIN32
#include "SafeDllSearch.h"
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  kelbrin::LoadDllsFromTheSystemFolderOnly();
#endif
  using namespace kelbrin::cli;
  kelbrin::PlatformPathRules();  // the code-page facts are read once, at start-up
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const auto parsed = ParseArguments(arguments);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    std::fprintf(stderr, "kelbrin-cli: %s (see kelbrin-cli --help)\n", error->message.c_str());
    return ExitStatus::kUsageFailed;
  }
  const auto& request = std::get<CliRequest>(parsed);
  switch (request.action) {
    case CliRequest::Action::ShowHelp:
      std::fputs(kUsage, stdout);
      return ExitStatus::kDone;
    case CliRequest::Action::ShowVersion:
      std::puts("kelbrin-cli " KELBRIN_PRODUCT_VERSION_TEXT "\n" KELBRIN_VERSION_NOTICE);
      return ExitStatus::kDone;
    case CliRequest::Action::Rewrite:
      break;
  }
  return Tidy(request);
}
