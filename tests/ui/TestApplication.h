// The one application object of a test program, made by whichever test needs it first.
#pragma once

#include <QApplication>

namespace tamzel::ui::testing {

inline QApplication& TestApp() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}

}  // namespace tamzel::ui::testing
