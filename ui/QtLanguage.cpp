#include "ui/QtLanguage.h"

#include <QLibraryInfo>
#include <QLocale>
#include <utility>

namespace tamzel::ui {
namespace {

// Debian's Slovak toolkit translation predates the toolkit's standard-button texts (their
// context is QPlatformTheme), so the buttons of every dialog would stay English; these are
// ours.
const std::pair<const char*, const char*> kStandardButtons[] = {
    {"OK", "OK"},
    {"Save", "Uložiť"},
    {"Save All", "Uložiť všetko"},
    {"Open", "Otvoriť"},
    {"&Yes", "&Áno"},
    {"Yes to &All", "Áno &všetkým"},
    {"&No", "&Nie"},
    {"N&o to All", "N&ie všetkým"},
    {"Abort", "Prerušiť"},
    {"Retry", "Skúsiť znova"},
    {"Ignore", "Ignorovať"},
    {"Close", "Zavrieť"},
    {"Cancel", "Zrušiť"},
    {"Discard", "Zahodiť"},
    {"Help", "Pomocník"},
    {"Apply", "Použiť"},
    {"Reset", "Obnoviť"},
    {"Restore Defaults", "Obnoviť predvolené"},
};

class SlovakToolkit : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        if (context && source && qstrcmp(context, "QPlatformTheme") == 0) {
            for (const auto& [english, slovak] : kStandardButtons)
                if (qstrcmp(source, english) == 0) return QString::fromUtf8(slovak);
        }
        return QTranslator::translate(context, source, disambiguation, n);
    }

    bool isEmpty() const override { return false; }
};

}  // namespace

QTranslator* InstallToolkitSlovak(QCoreApplication& app, const QString& folder) {
    const QString where =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // Owned by the application: a translation must live as long as the texts it gives.
    auto* translator = new SlovakToolkit(&app);
    if (!translator->load(QLocale(QLocale::Slovak, QLocale::Slovakia), "qtbase", "_", where)) {
        delete translator;
        return nullptr;
    }
    app.installTranslator(translator);
    return translator;
}

}  // namespace tamzel::ui
