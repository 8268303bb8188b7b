// Small text helpers of the desktop program: conversions at the Qt boundary (the literals
// come from base/Codepage.h, included here for every window file). Everything the window hands to the engine, the
// speech output or a record file is Windows-1250; everything shown by Qt is QString.
#pragma once

#include <string>

#include "base/Codepage.h"

class QString;

namespace tamzel::ui {

// Windows-1250 bytes to a QString and back (characters without a Windows-1250 form become '?').
QString ToQt(const std::string& cp1250);
std::string FromQt(const QString& text);

}  // namespace tamzel::ui
