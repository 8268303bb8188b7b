// A contact sheet of the generated face frames, for looking at them all at once.
//
// First every frame as the program shows it: a small frame laid over "default2" at its
// place, a whole frame by itself, each with its name. Then every small frame alone at its
// own size, framed by a thin line, so that its extent can be seen.
#pragma once

#include <QImage>
#include <string>
#include <utility>
#include <vector>

namespace tamzel::speech {

using NamedImage = std::pair<std::string, QImage>;

// `frames` holds the decoded frames in the order to show; it must contain "default2".
// `scale` enlarges the whole sheet (1 = pixel for pixel).
QImage RenderContactSheet(const std::vector<NamedImage>& frames, int scale);

}  // namespace tamzel::speech
