// Option parsing for the `twr` commands.
#include "cli/Args.h"

#include <algorithm>
#include <cstdio>

#include "cli/Print.h"
#include "common/DecimalText.h"

namespace twr::cli {

namespace {

constexpr std::size_t kHelpColumn = 24;
constexpr const char* kConfigOption = "config";
constexpr const char* kEndOfOptions = "--";

ArgParser::SettingsHook& Hook() {
  static ArgParser::SettingsHook hook;
  return hook;
}

std::string& DefaultConfig() {
  static std::string path;
  return path;
}

std::string HelpLine(const std::string& left, const std::string& help) {
  std::string line = "  " + left;
  if (line.size() < kHelpColumn)
    line.resize(kHelpColumn, ' ');
  else
    line += "\n" + std::string(kHelpColumn, ' ');
  return line + help + "\n";
}

std::string Joined(const std::vector<std::string>& words, const char* last) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i)
    text += (i == 0 ? "" : (i + 1 == words.size() ? last : ", ")) + words[i];
  return text;
}

}  // namespace

ArgParser::ArgParser(std::string command, std::string summary)
    : command_(std::move(command)), summary_(std::move(summary)) {}

void ArgParser::Flag(const std::string& name, const std::string& help, bool* out) {
  rules_.push_back({name, "", help, Kind::Flag, out, {}});
}

void ArgParser::Option(const std::string& name, const std::string& metavar, const std::string& help,
                       std::string* out) {
  rules_.push_back({name, metavar, help, Kind::Text, out, {}});
}

void ArgParser::Repeated(const std::string& name, const std::string& metavar,
                         const std::string& help, std::vector<std::string>* out) {
  rules_.push_back({name, metavar, help, Kind::Repeated, out, {}});
}

void ArgParser::Integer(const std::string& name, const std::string& metavar,
                        const std::string& help, std::optional<int>* out) {
  rules_.push_back({name, metavar, help, Kind::Integer, out, {}});
}

void ArgParser::Decimal(const std::string& name, const std::string& metavar,
                        const std::string& help, std::optional<double>* out) {
  rules_.push_back({name, metavar, help, Kind::Decimal, out, {}});
}

void ArgParser::Choice(const std::string& name, const std::string& metavar, const std::string& help,
                       std::vector<std::string> choices, std::string* out) {
  rules_.push_back({name, metavar, help, Kind::Choice, out, std::move(choices)});
}

void ArgParser::Argument(const std::string& metavar, const std::string& help, std::string* out) {
  argumentName_ = metavar;
  argumentHelp_ = help;
  argument_ = out;
}

void ArgParser::SetSettingsHook(SettingsHook hook) {
  Hook() = std::move(hook);
}

void ArgParser::SetDefaultConfig(const std::string& path) {
  DefaultConfig() = path;
}

std::string ArgParser::Help() const {
  std::string text = Arg(Tr("Args", "Usage: twr %1 [options]"),
                         {command_ + (argument_ ? " " + argumentName_ : "")}) +
                     "\n\n" + summary_ + "\n\n";
  if (argument_) text += HelpLine(argumentName_, argumentHelp_) + "\n";
  text += std::string(Tr("Args", "Options:")) + "\n";
  for (const OptionRule& r : rules_)
    text += HelpLine(
        "--" + r.name + (r.metavar.empty() ? "" : " " + r.metavar),
        r.kind == Kind::Repeated ? Arg(Tr("Args", "%1 (may be repeated)"), {r.help}) : r.help);
  text += HelpLine("--config FILE", Tr("Args",
                                       "Settings file (default: ./twr.ini when it exists, else "
                                       "~/.config/titlewright/twr.ini)."));
  text += HelpLine("--help", Tr("Args", "Show this help and exit."));
  return text;
}

int ArgParser::UsageError(const std::string& message) const {
  PrintLine(stderr, Tr("Args", "twr %1: %2 (see 'twr %1 --help')"), {command_, message});
  return kExitUsage;
}

const ArgParser::OptionRule* ArgParser::Find(const std::string& name) const {
  for (const OptionRule& r : rules_)
    if (r.name == name) return &r;
  return nullptr;
}

bool ArgParser::Store(const OptionRule& rule, const std::string& value) const {
  const std::string shown = "'--" + rule.name + " " + value + "'";
  switch (rule.kind) {
    case Kind::Flag:
      *static_cast<bool*>(rule.out) = true;
      return true;
    case Kind::Text:
      *static_cast<std::string*>(rule.out) = value;
      return true;
    case Kind::Repeated:
      static_cast<std::vector<std::string>*>(rule.out)->push_back(value);
      return true;
    case Kind::Integer: {
      int number = 0;
      if (!ParseInteger(value, number)) {
        UsageError(Arg(Tr("Args", "%1 is not a whole number"), {shown}));
        return false;
      }
      *static_cast<std::optional<int>*>(rule.out) = number;
      return true;
    }
    case Kind::Decimal: {
      double number = 0.0;
      if (!ParseDecimal(value, number)) {
        UsageError(
            Arg(Tr("Args", "%1 is not a number (write a decimal point, e.g. 25.5)"), {shown}));
        return false;
      }
      *static_cast<std::optional<double>*>(rule.out) = number;
      return true;
    }
    case Kind::Choice:
      for (const std::string& choice : rule.choices) {
        if (choice == value) {
          *static_cast<std::string*>(rule.out) = value;
          return true;
        }
      }
      UsageError(
          Arg(Tr("Args", "%1 is not %2"), {shown, Joined(rule.choices, Tr("Args", " or "))}));
      return false;
  }
  return false;
}

ArgParser::Result ArgParser::Parse(int argc, char** argv) {
  std::string config = DefaultConfig();
  bool optionsEnded = false;
  bool argumentSeen = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!optionsEnded && arg == kEndOfOptions) {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      std::fputs(Help().c_str(), stdout);
      return kHelpShown;
    }
    if (optionsEnded || arg.rfind("--", 0) != 0) {
      if (argument_ != nullptr && !argumentSeen && !arg.empty()) {
        *argument_ = arg;
        argumentSeen = true;
        continue;
      }
      UsageError(Arg(Tr("Args", "unexpected argument '%1'"), {arg}));
      return kError;
    }
    std::string name = arg.substr(2), value;
    bool inlineValue = false;
    if (auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inlineValue = true;
    }
    const OptionRule* rule = Find(name);
    const bool isConfig = rule == nullptr && name == kConfigOption;
    if (rule == nullptr && !isConfig) {
      std::vector<std::string> names{kConfigOption, "help"};
      for (const OptionRule& r : rules_) names.push_back(r.name);
      const std::string meant = ClosestWord(name, names);
      UsageError(meant.empty() ? Arg(Tr("Args", "unknown option '--%1'"), {name})
                               : Arg(Tr("Args", "unknown option '--%1'; did you mean '--%2'?"),
                                     {name, meant}));
      return kError;
    }
    if (rule != nullptr && rule->kind == Kind::Flag) {
      if (inlineValue) {
        UsageError(Arg(Tr("Args", "option '--%1' takes no value"), {name}));
        return kError;
      }
      Store(*rule, {});
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= argc) {
        UsageError(Arg(Tr("Args", "option '--%1' needs a value %2"),
                       {name, rule != nullptr ? rule->metavar : std::string("FILE")}));
        return kError;
      }
      value = argv[++i];
    }
    if (isConfig) {
      if (value.empty()) {
        UsageError(Tr("Args", "'--config' needs a file name"));
        return kError;
      }
      config = value;
    } else if (!Store(*rule, value)) {
      return kError;
    }
  }
  if (argument_ != nullptr && !argumentSeen) {
    UsageError(Arg(Tr("Args", "%1 is missing"), {argumentName_}));
    return kError;
  }
  if (Hook() && !Hook()(config)) return kError;
  return kOk;
}

bool ParseDriveLetter(const std::string& command, const std::string& text, char& letter) {
  letter = 0;
  if (text.empty()) return true;
  const char c = text[0];
  const bool isLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (!isLetter || text.size() > 2 || (text.size() == 2 && text[1] != ':')) {
    PrintLine(stderr, Tr("Args", "twr %1: '--drive %2' is not a drive letter (see 'twr drives')"),
              {command, text});
    return false;
  }
  letter = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
  return true;
}

std::string ClosestWord(std::string_view word, const std::vector<std::string>& candidates) {
  // Edits between `word` and a candidate, row by row of the usual table,
  // keeping the two rows before for a swap of neighbours.
  const auto distance = [word](std::string_view other) {
    const std::size_t n = other.size();
    std::vector<std::size_t> twoBack(n + 1), back(n + 1), row(n + 1);
    for (std::size_t j = 0; j <= n; ++j) back[j] = j;
    for (std::size_t i = 1; i <= word.size(); ++i) {
      row[0] = i;
      for (std::size_t j = 1; j <= n; ++j) {
        const std::size_t changed = back[j - 1] + (word[i - 1] == other[j - 1] ? 0 : 1);
        row[j] = std::min({back[j] + 1, row[j - 1] + 1, changed});
        if (i > 1 && j > 1 && word[i - 1] == other[j - 2] && word[i - 2] == other[j - 1])
          row[j] = std::min(row[j], twoBack[j - 2] + 1);
      }
      std::swap(twoBack, back);
      std::swap(back, row);
    }
    return back[n];
  };
  constexpr std::size_t kShortWord = 4;
  std::string best;
  std::size_t bestDistance = 0;
  for (const std::string& candidate : candidates) {
    const std::size_t allowed = candidate.size() <= kShortWord ? 1 : 2;
    const std::size_t d = distance(candidate);
    if (d == 0 || d > allowed || (!best.empty() && d >= bestDistance)) continue;
    best = candidate;
    bestDistance = d;
  }
  return best;
}

bool ParseInt(const std::string& text, int& out) {
  return ParseInteger(text, out);
}

bool ParseDouble(const std::string& text, double& out) {
  return ParseDecimal(text, out);
}

}  // namespace twr::cli
