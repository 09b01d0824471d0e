// A small option parser shared by the `twr` commands: --name VALUE,
// --name=VALUE, repeated options, flags, checked numbers and choices, one
// named argument where a command takes one (twr design save FILE), `--` to
// end the options, a generated --help text, and --config FILE, which every
// command takes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twr::cli {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitGaps = 3;           // a burn that finished with gaps in its label
inline constexpr int kExitInterrupted = 130;  // stopped by Ctrl-C or a signal

class ArgParser {
 public:
  ArgParser(std::string command, std::string summary);

  void Flag(const std::string& name, const std::string& help, bool* out);
  void Option(const std::string& name, const std::string& metavar, const std::string& help,
              std::string* out);
  void Repeated(const std::string& name, const std::string& metavar, const std::string& help,
                std::vector<std::string>* out);
  // A whole number, or a decimal number with a point whatever the locale.
  void Integer(const std::string& name, const std::string& metavar, const std::string& help,
               std::optional<int>* out);
  void Decimal(const std::string& name, const std::string& metavar, const std::string& help,
               std::optional<double>* out);
  // One of the listed words.
  void Choice(const std::string& name, const std::string& metavar, const std::string& help,
              std::vector<std::string> choices, std::string* out);

  // The one argument that is not an option (a file name), which must be
  // given; without this every such argument is an error.
  void Argument(const std::string& metavar, const std::string& help, std::string* out);

  enum Result { kOk, kHelpShown, kError };
  // Parses argv[1..argc-1]; prints the help (kHelpShown) or a one-line error
  // naming the bad argument or value (kError) itself. After `--` nothing is
  // an option.
  Result Parse(int argc, char** argv);
  std::string Help() const;
  const std::string& Command() const { return command_; }
  // "twr CMD: message (see 'twr CMD --help')" on stderr; returns kExitUsage.
  int UsageError(const std::string& message) const;

  // Runs once a command's options parsed without error, with the settings
  // file asked for by --config (here or before the command name; empty when
  // none). It may refuse it (after saying why): the parse is then an error.
  using SettingsHook = std::function<bool(const std::string& config)>;
  static void SetSettingsHook(SettingsHook hook);
  // --config given before the command name.
  static void SetDefaultConfig(const std::string& path);

 private:
  enum class Kind { Flag, Text, Repeated, Integer, Decimal, Choice };
  struct OptionRule {
    std::string name, metavar, help;
    Kind kind = Kind::Text;
    void* out = nullptr;
    std::vector<std::string> choices;
  };
  const OptionRule* Find(const std::string& name) const;
  bool Store(const OptionRule& rule, const std::string& value) const;

  std::string command_, summary_;
  std::vector<OptionRule> rules_;
  std::string argumentName_, argumentHelp_;
  std::string* argument_ = nullptr;
};

// Exit status of a command whose parse did not end in kOk: 0 after --help,
// 2 after a bad argument.
inline int ExitStatusFor(ArgParser::Result result) {
  return result == ArgParser::kHelpShown ? kExitOk : kExitUsage;
}

// "V", "v" or "V:" gives 'V'; an empty text gives 0 (the first listed drive).
// Anything else prints an error naming the command and gives false.
bool ParseDriveLetter(const std::string& command, const std::string& text, char& letter);

// The word of `candidates` a mistyped `word` most likely meant, for "did you
// mean": the fewest edits (a letter added, dropped or changed, or two
// neighbours swapped), at most one for a candidate of up to four letters and
// two for a longer one. Ties go to the first; empty when none is that close.
std::string ClosestWord(std::string_view word, const std::vector<std::string>& candidates);

// Parses a decimal number (a point in every locale); false (with nothing
// changed) unless the whole text is one.
bool ParseInt(const std::string& text, int& out);
bool ParseDouble(const std::string& text, double& out);

}  // namespace twr::cli
