// What a window test stands on: a fresh folder that is both the current directory and the
// program folder, holding an empty log, the report lists and the prefix tables of the build,
// and a private per-user settings store. Then the ten windows, created as at start-up.
#pragma once

#include "Forms.h"

#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class AppFixture {
public:
    // withTables: copy the generated prefix tables and Russia.dom into the folder.
    explicit AppFixture(bool withTables = true);
    ~AppFixture();

    // Creates the windows (the log must be in place: call createLog() or put a file first).
    Forms &start();
    Forms &forms() { return windows_->forms; }
    QString folder() const { return dir_.path(); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    void writeFile(const QString &name, const QByteArray &content) const;

private:
    QTemporaryDir dir_;
    QString previousDir_;
    std::unique_ptr<Windows> windows_;
};

// Answers the next modal message box with button, when it appears, and hands back its text.
// Call before the action that opens the box; the box is answered from the event loop.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(QMessageBox::StandardButton button = QMessageBox::Ok);
    ~MessageBoxAnswer();
    bool answered() const { return answered_; }
    QString text() const { return text_; }

private:
    QMessageBox::StandardButton button_;
    bool answered_ = false;
    QString text_;
    class QTimer *timer_;
};
