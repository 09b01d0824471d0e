// The layout designer's properties panel: every field of the layout record
// that a person sets, for the item selected on the disc (a box, the ring
// text, or the layout itself with its greys, picture and radii). Places and
// sizes are in millimetres with the label pixels beside them; numbered
// choices are shown by name (the ring arrangements with a small picture).
// A value outside its limits is refused on its field with the reason.
#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "ui/model/LayoutDesignerModel.h"

class QButtonGroup;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QStackedWidget;

namespace twr::ui {

class DesignerProperties : public QWidget {
  Q_OBJECT

 public:
  explicit DesignerProperties(LayoutDesignerModel& model, QWidget* parent = nullptr);

  // The fields by their key name ("TitlePosX" is the selected box's "PosX"
  // field while the title is selected); tests type into them.
  QLineEdit* Field(const std::string& key) const;
  QLabel* Refusal() const { return refusal_; }
  // The picture chooser; tests replace the file dialog.
  void SetPictureChooser(std::function<QString()> chooser) { choosePicture_ = std::move(chooser); }

 public slots:
  void Refresh();

 private:
  enum class Unit { Millimetres, Place, Pixels, Degrees, Characters, WholeMm, Text };
  struct FieldBinding {
    QLineEdit* edit = nullptr;
    QLabel* pixels = nullptr;  // the label pixels beside a millimetre field
    std::string key;           // "PosX" for a box field, else the layout key
    bool boxField = false;
    Unit unit = Unit::Text;
  };
  QWidget* BuildBoxPage();
  QWidget* BuildRingPage();
  QWidget* BuildLayoutPage();
  QLineEdit* AddField(QFormLayout* form, const QString& label, const std::string& key,
                      bool boxField, Unit unit);
  std::string KeyOf(const FieldBinding& field) const;
  void Commit(FieldBinding& field);
  void ShowRefusal(QLineEdit* edit, const std::string& why);
  QString FieldText(const FieldBinding& field) const;
  QSlider* AddGrey(QFormLayout* form, const QString& label, const std::string& key, QLabel*& swatch,
                   QLabel*& number);

  LayoutDesignerModel& model_;
  QLabel* heading_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QLabel* refusal_ = nullptr;
  std::vector<FieldBinding> fields_;
  QComboBox* align_ = nullptr;
  QPushButton* giveSize_ = nullptr;
  QButtonGroup* ringTypes_ = nullptr;
  QComboBox* ringPlace_ = nullptr;
  QSlider* textGrey_ = nullptr;
  QSlider* backGrey_ = nullptr;
  QLabel* textSwatch_ = nullptr;
  QLabel* backSwatch_ = nullptr;
  QLabel* textNumber_ = nullptr;
  QLabel* backNumber_ = nullptr;
  QLabel* picture_ = nullptr;
  QPushButton* removePicture_ = nullptr;
  std::function<QString()> choosePicture_;
  bool refreshing_ = false;
};

}  // namespace twr::ui
