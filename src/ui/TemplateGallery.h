// File ▸ New: the templates a new label starts from, as a gallery of discs
// drawn as they will etch. The names show at once; each thumbnail fills in
// when the template model has made it. Choosing one (double-click, Enter or
// "New Label") accepts the dialog with its file.
#pragma once

#include <QDialog>
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
  static constexpr int kThumbnailSide = 180;

  TemplateGallery(std::vector<TemplateEntry> templates, QWidget* parent = nullptr);
  ~TemplateGallery() override;

  // The template chosen (after the dialog was accepted), else empty.
  QString ChosenPath() const;
  QListWidget* List() const { return list_; }
  const TemplateGalleryModel& Model() const { return *model_; }

 private:
  void ShowThumbnail(int index);

  std::unique_ptr<TemplateGalleryModel> model_;
  QListWidget* list_ = nullptr;
  QLabel* hint_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace twr::ui
