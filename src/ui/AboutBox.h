// The About box: the program's name and icon, its version, what it does,
// its licence, the toolkit it runs on, and a Help button that opens the
// help pages.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;

namespace twr::ui {

class SkinnedTextButton;

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // `openHelp` shows the help window (the box closes first).
  AboutBox(std::function<void()> openHelp, QWidget* parent = nullptr);

  QLabel* VersionLabel() const { return version_; }
  QLabel* LicenceLabel() const { return licence_; }
  SkinnedTextButton* HelpButton() const { return help_; }
  SkinnedTextButton* CloseButton() const { return close_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::function<void()> openHelp_;
  QLabel* version_ = nullptr;
  QLabel* licence_ = nullptr;
  SkinnedTextButton* help_ = nullptr;
  SkinnedTextButton* close_ = nullptr;
};

}  // namespace twr::ui
