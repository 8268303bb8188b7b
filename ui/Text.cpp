#include "ui/Text.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

#include "base/Codepage.h"

namespace tamzel::ui {

QString ToQt(const std::string& cp1250) {
    return QString::fromStdString(base::ToUtf8(cp1250));
}

std::string FromQt(const QString& text) {
    return base::FromUtf8Lossy(text.toStdString());
}

}  // namespace tamzel::ui
