// The layout designer's window ("Layout Designer"): a resizable window
// beside the main window with the layouts of the settings file (new, copy,
// rename, delete, reorder), the disc to shape the chosen one on, its
// properties, undo and redo, and saving into the settings file. A view of
// LayoutDesignerModel: it asks the questions (a file changed on disk,
// unsaved changes on closing, Save As after a failed save) and says why a
// change was refused.
#pragma once

#include <QMainWindow>

#include <functional>
#include <string>

#include "label/RingText.h"
#include "ui/model/LayoutDesignerModel.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace twr::ui {

class DesignerCanvas;
class DesignerProperties;

class LayoutDesigner : public QMainWindow {
  Q_OBJECT

 public:
  explicit LayoutDesigner(QWidget* parent = nullptr);

  // Opens the settings file at a layout, with the main window's texts and
  // face; false (after saying why) when the file cannot be read.
  bool OpenSettings(const std::string& path, int layout, const std::string& title,
                    const std::string& date, const NoteLineArray& notes, const std::string& face);

  LayoutDesignerModel& Model() { return model_; }
  QLabel* AreaLine() const { return area_; }
  DesignerCanvas* Canvas() const { return canvas_; }
  DesignerProperties* Properties() const { return properties_; }
  QListWidget* LayoutList() const { return list_; }

  // A question or a notice, as a message box unless tests answer it. The
  // answer is one of QMessageBox's standard buttons.
  struct Prompt {
    QString text;
    int buttons = 0;        // QMessageBox::StandardButtons
    int defaultButton = 0;  // QMessageBox::StandardButton
    bool warning = false;
  };
  using Prompter = std::function<int(const Prompt&)>;
  void SetPrompter(Prompter prompter) { prompter_ = std::move(prompter); }
  // Where Save As writes (tests replace the file dialog); empty: cancelled.
  void SetSaveAsChooser(std::function<QString()> chooser) { chooseSaveAs_ = std::move(chooser); }
  // Text asked for a layout name (tests replace the input dialog).
  void SetNameAsker(std::function<QString(const QString& title, const QString& now)> asker) {
    askName_ = std::move(asker);
  }

  // Save and Save As as the menu runs them: true when saved.
  bool Save();
  bool SaveAs();

 signals:
  // The settings file at `path` was written; its layout `current` is shown.
  void LayoutsSaved(const QString& path, int current);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void RefreshList();
  void RefreshTitle();
  void Say(const std::string& why);
  int Ask(const Prompt& prompt);
  void NewLayout(bool copy);
  void Rename();
  void Delete();
  void MoveCurrent(int by);

  LayoutDesignerModel model_;
  DesignerCanvas* canvas_ = nullptr;
  DesignerProperties* properties_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* area_ = nullptr;  // the automatic area and what sets its edges
  QPushButton* deleteButton_ = nullptr;
  QPushButton* upButton_ = nullptr;
  QPushButton* downButton_ = nullptr;
  Prompter prompter_;
  std::function<QString()> chooseSaveAs_;
  std::function<QString(const QString&, const QString&)> askName_;
  bool refreshingList_ = false;
  bool fitted_ = false;  // sized to the screen at the first showing
};

}  // namespace twr::ui
