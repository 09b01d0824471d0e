// Terminal messages for `twr`.
#include "cli/TerminalMessages.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace twr::cli {

void TerminalMessages::Show(const std::string& text, MessageIcon icon) {
  std::FILE* out = icon == MessageIcon::Error ? stderr : stdout;
  std::fprintf(out, "%s\n", text.c_str());
  std::fflush(out);
}

bool TerminalMessages::AskYesNo(const std::string& text, MessageIcon) {
  if (assumeYes_) {
    std::printf("%s [y/N] y (--yes)\n", text.c_str());
    return true;
  }
  std::printf("%s [y/N] ", text.c_str());
  std::fflush(stdout);
  std::string answer;
  if (!std::getline(std::cin, answer)) {
    std::printf("\n");
    return false;  // no answer (end of input) counts as No
  }
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

}  // namespace twr::cli
