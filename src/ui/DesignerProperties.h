// The layout designer's properties panel: a control for every key of the
// layout table (label/LayoutDefinition's LayoutKeys), on its page and in
// its place there, for the item selected on the disc (a box, the ring text,
// or the layout itself with its greys, picture and radii). Places and
// sizes are in millimetres with the label pixels beside them; numbered
// choices are shown by name (the ring arrangements with a small picture).
// A value outside its limits is refused on its field with the reason.
#pragma once

#include <QWidget>

#include <deque>
#include <functional>
#include <string>

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
  // The control that sets a key (a field, slider, list, the buttons or the
  // picture's name), named by the key's label; nullptr for a box's key
  // while another box is selected.
  QWidget* Control(const std::string& key) const;
  QLabel* Refusal() const { return refusal_; }
  // The picture chooser; tests replace the file dialog.
  void SetPictureChooser(std::function<QString()> chooser) { choosePicture_ = std::move(chooser); }

 public slots:
  void Refresh();

 private:
  // How a field shows its number.
  enum class Unit { Millimetres, Place, Pixels, Degrees, Characters, WholeMm, Text };
  // One key of the layout table on the panel. The box page's controls
  // stand for the selected box's keys: they are bound to the title's.
  struct Binding {
    const LayoutKey* key = nullptr;
    QWidget* control = nullptr;  // what sets the key
    Unit unit = Unit::Text;
    QLineEdit* edit = nullptr;  // a field
    QLabel* pixels = nullptr;   // the label pixels beside a millimetre field
    QSlider* slider = nullptr;  // a grey
    QLabel* swatch = nullptr;
    QLabel* number = nullptr;
    QComboBox* list = nullptr;        // a choice
    QButtonGroup* buttons = nullptr;  // a choice with pictures
    QLabel* picture = nullptr;        // the picture's name
    QPushButton* remove = nullptr;
  };
  QWidget* BuildPage(LayoutPage page);
  void AddField(QFormLayout* form, Binding& binding);
  void AddGrey(QFormLayout* form, Binding& binding);
  void AddPicture(QFormLayout* form, Binding& binding);
  void AddList(QFormLayout* form, Binding& binding);
  void AddButtons(QFormLayout* form, Binding& binding);
  // The key a binding sets now (the selected box's for the box page).
  const LayoutKey* KeyOf(const Binding& binding) const;
  void Commit(const Binding& binding);
  void ShowRefusal(QLineEdit* edit, const std::string& why);
  QString FieldText(const Binding& binding) const;

  LayoutDesignerModel& model_;
  QLabel* heading_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QLabel* refusal_ = nullptr;
  // Every key's binding; a deque, since the controls' slots hold them.
  std::deque<Binding> bindings_;
  QPushButton* giveSize_ = nullptr;
  std::function<QString()> choosePicture_;
  bool refreshing_ = false;
};

}  // namespace twr::ui
