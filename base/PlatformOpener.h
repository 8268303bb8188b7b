// Opening a file or address with the desktop's own program (xdg-open), the way a double
// click in the file manager would. The path reaches xdg-open as its one argument: no shell
// ever sees it, so quotes, semicolons and "$(...)" in a brain's RUN command stay text.
#pragma once

#include <string>

#include "base/Result.h"

namespace tamzel::base {

// Starts xdg-open for `utf8Path` and returns at once; the child is reaped in the
// background. A path beginning with "-" is passed as "./-..." so that it cannot read as
// an option. Fails (Windows-1250 message) only when xdg-open cannot be started.
Status OpenWithDesktop(const std::string& utf8Path);

}  // namespace tamzel::base
