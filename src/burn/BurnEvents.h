// What a burn tells the one who shows it: the text progress bar (range,
// position, step, text and its display) and the end of the burn. Called on
// the burn thread; a window program forwards them to its GUI thread.
#pragma once

#include <string>

namespace twr {

class BurnEvents {
 public:
  virtual ~BurnEvents() = default;
  virtual void SetRange(int /*low*/, int /*high*/) {}
  virtual void SetPos(int /*position*/) {}
  virtual void SetStep(int /*step*/) {}
  virtual void StepIt() {}
  virtual void SetText(const std::string& /*text*/) {}
  virtual void SetShowText(bool /*show*/) {}
  // The burn is over (closing steps done); `outcome` is the message shown.
  virtual void Finished(const std::string& /*outcome*/) {}
};

}  // namespace twr
