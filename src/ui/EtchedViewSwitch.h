// The main window's two-state switch over its preview: "Design" shows the
// label as designed, "As etched" what the laser leaves at the quality chosen
// beside it.
#pragma once

#include <QWidget>

#include "burn/BurnPlan.h"

class QComboBox;
class QToolButton;

namespace twr::ui {

class EtchedViewSwitch : public QWidget {
  Q_OBJECT

 public:
  explicit EtchedViewSwitch(QWidget* parent = nullptr);

  bool Etched() const;
  void SetEtched(bool etched);
  BurnQuality Quality() const;
  QToolButton* DesignButton() const { return design_; }
  QToolButton* EtchedButton() const { return etched_; }
  QComboBox* QualityList() const { return quality_; }

 signals:
  // The view or the quality changed.
  void Changed();

 private:
  QToolButton* design_ = nullptr;
  QToolButton* etched_ = nullptr;
  QComboBox* quality_ = nullptr;
};

}  // namespace twr::ui
