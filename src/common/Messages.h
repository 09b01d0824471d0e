// How the core tells the user something: a text with an icon, or a Yes/No
// question. The window program answers with message boxes on the GUI thread,
// `twr` on the terminal, tests with a recorder. The core never opens a window.
#pragma once

#include <string>

#include "common/Strings.h"

namespace twr {

enum class MessageIcon { Information, Warning, Error };

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void Show(const std::string& text, MessageIcon icon) = 0;
  // True for Yes. A caller on a worker thread may block until the user answers.
  virtual bool AskYesNo(const std::string& text, MessageIcon icon) = 0;
  // A text followed by what explains it (why a burn ended as it did, what
  // to do). The text stays exactly as the program has always shown it; the
  // detail is shown after it, or not at all when empty.
  virtual void ShowDetailed(const std::string& text, const std::string& detail, MessageIcon icon) {
    Show(detail.empty() ? text : text + "\n" + detail, icon);
  }
  // The same with the place in the help that explains it and says what to
  // do ("troubleshooting.html#writing-error"): a window offers a Help button
  // that opens it; elsewhere the text and detail are shown as above.
  virtual void ShowWithHelp(const std::string& text, const std::string& detail, MessageIcon icon,
                            const std::string& /*help*/) {
    ShowDetailed(text, detail, icon);
  }

  void ShowString(int id, MessageIcon icon) { Show(StringText(id), icon); }
  bool AskString(int id, MessageIcon icon) { return AskYesNo(StringText(id), icon); }
};

}  // namespace twr
