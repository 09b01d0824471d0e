// The window program started under a German locale: its captions come from
// the compiled-in translation, the version title stays as it is, and with
// LANGUAGE=C every caption is the English one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "drive/CELDevice.h"
#include "i18n/Translations.h"
#include "label/CELLayout.h"
#include "label/LayoutDefinition.h"
#include "ui/CELMainDlg.h"
#include "ui/DesignerProperties.h"
#include "ui/GuiMessages.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TitleConfigModel.h"

namespace twr {
namespace {

// The environment of a user whose desktop speaks German; `language` is
// LANGUAGE's value, or nullptr for none.
void GermanDesktop(const char* language) {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) unsetenv(name);
  setenv("LANG", "de_DE.UTF-8", 1);
  if (language != nullptr) setenv("LANGUAGE", language, 1);
}

// The main window as main() builds it, with the translations installed the
// same way, and every caption it shows.
struct Window {
  QTemporaryDir dir;
  i18n::ProgramTranslations translations;
  CELDevice device;
  ui::GuiMessages messages;
  ui::BurnSession burn{device, messages};
  ui::TitleConfigModel config;
  std::unique_ptr<CELLayout> layout;
  std::unique_ptr<ui::MainWindowModel> model;
  std::unique_ptr<ui::CELMainDlg> window;

  Window() {
    translations.InstallInto(*QCoreApplication::instance());
    std::ofstream(dir.filePath("twr.ini").toStdString())
        << "[Config]\nLayoutNum=0\n[Layout00]\nName=One\nBaseLength=600\n";
    layout = std::make_unique<CELLayout>(dir.filePath("twr.ini").toStdString());
    model = std::make_unique<ui::MainWindowModel>(*layout, device, burn, config, messages);
    window = std::make_unique<ui::CELMainDlg>(*model, config, burn, device, messages);
  }
  QStringList Captions() const {
    QStringList texts;
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) texts << b->text();
    for (const QLabel* l : window->findChildren<QLabel*>()) texts << l->text();
    return texts;
  }
};

TEST(WindowLanguage, GermanCaptionsUnderAGermanLocaleAndEnglishUnderLanguageC) {
  GermanDesktop(nullptr);
  {
    const Window german;
    EXPECT_EQ(german.translations.Language(), "de");
    const QStringList captions = german.Captions();
    EXPECT_TRUE(captions.contains(QStringLiteral("&Brennen"))) << captions.join(u'|').toStdString();
    EXPECT_TRUE(captions.contains(QStringLiteral("&Titel"))) << captions.join(u'|').toStdString();
    EXPECT_FALSE(captions.contains(QStringLiteral("&Burn")));
    // The title with the version is never translated.
    EXPECT_TRUE(german.window->windowTitle().startsWith(QStringLiteral("Titlewright  Version ")))
        << german.window->windowTitle().toStdString();
  }
  GermanDesktop("C");
  const Window english;
  EXPECT_EQ(english.translations.Language(), "");
  const QStringList captions = english.Captions();
  EXPECT_TRUE(captions.contains(QStringLiteral("&Burn"))) << captions.join(u'|').toStdString();
  EXPECT_TRUE(captions.contains(QStringLiteral("&Title")));
  EXPECT_FALSE(captions.contains(QStringLiteral("&Brennen")));
}

// What a control of the designer's panel shows: a field with its tooltip, a
// list with its entries, a slider, a button's text, a label's text, or the
// controls of a row in their order.
QString Shown(const QWidget* widget) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
    return "[" + edit->text() + "]{" + edit->toolTip() + (edit->isEnabled() ? "}" : "}(off)");
  if (const auto* list = qobject_cast<const QComboBox*>(widget)) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
      items << list->itemText(i) + (i == list->currentIndex() ? "*" : "");
    return "list{" + items.join(u'/') + "}";
  }
  if (const auto* slider = qobject_cast<const QSlider*>(widget))
    return "slider[" + QString::number(slider->value()) + "]";
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
    return "button{" + button->text() + (button->isChecked() ? "}*" : "}");
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  QStringList parts;
  if (QLayout* layout = widget->layout())
    for (int i = 0; i < layout->count(); ++i) {
      QLayoutItem* item = layout->itemAt(i);
      if (item->widget() != nullptr) {
        parts << Shown(item->widget());
      } else if (QLayout* inner = item->layout()) {
        for (int k = 0; k < inner->count(); ++k)
          if (inner->itemAt(k)->widget() != nullptr) parts << Shown(inner->itemAt(k)->widget());
      }
    }
  return parts.join(u' ');
}

// The panel's pages as a person reads them: one line a row, the label, then
// what stands beside it.
std::string PanelText(const ui::DesignerProperties& panel) {
  QString text;
  const auto* pages = panel.findChild<QStackedWidget*>();
  for (int p = 0; p < pages->count(); ++p) {
    const auto* form = qobject_cast<QFormLayout*>(pages->widget(p)->layout());
    text += QStringLiteral("--\n");
    for (int row = 0; row < form->rowCount(); ++row) {
      QStringList line;
      if (QLayoutItem* item = form->itemAt(row, QFormLayout::SpanningRole)) {
        line << Shown(item->widget());
      } else {
        for (QFormLayout::ItemRole role : {QFormLayout::LabelRole, QFormLayout::FieldRole})
          line << Shown(form->itemAt(row, role)->widget());
      }
      text += line.join(QStringLiteral(" | ")) + u'\n';
    }
  }
  return text.toStdString();
}

// The layout designer's properties panel as a person sees it, in German and
// in English: every key of the layout table has its control, named by the
// key's label, on the key's page; each field has its label, unit and
// tooltip in its place (a key the layout does not draw with, greyed out).
TEST(WindowLanguage, TheDesignersPanelHasEveryKeyInItsPlaceInGermanAndEnglish) {
  QTemporaryDir dir;
  std::ofstream(dir.filePath("twr.ini").toStdString())
      << "[Config]\nLayoutNum=1\n[Layout00]\nName=One\nBaseLength=800\nTitleWidth=400\n"
         "TitleHeight=80\nTitlePosX=200\nTitlePosY=120\nTitleMaxNum=30\nTitleAlign=2\n"
         "RingType=2\nRLetterAlign=1\nRingMAngle=150\nRingLength=4\nTxColor=20\nBgColor=235\n";
  ui::LayoutDesignerModel model;
  ASSERT_TRUE(model.Open(dir.filePath("twr.ini").toStdString(), 0));
  GermanDesktop(nullptr);
  {
    i18n::ProgramTranslations translations;
    translations.InstallInto(*QCoreApplication::instance());
    EXPECT_EQ(PanelText(ui::DesignerProperties(model)), R"(--
Linker Rand | [-29.00]{Von der Discmitte aus; nach links ist negativ} mm 200 px
Oberer Rand | [-40.60]{Von der Discmitte aus; nach oben ist negativ} mm 120 px
Breite | [58.00]{} mm 400 px
Höhe | [11.60]{} mm 80 px
Höchstens | [30]{MaxNum: das Feld zeichnet höchstens so viele Zeichen seines Textes; ein breites ostasiatisches Zeichen zählt doppelt} Zeichen
Ausrichtung | list{Links/Zentriert/Rechts*}
button{Dem Feld eine Größe geben}
--
Anordnung
button{Eine Zeile rund um den ganzen Kreis} button{Titel und Datum oben, Notizen unten} button{Zwei Reihen auf dem unteren Bogen}*
Platz im Band | list{Am Innenradius/Mittig im Band*/Am Außenradius}
Bogen für Titel und Datum | [150]{RingMAngle: Bogengrad für Titel und Datum} °
Bogen für Notizen | [180]{RingSAngle: Bogengrad für die Notizzeilen (oberer und unterer Bogen)}(off) °
Stärke | [4]{RingLength: die Stärke des Ringtextbands; 0 zeichnet keinen Ringtext} mm
--
Name | [One]{}
Textgrau | slider[20]  20
Hintergrundgrau | slider[235]  235
Hintergrundbild | Keins (das Hintergrundgrau füllt das Label) button{Auswählen …} button{Entfernen}
Innenradius | [25]{Der innere Rand des Brennbereichs, mindestens 25 mm} mm
Außenradius | [58]{Der äußere Rand des Brennbereichs, höchstens 58 mm} mm
BaseLength | [800]{Die Seitenlänge des Labels in Pixeln (116 mm breit); die Felder behalten ihren Platz} px
QR-Code-Größe | [0]{Die Seite des QR-Code-Felds in Labelpixeln; 0 zeichnet keinen QR-Code. Der Code mit seiner Ruhezone wird so groß gezeichnet, wie ganze Pixel je Modul es erlauben} px
QR-Code linker Rand | [0]{Die Ecke des QR-Code-Felds in Labelpixeln von der oberen linken Ecke des Etiketts} px
QR-Code oberer Rand | [0]{Die Ecke des QR-Code-Felds in Labelpixeln von der oberen linken Ecke des Etiketts} px
)");
  }
  GermanDesktop("C");
  i18n::ProgramTranslations translations;
  const ui::DesignerProperties panel(model);
  EXPECT_EQ(PanelText(panel), R"(--
Left edge | [-29.00]{From the disc centre; to the left is negative} mm 200 px
Top edge | [-40.60]{From the disc centre; upwards is negative} mm 120 px
Width | [58.00]{} mm 400 px
Height | [11.60]{} mm 80 px
At most | [30]{MaxNum: the box draws at most this many characters of its text; a wide East Asian character counts two} characters
Alignment | list{Left/Centred/Right*}
button{Give the box a size}
--
Arrangement
button{One line around the full circle} button{Title and date above, notes below} button{Two rows on the lower arc}*
Place in the band | list{At the inner radius/Centred in the band*/At the outer radius}
Title and date arc | [150]{RingMAngle: degrees of arc for the title and date} °
Note arc | [180]{RingSAngle: degrees of arc for the note lines (upper and lower arc)}(off) °
Thickness | [4]{RingLength: the ring text band's thickness; 0 draws no ring text} mm
--
Name | [One]{}
Text grey | slider[20]  20
Background grey | slider[235]  235
Background picture | None (the background grey fills the label) button{Choose…} button{Remove}
Inner radius | [25]{The inner edge of the burning area, at least 25 mm} mm
Outer radius | [58]{The outer edge of the burning area, at most 58 mm} mm
BaseLength | [800]{The label's side in pixels (116 mm across); the boxes keep their place} px
QR code size | [0]{The QR code box's side in label pixels; 0 draws no QR code. The code with its quiet zone is drawn as large as whole pixels per module allow} px
QR code left edge | [0]{The QR code box's corner in label pixels from the label's top left} px
QR code top edge | [0]{The QR code box's corner in label pixels from the label's top left} px
)");

  const auto* pages = panel.findChild<QStackedWidget*>();
  for (const LayoutKey& key : LayoutKeys()) {
    SCOPED_TRACE(key.name);
    model.Select(key.box ? ui::ItemOf(*key.box) : ui::DesignerItem::Ring);
    const QWidget* control = panel.Control(key.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->accessibleName().toStdString(), key.label);
    EXPECT_TRUE(pages->widget(static_cast<int>(key.page))->isAncestorOf(control));
  }
}

}  // namespace
}  // namespace twr

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
