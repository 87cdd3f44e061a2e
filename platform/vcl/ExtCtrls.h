#pragma once
// The panel (a container, e.g. for radio buttons that exclude each other) and the timer.
#include <string>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Controls.h"

namespace vcl {

class TPanel : public TWinControl {
 public:
  TPanel(TWinControl* parent, std::string name, Bounds bounds, std::string caption = "");

  const std::string& caption() const { return controlText(); }
  void setCaption(std::string caption) { setControlText(std::move(caption)); }
};

// A timer. As in the VCL it starts enabled with an interval of 1000 ms; it runs while it is
// enabled, its interval is above 0 and it has an OnTimer handler. The backend decides when a
// tick is due and calls tick().
class TTimer : public TComponent {
 public:
  TTimer(TComponent* owner, std::string name);

  unsigned interval() const { return interval_; }  // milliseconds
  void setInterval(unsigned milliseconds);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool running() const { return enabled_ && interval_ > 0 && static_cast<bool>(OnTimer); }

  // One tick: fires OnTimer when the timer is running, else nothing.
  void tick();

  TNotifyEvent OnTimer;

 private:
  unsigned interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace vcl
