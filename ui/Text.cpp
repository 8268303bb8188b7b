#include "ui/Text.h"

#include <QString>

#include "engine/Codepage.h"

namespace tamzel::ui {

QString ToQt(const std::string& cp1250) {
    return QString::fromStdString(engine::ToUtf8(cp1250));
}

std::string FromQt(const QString& text) {
    return engine::FromUtf8Lossy(text.toStdString());
}

}  // namespace tamzel::ui
