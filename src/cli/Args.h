// A small option parser shared by the `twr` commands: --name VALUE,
// --name=VALUE, repeated options, flags, and a generated --help text.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace twr::cli {

class ArgParser {
 public:
  ArgParser(std::string command, std::string summary);

  void Flag(const std::string& name, const std::string& help, bool* out);
  void Option(const std::string& name, const std::string& metavar, const std::string& help,
              std::string* out);
  void Repeated(const std::string& name, const std::string& metavar, const std::string& help,
                std::vector<std::string>* out);

  enum Result { kOk, kHelpShown, kError };
  // Parses argv[1..argc-1]; prints the help (kHelpShown) or a one-line error
  // naming the bad argument (kError) itself.
  Result Parse(int argc, char** argv);
  std::string Help() const;
  const std::string& Command() const { return command_; }

 private:
  struct OptionRule {
    std::string name, metavar, help;
    bool* flag = nullptr;
    std::string* value = nullptr;
    std::vector<std::string>* values = nullptr;
  };
  std::string command_, summary_;
  std::vector<OptionRule> rules_;
};

// Exit status of a command whose parse did not end in kOk: 0 after --help,
// 2 after a bad argument.
inline int ExitStatusFor(ArgParser::Result result) {
  return result == ArgParser::kHelpShown ? 0 : 2;
}

// "V", "v" or "V:" gives 'V'; an empty text gives 0 (the first listed drive).
// Anything else prints an error naming the command and gives false.
bool ParseDriveLetter(const std::string& command, const std::string& text, char& letter);

// Parses a decimal number; false (with nothing changed) unless the whole text is one.
bool ParseInt(const std::string& text, int& out);
bool ParseDouble(const std::string& text, double& out);

}  // namespace twr::cli
