// A control of the Control Manager shown by a real widget: the Control
// Manager keeps the control's record (bounds, value, visibility) and tells
// the peer whenever any of it changed; the peer owns the widget.
#pragma once

#include "../Controls.h"

namespace tb {

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // Bounds, value, range or visibility of the record changed.
  virtual void changed() = 0;
};

// The Control Manager owns the peer from then on and deletes it with the
// control.
void attachControlPeer(ControlRef control, ControlPeer* peer);
ControlPeer* controlPeer(ControlRef control);

}  // namespace tb
