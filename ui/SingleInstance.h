// One running program per program folder: the first start listens on a local socket named
// after the program and its folder; a second start finds it, asks it to raise its window
// and ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace tamzel::ui {

// The socket name for a program folder (stable, free of path characters).
QString InstanceName(const QString& programFolder);

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    // True when another instance answered (it has been asked to raise its window).
    bool OtherInstanceRaised();
    // Starts listening; `onRaise` runs when a later start knocks.
    bool Listen(std::function<void()> onRaise);

private:
    QString name_;
    QLocalServer server_;
    std::function<void()> onRaise_;
};

}  // namespace tamzel::ui
