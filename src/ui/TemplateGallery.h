// File ▸ New: the templates a new label starts from, as a gallery of discs
// drawn as they will etch. The names show at once; each thumbnail fills in
// when the template model has made it. Choosing one (double-click, Enter or
// "New Label") accepts the dialog with its file.
#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

#include "ui/model/TemplateGalleryModel.h"

class QDialogButtonBox;
class QLabel;
class QListWidget;

namespace twr::ui {

class TemplateGallery : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kThumbnailSide = 180;    // the most a thumbnail is drawn
  static constexpr int kMinThumbnailSide = 96;  // below this the list scrolls instead
  static constexpr int kColumns = 3;            // the fewest columns of thumbnails
  static constexpr int kCellMargin = 24;        // across, beside each thumbnail
  static constexpr int kTextHeight = 44;        // down, a name of two lines under it

  // Columns, rows and the thumbnails' side that show `count` templates in
  // `room` (the list's room on the screen, pixels) without scrolling: the
  // largest side up to kThumbnailSide, on a tie the fewer columns; where
  // none fits, kMinThumbnailSide at kColumns.
  struct Grid {
    int columns;
    int rows;
    int side;
  };
  static Grid FitGrid(int count, QSize room);

  TemplateGallery(std::vector<TemplateEntry> templates, QWidget* parent = nullptr);
  ~TemplateGallery() override;

  // The template chosen (after the dialog was accepted), else empty.
  QString ChosenPath() const;
  QListWidget* List() const { return list_; }
  const TemplateGalleryModel& Model() const { return *model_; }
  int ThumbnailSide() const { return grid_.side; }
  int Columns() const { return grid_.columns; }

 private:
  void ShowThumbnail(int index);

  Grid grid_{};
  std::unique_ptr<TemplateGalleryModel> model_;
  QListWidget* list_ = nullptr;
  QLabel* hint_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace twr::ui
