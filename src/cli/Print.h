// Lines for the terminal in the user's language: the text comes from
// twr::Tr, PrintLine fills in its %1, %2, ... and ends the line.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/Translate.h"

namespace twr::cli {

// Writes `text` with %1 ... %9 replaced by `values`, then a newline.
inline void PrintLine(std::FILE* out, std::string_view text,
                      std::initializer_list<std::string_view> values = {}) {
  const std::string line = Arg(text, values);
  std::fwrite(line.data(), 1, line.size(), out);
  std::fputc('\n', out);
}

}  // namespace twr::cli
