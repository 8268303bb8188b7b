#include "ui/FallbackPorts.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "ui/Text.h"

namespace tamzel::ui {
namespace {

// Builds the plain dialog; a question gets "Áno" and "Nie", a message "OK".
QDialog* PlainDialog(const QColor& color, const std::string& title, const std::string& text,
                     bool question) {
    std::fprintf(stderr, "%s: %s\n", ToQt(title).toLocal8Bit().constData(),
                 ToQt(text).toLocal8Bit().constData());
    auto* dialog = new QDialog(nullptr, Qt::FramelessWindowHint | Qt::Dialog |
                                            Qt::WindowStaysOnTopHint);
    dialog->setWindowTitle(QString::fromUtf8("Tamzel – ") + ToQt(title));
    QDialog& d = *dialog;
    d.setStyleSheet(QString("QDialog { background: %1; border: 1px solid #404040; }")
                             .arg(color.name()));
    auto* layout = new QVBoxLayout(&d);
    auto* head = new QLabel("<b>" + ToQt(title).toHtmlEscaped() + "</b>");
    auto* body = new QLabel(ToQt(text));
    body->setWordWrap(true);
    body->setMinimumWidth(320);
    layout->addWidget(head);
    layout->addWidget(body);
    auto* buttons = new QHBoxLayout;
    auto* yes = new QPushButton(question ? QString::fromUtf8("Áno") : QString("OK"));
    QObject::connect(yes, &QPushButton::clicked, &d, &QDialog::accept);
    buttons->addStretch();
    buttons->addWidget(yes);
    if (question) {
        auto* no = new QPushButton(QString::fromUtf8("Nie"));
        QObject::connect(no, &QPushButton::clicked, &d, &QDialog::reject);
        buttons->addWidget(no);
    }
    layout->addLayout(buttons);
    return dialog;
}

bool HasScreen() { return qApp && QGuiApplication::platformName() != "offscreen"; }

}  // namespace

// A message does not wait: the dialog stays up until its button is pressed.
void PlainMessages::ShowMessageDialog(const std::string& title, const std::string& text) {
    if (!HasScreen()) {
        std::fprintf(stderr, "%s: %s\n", ToQt(title).toLocal8Bit().constData(),
                     ToQt(text).toLocal8Bit().constData());
        return;
    }
    QDialog* dialog = PlainDialog(color, title, text, false);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

bool PlainMessages::AskQuestion(const std::string& title, const std::string& text) {
    if (!HasScreen()) return false;
    std::unique_ptr<QDialog> dialog(PlainDialog(color, title, text, true));
    return dialog->exec() == QDialog::Accepted;
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
