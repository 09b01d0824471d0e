// Messages on the terminal: notices to stdout; warnings, errors and
// questions to stderr; answers read from standard input (or Yes by --yes).
// A text's detail follows it on the next line.
#pragma once

#include <string>

#include "common/Messages.h"

namespace twr::cli {

class TerminalMessages : public Messages {
 public:
  explicit TerminalMessages(bool assumeYes = false) : assumeYes_(assumeYes) {}
  void Show(const std::string& text, MessageIcon icon) override;
  void ShowDetailed(const std::string& text, const std::string& detail, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, MessageIcon icon) override;

 private:
  bool assumeYes_;
};

}  // namespace twr::cli
