#include "ui/QtLanguage.h"

#include <QApplication>
#include <gtest/gtest.h>

#include "tests/ui/TempFolder.h"
#include "tests/ui/TestApplication.h"

namespace tamzel::ui {
namespace {

// The toolkit texts a user of the program meets: the standard buttons of every question and
// the file dialogs of saving and of the theme change.
TEST(QtLanguageTest, ToolkitDialogsSpeakSlovak) {
    QApplication& app = testing::TestApp();
    QTranslator* slovak = InstallToolkitSlovak(app);
    ASSERT_NE(slovak, nullptr) << "qtbase_sk.qm (qt6-translations-l10n) is not installed";
    struct Case { const char* context; const char* english; } cases[] = {
        {"QPlatformTheme", "Cancel"}, {"QPlatformTheme", "&Yes"}, {"QPlatformTheme", "&No"},
        {"QPlatformTheme", "Save"},   {"QFileDialog", "&Open"},   {"QFileDialog", "File &name:"},
        {"QFileDialog", "Files of type:"},
        {"QFileDialog", "%1 already exists.\nDo you want to replace it?"},
    };
    for (const Case& c : cases) {
        QString shown = QCoreApplication::translate(c.context, c.english);
        EXPECT_NE(shown, QString::fromUtf8(c.english)) << c.context << " " << c.english;
        EXPECT_FALSE(shown.isEmpty()) << c.english;
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Zrušiť"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), QString::fromUtf8("&Nie"));
    // What the translation does not know stays as it was.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Xyz"), QString("Xyz"));
    QCoreApplication::removeTranslator(slovak);
    delete slovak;
}

TEST(QtLanguageTest, AFolderWithoutTheTranslationLeavesTheToolkitEnglish) {
    QApplication& app = testing::TestApp();
    testing::TempFolder empty;
    EXPECT_EQ(InstallToolkitSlovak(app, QString::fromStdString(empty.path())), nullptr);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
}

}  // namespace
}  // namespace tamzel::ui
