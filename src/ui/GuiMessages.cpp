// Message boxes for the core's messages, from any thread.
#include "ui/GuiMessages.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <algorithm>

#include "ui/SkinnedButton.h"
#include "ui/SkinnedMessageBox.h"

namespace twr::ui {

GuiMessages::GuiMessages(QObject* parent) : QObject(parent) {}

GuiMessages::~GuiMessages() {
  Shutdown();
}

void GuiMessages::Show(const std::string& text, MessageIcon icon) {
  Deliver({text, {}, icon, false, {}, {}, {}});
}

void GuiMessages::ShowDetailed(const std::string& text, const std::string& detail,
                               MessageIcon icon) {
  Deliver({text, detail, icon, false, {}, {}, {}});
}

void GuiMessages::ShowWithHelp(const std::string& text, const std::string& detail, MessageIcon icon,
                               const std::string& help) {
  Deliver({text, detail, icon, false, help, {}, {}});
}

bool GuiMessages::AskYesNo(const std::string& text, MessageIcon icon) {
  return Deliver({text, {}, icon, true, {}, {}, {}});
}

bool GuiMessages::Ask(const std::string& text, const std::string& detail, MessageIcon icon,
                      const std::string& accept, const std::string& reject) {
  return Deliver({text, detail, icon, true, {}, accept, reject});
}

std::vector<GuiMessages::Request> GuiMessages::History() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return history_;
}

void GuiMessages::Shutdown() {
  std::vector<std::shared_ptr<Pending>> waiting;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shutdown_ = true;
    waiting.swap(waiting_);
  }
  for (const auto& pending : waiting) Release(pending, false);
}

void GuiMessages::Release(const std::shared_ptr<Pending>& pending, bool answer) {
  {
    std::lock_guard<std::mutex> lock(pending->mutex);
    if (pending->finished) return;
    pending->finished = true;
    pending->answer = answer;
  }
  pending->done.notify_all();
}

bool GuiMessages::Deliver(const Request& request) {
  if (QThread::currentThread() == thread()) return Present(request);

  auto pending = std::make_shared<Pending>();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (shutdown_) return false;
    waiting_.push_back(pending);
  }
  QMetaObject::invokeMethod(
      this,
      [this, pending, request] {
        const bool answer = Present(request);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          std::erase(waiting_, pending);
        }
        Release(pending, answer);
      },
      Qt::QueuedConnection);
  std::unique_lock<std::mutex> lock(pending->mutex);
  pending->done.wait(lock, [&] { return pending->finished; });
  return pending->answer;
}

bool GuiMessages::Present(const Request& request) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    history_.push_back(request);
    if (shutdown_) return false;
  }
  if (responder_) return responder_(request);

  QWidget* parent = QApplication::activeModalWidget();
  if (parent == nullptr) parent = QApplication::activeWindow();
  SkinnedMessageBox box(request.icon, QString::fromStdString(request.text),
                        QString::fromStdString(request.detail), request.question, parent);
  if (!request.help.empty() && helpOpener_ && !request.question) box.AddHelpButton();
  if (request.question && !request.accept.empty())
    box.AcceptButton()->setText(QString::fromStdString(request.accept));
  if (request.question && !request.reject.empty())
    box.NoButton()->setText(QString::fromStdString(request.reject));
  const bool answer = box.Ask() && request.question;
  if (box.HelpChosen()) helpOpener_(request.help);
  return answer;
}

}  // namespace twr::ui
