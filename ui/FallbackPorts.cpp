#include "ui/FallbackPorts.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "ui/Text.h"

namespace tamzel::ui {
namespace {

// Runs the plain dialog; true when the first button was chosen.
bool RunPlainDialog(const QColor& color, const std::string& title, const std::string& text,
                    bool question) {
    std::fprintf(stderr, "%s: %s\n", ToQt(title).toLocal8Bit().constData(),
                 ToQt(text).toLocal8Bit().constData());
    if (!qApp || QGuiApplication::platformName() == "offscreen") return !question;
    QDialog dialog(nullptr, Qt::FramelessWindowHint | Qt::Dialog);
    dialog.setStyleSheet(QString("QDialog { background: %1; border: 1px solid #404040; }")
                             .arg(color.name()));
    auto* layout = new QVBoxLayout(&dialog);
    auto* head = new QLabel("<b>" + ToQt(title).toHtmlEscaped() + "</b>");
    auto* body = new QLabel(ToQt(text));
    body->setWordWrap(true);
    body->setMinimumWidth(320);
    layout->addWidget(head);
    layout->addWidget(body);
    auto* buttons = new QHBoxLayout;
    auto* yes = new QPushButton(question ? QString::fromUtf8("Áno") : QString("OK"));
    QObject::connect(yes, &QPushButton::clicked, &dialog, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(yes);
    if (question) {
        auto* no = new QPushButton(QString::fromUtf8("Nie"));
        QObject::connect(no, &QPushButton::clicked, &dialog, &QDialog::reject);
        buttons->addWidget(no);
    }
    layout->addLayout(buttons);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

void PlainMessages::ShowMessageDialog(const std::string& title, const std::string& text) {
    RunPlainDialog(color, title, text, false);
}

bool PlainMessages::AskQuestion(const std::string& title, const std::string& text) {
    return RunPlainDialog(color, title, text, true);
}

void StoredLevels::SetLevels(int volume, int speed, int intonation) {
    volume_ = std::clamp(volume, 0, 800);
    speed_ = std::clamp(speed, 51, 100);
    intonation_ = std::clamp(intonation, 0, 18);
}

void StoredLevels::ShowSettings() {
    messages_.ShowMessageDialog(Cp("Informácia"),
                                Cp("Okno nastavení v tejto zostave programu ešte nie je."));
}

}  // namespace tamzel::ui
