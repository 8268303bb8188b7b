// The main window's menu actions on records, saving, reading aloud, themes and switches, and
// the shutdown sequence.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>

#include "base/Codepage.h"
#include "base/Files.h"
#include "ui/MainWindow.h"
#include "ui/Text.h"
#include "ui/TurnText.h"

namespace tamzel::ui {
namespace {

const char* const kRecordFile = "zaznamy/zaznamy.txt";
const char* const kRecordPage = "zaznamy/zaznamy.htm";
const char* const kReportFile = "zaznamy/report.txt";

}  // namespace

// A record write that fails is reported once per run; the turn goes on without it.
void MainWindow::Record(const char* path, const Lines& lines, bool create) {
    std::string problem = AppendRecordLines(path, lines, create);
    if (!problem.empty()) ReportProblem(problem + " Záznamy rozhovoru sa nezapisujú.");
}

void MainWindow::ReportProblem(const std::string& utf8) {
    if (recordProblemReported_) {
        std::fprintf(stderr, "%s\n", utf8.c_str());
        return;
    }
    recordProblemReported_ = true;
    services_.messages->ShowMessageDialog("Pozor", FromQt(QString::fromStdString(utf8)));
}

void MainWindow::StartNewConversationRecord() {
    if (!Zaznamy_->isChecked()) return;
    std::tm now = Now();
    std::string user = services_.talk->Profile().name;
    Record(kRecordFile, ConversationStartLines(user, now), true);
    Record(kReportFile, ReportStartLines(user, now), true);
}

void MainWindow::EndConversationRecord() {
    if (!Zaznamy_->isChecked()) return;
    std::tm now = Now();
    Record(kRecordFile, ConversationEndLines(now), false);
    Record(kReportFile, ReportEndLines(), false);
}

void MainWindow::ZaznamyClick() {
    if (sender() != Zaznamy_) Zaznamy_->setChecked(!Zaznamy_->isChecked());
    bool on = Zaznamy_->isChecked();
    MarkToggleIcon(kIconRecords, on);
    std::string user = services_.talk->Profile().name;
    if (on) {
        Record(kRecordFile, RecordsOnLines(user, Now()), true);
    } else {
        Record(kRecordFile, RecordsOffLines(Now()), false);
    }
}

void MainWindow::RecClick() {
    if (sender() != Rec_) Rec_->setChecked(!Rec_->isChecked());
    MarkToggleIcon(kIconSpeech, Rec_->isChecked());
    if (!Rec_->isChecked() && services_.speech->Speaking()) services_.speech->StopSpeech();
}

void MainWindow::AnimaciaClick() {
    // The neutral face is drawn while animation is still on, so that switching it off
    // does not leave a half-open mouth behind.
    bool nowOn = Animacia_->isChecked();
    if (sender() != Animacia_) nowOn = !nowOn;
    Animacia_->setChecked(!nowOn);
    ShowFaceFrame("-");
    Animacia_->setChecked(nowOn);
    MarkToggleIcon(kIconAnimation, nowOn);
}

void MainWindow::AutologClick() {
    if (sender() != Autolog_) Autolog_->setChecked(!Autolog_->isChecked());
    MarkToggleIcon(kIconAutolog, Autolog_->isChecked());
}

void MainWindow::InfoBarClick() {
    if (sender() != InfoBar_) InfoBar_->setChecked(!InfoBar_->isChecked());
    Label2->setVisible(InfoBar_->isChecked());
    MarkToggleIcon(kIconInfoBar, InfoBar_->isChecked());
}

void MainWindow::NovyClick() {
    ConversationLines_.clear();
    EndConversationRecord();
    RichEdit1->clear();
    if (base::Status loaded = services_.talk->InitEngine(); !loaded) {
        services_.messages->ShowMessageDialog("Chyba", loaded.message());
        return;
    }
    StartNewConversationRecord();
    Edit1->setFocus();
    OpeningTurn();
}

void MainWindow::VymazClick() { RichEdit1->clear(); }

void MainWindow::PrecitajClick() {
    if (speechDisabled_) {
        services_.messages->ShowMessageDialog(
            base::Cp1250("Informácia"),
            base::Cp1250("Reč je vypnutá: na tomto počítači nie je zvuková karta, a tak ti "
                         "rozhovor nahlas prečítať neviem."));
        return;
    }
    services_.speech->Speak(ReadAloudText(ConversationLines_));
    SpeechStarted();
}

void MainWindow::UlozClick() {
    QString selected;
    const QString htm = QString::fromUtf8("Rozhovor (*.htm)");
    const QString txt = QString::fromUtf8("Záznam (*.txt)");
    QString chosen = QFileDialog::getSaveFileName(this, QString::fromUtf8("Ulož rozhovor"),
                                                  QDir::currentPath() + "/", htm + ";;" + txt,
                                                  &selected, QFileDialog::DontConfirmOverwrite);
    QString home = QDir::currentPath();
    if (!chosen.isEmpty()) SaveConversation(chosen.toStdString(), selected == txt ? 1 : 0);
    QDir::setCurrent(home);
    ToolBar1->update();
}

void MainWindow::SaveConversation(const std::string& chosenUtf8, int filterIndex) {
    std::string name = SaveFileName(chosenUtf8, filterIndex);
    if (QFileInfo::exists(QString::fromStdString(name))) {
        QString question = QString::fromUtf8("Súbor %1 už existuje. Nahradiť ho?")
                               .arg(QString::fromStdString(name));
        if (!services_.messages->AskQuestion("Tamzel", FromQt(question))) return;
    }
    std::string user = services_.talk->Profile().name;
    std::string content = SavesAsHtml(name) ? ConversationHtml(ConversationLines_, user, Now())
                                            : ConversationText(ConversationLines_, user, Now());
    base::Status written = base::WriteFileAtomically(name, content);
    if (!written) ShowFailure(written.error());
}

void MainWindow::ChangeThemeClick() {
    QString home = QDir::currentPath();
    QString chosen = QFileDialog::getOpenFileName(
        this, QString::fromUtf8("Zmeň vzhľad"), home + "/design/",
        QString::fromUtf8("Tamzel2-Téma (*.thm);;Všetky súbory (*)"));
    if (!chosen.isEmpty()) ChangeTheme(chosen.toStdString());
    QDir::setCurrent(home);
    ToolBar1->update();
}

void MainWindow::ChangeTheme(const std::string& themeFileUtf8) {
    if (base::Status opened = OpenTheme(themeFileUtf8, theme_); !opened) {
        ShowFailure(opened.error());
        return;
    }
    services_.speech->PlayWaveFile("files/ping1.wav");
    ticker_.StartFade(false, true);
}

// A page with an anchor goes to the default handler as a file URL, which can carry one;
// a plain page as its absolute path.
void MainWindow::OpenDocument(const char* path, const char* anchor) {
    QFileInfo info(QString::fromUtf8(path));
    if (!info.exists()) {
        services_.messages->ShowMessageDialog(
            "Pozor", FromQt(QString::fromUtf8("Súbor %1 chýba.").arg(path)));
        return;
    }
    if (!*anchor) {
        services_.openUrl(info.absoluteFilePath().toStdString());
        return;
    }
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setFragment(QString::fromUtf8(anchor));
    services_.openUrl(url.toString(QUrl::FullyEncoded).toStdString());
}

// The shutdown sequence. Each step is attempted and a failing one is reported on standard
// error: whatever happens to the records, the profile files are stored and the program ends.
void MainWindow::SaveAndQuit() {
    if (quitting_) return;
    quitting_ = true;
    Timer1->stop();
    std::string record;
    if (base::ReadWholeFile(kRecordFile, record)) {
        base::Status written = base::WriteFileAtomically(kRecordPage, BuildRecordsPage(record));
        if (!written) std::fprintf(stderr, "%s\n", written.message().c_str());
    } else {
        std::fprintf(stderr, "Súbor %s chýba; stránka záznamov sa neobnovila.\n", kRecordFile);
    }
    recordProblemReported_ = true;  // no dialogs while the program ends
    EndConversationRecord();
    ShutdownStore::Settings s{Autolog_->isChecked(), Zaznamy_->isChecked(), Rec_->isChecked(),
                              Animacia_->isChecked(), InfoBar_->isChecked(),
                              services_.settings->Volume(), services_.settings->Speed(),
                              services_.settings->Intonation(), theme_.ThemeFile};
    base::Status stored = services_.store->Store(s, services_.talk->Profile());
    if (!stored) std::fprintf(stderr, "%s\n", ToQt(stored.message()).toLocal8Bit().constData());
    services_.quit();
}

// A close by the window manager or the session ends the program the orderly way.
void MainWindow::closeEvent(QCloseEvent* event) {
    SaveAndQuit();
    event->accept();
}

}  // namespace tamzel::ui
