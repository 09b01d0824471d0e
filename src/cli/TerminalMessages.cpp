// Terminal messages for `twr`.
#include "cli/TerminalMessages.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "common/Translate.h"

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
    std::fprintf(stderr, "%s %s\n", text.c_str(), Tr("TerminalMessages", "[y/N] y (--yes)"));
    return true;
  }
  std::fprintf(stderr, "%s %s ", text.c_str(), Tr("TerminalMessages", "[y/N]"));
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) {
    std::fprintf(stderr, "\n");
    return false;  // no answer (end of input) counts as No
  }
  if (answer.empty()) return false;
  // "y" is always yes; a language adds the first letter of its own word.
  //: The letters that answer yes to a [y/N] question, besides y and Y (German: jJ).
  const std::string_view yes = Tr("TerminalMessages", "yY");
  return answer[0] == 'y' || answer[0] == 'Y' || yes.find(answer[0]) != std::string_view::npos;
}

}  // namespace twr::cli
