#include "OptionTable.h"

#include <getopt.h>

#include <algorithm>

#include "CliOptions.h"

namespace kelbrin::cli {
namespace {

// getopt_long gives a long option back as its row's number from here on,
// apart from every short option's letter.
constexpr int kFirstWordCode = 256;

std::string ShortOptions(std::span<const Option> table) {
  std::string letters = ":";  // a missing value is told apart from an unknown option
  for (const Option& option : table) {
    if (option.letter == '\0') continue;
    letters += option.letter;
    if (option.TakesValue()) letters += ':';
  }
  return letters;
}

std::vector<option> LongOptions(std::span<const Option> table) {
  std::vector<option> words;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const int takes = table[i].TakesValue() ? required_argument : no_argument;
    words.push_back({table[i].word, takes, nullptr, kFirstWordCode + static_cast<int>(i)});
  }
  words.push_back({nullptr, 0, nullptr, 0});
  return words;
}

const Option* RowOf(std::span<const Option> table, int code) {
  if (code >= kFirstWordCode) return &table[static_cast<std::size_t>(code - kFirstWordCode)];
  const auto found = std::find_if(table.begin(), table.end(), [&](const Option& o) { return o.letter == code; });
  return found == table.end() ? nullptr : &*found;
}

std::string NameOf(const Option& option) { return std::string("--") + option.word; }

// An option as the messages show it, in quotes.
std::string Quoted(std::string_view name) { return std::string("'").append(name).append("'"); }

// What is wrong with `--word[=value]`, read again from the argument: getopt
// does not say which of its complaints it has.
std::string LongComplaint(std::span<const Option> table, std::string_view argument) {
  const std::size_t equals = argument.find('=');
  const std::string_view word = argument.substr(2, equals - 2);
  std::vector<const Option*> starting;
  for (const Option& option : table)
    if (std::string_view(option.word).starts_with(word)) starting.push_back(&option);
  const auto exact = std::find_if(starting.begin(), starting.end(), [&](const Option* o) { return o->word == word; });
  if (exact != starting.end()) starting = {*exact};
  const std::string given = Quoted(std::string("--").append(word));
  if (starting.empty() || word.empty()) return "unknown option " + given;
  if (starting.size() > 1) {
    std::string candidates;
    for (const Option* option : starting) candidates.append(" ").append(Quoted(NameOf(*option)));
    return "option " + given + " is ambiguous; possibilities:" + candidates;
  }
  const std::string name = Quoted(NameOf(*starting.front()));
  if (equals != std::string_view::npos) return "option " + name + " doesn't allow an argument";
  return "option " + name + " requires an argument";
}

// A short option's complaint names its letter: getopt leaves it in optopt.
std::string ShortComplaint(std::span<const Option> table, int letter) {
  const std::string given = Quoted(std::string{'-', static_cast<char>(letter)});
  const Option* option = RowOf(table, letter);
  if (option && option->TakesValue()) return "option " + given + " requires an argument";
  return "unknown option " + given;
}

}  // namespace

std::optional<UsageError> ParseOptions(std::span<const Option> table, const std::vector<std::string_view>& arguments,
                                       CliRequest& request) {
  std::vector<std::string> words = {"kelbrin-cli"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());
  const std::string letters = ShortOptions(table);
  const std::vector<option> longOptions = LongOptions(table);

  opterr = 0;  // the complaints are ours, the same on every system
  optind = 0;  // from the start, whatever an earlier parse left
  for (int code; (code = getopt_long(argc, argv.data(), letters.c_str(), longOptions.data(), nullptr)) != -1;) {
    if (code == '?' || code == ':') {
      // A long option's complaint sets optopt to 0 or to the option's number;
      // the argument getopt has just passed is the one at fault.
      const bool wasLong = optopt == 0 || optopt >= kFirstWordCode;
      return UsageError{wasLong ? LongComplaint(table, argv[optind - 1]) : ShortComplaint(table, optopt)};
    }
    const Option& option = *RowOf(table, code);
    if (!option.TakesValue())
      option.set(request);
    else if (!option.take(request, optarg))
      return UsageError{"invalid argument " + Quoted(optarg) + " for " + Quoted(NameOf(option)) + " (" +
                        option.values + ")"};
  }
  request.files.insert(request.files.end(), argv.begin() + optind, argv.end() - 1);
  return std::nullopt;
}

}  // namespace kelbrin::cli
