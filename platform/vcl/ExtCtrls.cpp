#include "platform/vcl/ExtCtrls.h"

#include "platform/vcl/Backend.h"

namespace vcl {

TPanel::TPanel(TWinControl* parent, std::string name, Bounds bounds, std::string caption)
    : TWinControl(parent, std::move(name), bounds) {
  setControlText(std::move(caption));
}

TTimer::TTimer(TComponent* owner, std::string name) : TComponent(owner, std::move(name)) {
  backend().timerChanged(*this);
}

void TTimer::setInterval(unsigned milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  backend().timerChanged(*this);
}

void TTimer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  backend().timerChanged(*this);
}

void TTimer::tick() {
  if (running()) OnTimer(this);
}

}  // namespace vcl
