// The translation hook.
#include "common/Translate.h"

#include <atomic>

namespace twr {

namespace {
std::atomic<TranslateHook> g_hook{nullptr};
}  // namespace

void SetTranslateHook(TranslateHook hook) {
  g_hook.store(hook, std::memory_order_release);
}

const char* Tr(const char* context, const char* text) {
  if (text == nullptr) return "";
  const TranslateHook hook = g_hook.load(std::memory_order_acquire);
  if (hook == nullptr || context == nullptr) return text;
  const char* translated = hook(context, text);
  return translated != nullptr ? translated : text;
}

std::string Arg(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '0') : 0;
    if (text[i] == '%' && n >= 1 && n <= 9 && n <= values.size()) {
      out += *(values.begin() + (n - 1));
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace twr
