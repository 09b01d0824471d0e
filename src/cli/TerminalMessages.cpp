// Terminal messages for `twr`.
#include "cli/TerminalMessages.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace twr::cli {

namespace {

std::FILE* StreamFor(MessageIcon icon) {
  return icon == MessageIcon::Information ? stdout : stderr;
}

}  // namespace

void TerminalMessages::Show(const std::string& text, MessageIcon icon) {
  ShowDetailed(text, {}, icon);
}

void TerminalMessages::ShowDetailed(const std::string& text, const std::string& detail,
                                    MessageIcon icon) {
  std::FILE* out = StreamFor(icon);
  std::fflush(stdout);
  std::fprintf(out, "%s\n", text.c_str());
  if (!detail.empty()) std::fprintf(out, "%s\n", detail.c_str());
  std::fflush(out);
}

bool TerminalMessages::AskYesNo(const std::string& text, MessageIcon) {
  std::fflush(stdout);
  if (assumeYes_) {
    std::fprintf(stderr, "%s [y/N] y (--yes)\n", text.c_str());
    return true;
  }
  std::fprintf(stderr, "%s [y/N] ", text.c_str());
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) {
    std::fprintf(stderr, "\n");
    return false;  // no answer (end of input) counts as No
  }
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

}  // namespace twr::cli
