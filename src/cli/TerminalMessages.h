// Messages on the terminal: notices to stdout, errors to stderr, Yes/No
// questions read from standard input (or answered Yes by --yes).
#pragma once

#include "common/Messages.h"

namespace twr::cli {

class TerminalMessages : public Messages {
 public:
  explicit TerminalMessages(bool assumeYes = false) : assumeYes_(assumeYes) {}
  void Show(const std::string& text, MessageIcon icon) override;
  bool AskYesNo(const std::string& text, MessageIcon icon) override;

 private:
  bool assumeYes_;
};

}  // namespace twr::cli
