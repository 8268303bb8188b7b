// The toolkit's own texts (standard buttons, file dialogs and their questions) in Slovak, as
// the rest of the program speaks.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

namespace tamzel::ui {

// Loads the toolkit's Slovak translation from its translations folder (or `folder`, when
// given) into `app` and returns it (owned by `app`). Null when no Slovak translation is
// installed: the toolkit's texts then stay English, the program works as before.
QTranslator* InstallToolkitSlovak(QCoreApplication& app, const QString& folder = {});

}  // namespace tamzel::ui
