// Messages as message boxes on the GUI thread. A message or question that
// comes from a worker thread (the burn thread's outcome, a check run while
// the window keeps painting) is shown on the GUI thread, and the worker waits
// for the answer; once the program is closing, such callers get their answer
// at once (OK, or No) so that nothing waits for a box that will never come.
#pragma once

#include <QObject>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/Messages.h"

class QWidget;

namespace twr::ui {

class GuiMessages : public QObject, public Messages {
  Q_OBJECT

 public:
  struct Request {
    std::string text;
    std::string detail;
    MessageIcon icon = MessageIcon::Information;
    bool question = false;
    std::string help;  // the help page and anchor that explain it ("" for none)
    // A question's buttons in words of its own ("&Go on", "&Cancel"); empty
    // for Yes and No.
    std::string accept;
    std::string reject;
  };
  // Answers a request instead of a message box (tests and scripted runs).
  // It runs on the GUI thread; its result is the answer to a question.
  using Responder = std::function<bool(const Request&)>;
  // Opens a page of the help ("troubleshooting.html#writing-error").
  using HelpOpener = std::function<void(const std::string&)>;

  // Lives on the thread that creates it, which must be the GUI thread.
  explicit GuiMessages(QObject* parent = nullptr);
  ~GuiMessages() override;

  void Show(const std::string& text, MessageIcon icon) override;
  void ShowDetailed(const std::string& text, const std::string& detail, MessageIcon icon) override;
  void ShowWithHelp(const std::string& text, const std::string& detail, MessageIcon icon,
                    const std::string& help) override;
  bool AskYesNo(const std::string& text, MessageIcon icon) override;
  // A question with its detail under it and buttons named for what they do;
  // true for `accept`.
  bool Ask(const std::string& text, const std::string& detail, MessageIcon icon,
           const std::string& accept, const std::string& reject);

  void SetResponder(Responder responder) { responder_ = std::move(responder); }
  // A notice with a help page gets a Help button that closes the box and
  // opens the page with this (none while it is unset).
  void SetHelpOpener(HelpOpener opener) { helpOpener_ = std::move(opener); }
  // From now on every request from any thread is answered at once without
  // a box (OK, No), and the ones waiting now are released.
  void Shutdown();
  // Requests answered so far, in order (tests, measurements).
  std::vector<Request> History() const;

 private:
  struct Pending {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool answer = false;
  };
  bool Deliver(const Request& request);
  bool Present(const Request& request);
  void Release(const std::shared_ptr<Pending>& pending, bool answer);

  Responder responder_;
  HelpOpener helpOpener_;
  mutable std::mutex mutex_;
  bool shutdown_ = false;
  std::vector<std::shared_ptr<Pending>> waiting_;
  std::vector<Request> history_;
};

}  // namespace twr::ui
