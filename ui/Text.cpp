#include "ui/Text.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

#include "base/Codepage.h"

namespace tamzel::ui {

std::string Cp(const char* utf8) {
    auto converted = base::FromUtf8(utf8);
    if (!converted) {
        std::fprintf(stderr, "Literal without a Windows-1250 form: %s\n", utf8);
        std::abort();
    }
    return *converted;
}

QString ToQt(const std::string& cp1250) {
    return QString::fromStdString(base::ToUtf8(cp1250));
}

std::string FromQt(const QString& text) {
    return base::FromUtf8Lossy(text.toStdString());
}

}  // namespace tamzel::ui
