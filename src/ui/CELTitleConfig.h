// The configuration dialog: the font family for all label text, the burning
// area (inner and outer radius in mm) and the Rimtone mode. A view over the
// TitleConfigModel; the main window reads the confirmed values after OK.
#pragma once

#include "ui/SkinnedDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace twr {
class CELDevice;
class Messages;
}  // namespace twr

namespace twr::ui {

class SkinnedButton;
class TitleConfigModel;
struct TitleConfigValues;

class CELTitleConfig : public SkinnedDialog {
  Q_OBJECT

 public:
  enum ControlId {
    kIdOk = 1,
    kIdCancel = 2,
    kIdFont = 1015,
    kIdInner = 1016,
    kIdOuter = 1017,
    kIdRimtone = 1050,
    kIdArea = 1051,
  };

  // The opening: the working copy of `values`, the installed TrueType
  // families (or `fonts` when given, for tests), the check box offered for
  // a DVD±R only.
  CELTitleConfig(TitleConfigModel& model, const TitleConfigValues& values, CELDevice& device,
                 Messages& messages, QWidget* parent = nullptr,
                 const std::vector<std::string>* fonts = nullptr);

  QComboBox* FontList() const { return fonts_; }
  QLineEdit* InnerEdit() const { return inner_; }
  QLineEdit* OuterEdit() const { return outer_; }
  QCheckBox* RimtoneBox() const { return rimtone_; }
  // Automatic (entry 0) or manual (entry 1) burning area.
  QComboBox* AreaList() const { return area_; }
  SkinnedButton* OkButton() const { return ok_; }
  SkinnedButton* CancelButton() const { return cancel_; }

 public slots:
  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // False after "Please enter a number." for a radius.
  bool ReadControls();
  void ShowMembers();
  void OnRimtoneClicked();

  TitleConfigModel& model_;
  CELDevice& device_;
  Messages& messages_;
  QComboBox* fonts_ = nullptr;
  QLineEdit* inner_ = nullptr;
  QLineEdit* outer_ = nullptr;
  QCheckBox* rimtone_ = nullptr;
  QComboBox* area_ = nullptr;
  SkinnedButton* ok_ = nullptr;
  SkinnedButton* cancel_ = nullptr;
};

}  // namespace twr::ui
