// Option parsing for the `twr` commands.
#include "cli/Args.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace twr::cli {

ArgParser::ArgParser(std::string command, std::string summary)
    : command_(std::move(command)), summary_(std::move(summary)) {}

void ArgParser::Flag(const std::string& name, const std::string& help, bool* out) {
  rules_.push_back({name, "", help, out, nullptr, nullptr});
}

void ArgParser::Option(const std::string& name, const std::string& metavar, const std::string& help,
                       std::string* out) {
  rules_.push_back({name, metavar, help, nullptr, out, nullptr});
}

void ArgParser::Repeated(const std::string& name, const std::string& metavar,
                         const std::string& help, std::vector<std::string>* out) {
  rules_.push_back({name, metavar, help, nullptr, nullptr, out});
}

std::string ArgParser::Help() const {
  std::string text =
      "Usage: twr " + command_ + (rules_.empty() ? "" : " [options]") + "\n\n" + summary_ + "\n";
  if (rules_.empty()) return text;
  text += "\nOptions:\n";
  for (const OptionRule& s : rules_) {
    std::string left = "  --" + s.name + (s.metavar.empty() ? "" : " " + s.metavar);
    if (left.size() < 24)
      left.resize(24, ' ');
    else
      left += "\n" + std::string(24, ' ');
    text += left + s.help + (s.values ? " (may be repeated)" : "") + "\n";
  }
  text += "  --help                Show this help and exit.\n";
  return text;
}

ArgParser::Result ArgParser::Parse(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(Help().c_str(), stdout);
      return kHelpShown;
    }
    if (arg.rfind("--", 0) != 0) {
      std::fprintf(stderr, "twr %s: unexpected argument '%s' (see 'twr %s --help')\n",
                   command_.c_str(), arg.c_str(), command_.c_str());
      return kError;
    }
    std::string name = arg.substr(2), value;
    bool inlineValue = false;
    if (auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inlineValue = true;
    }
    const OptionRule* rule = nullptr;
    for (const OptionRule& s : rules_) {
      if (s.name == name) rule = &s;
    }
    if (!rule) {
      std::fprintf(stderr, "twr %s: unknown option '--%s' (see 'twr %s --help')\n",
                   command_.c_str(), name.c_str(), command_.c_str());
      return kError;
    }
    if (rule->flag) {
      if (inlineValue) {
        std::fprintf(stderr, "twr %s: option '--%s' takes no value\n", command_.c_str(),
                     name.c_str());
        return kError;
      }
      *rule->flag = true;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "twr %s: option '--%s' needs a value %s\n", command_.c_str(),
                     name.c_str(), rule->metavar.c_str());
        return kError;
      }
      value = argv[++i];
    }
    if (rule->value) *rule->value = value;
    if (rule->values) rule->values->push_back(value);
  }
  return kOk;
}

bool ParseDriveLetter(const std::string& command, const std::string& text, char& letter) {
  letter = 0;
  if (text.empty()) return true;
  const char c = text[0];
  const bool isLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (!isLetter || text.size() > 2 || (text.size() == 2 && text[1] != ':')) {
    std::fprintf(stderr, "twr %s: '--drive %s' is not a drive letter (see 'twr drives')\n",
                 command.c_str(), text.c_str());
    return false;
  }
  letter = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
  return true;
}

bool ParseInt(const std::string& text, int& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < -2147483647L - 1 || v > 2147483647L) return false;
  out = static_cast<int>(v);
  return true;
}

bool ParseDouble(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

}  // namespace twr::cli
