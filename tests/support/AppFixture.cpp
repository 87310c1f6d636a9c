#include "AppFixture.h"

#include "ProgramFolder.h"
#include "QsoStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

AppFixture::AppFixture(bool withTables) : previousDir_(QDir::currentPath())
{
    // Window positions of tests must not land in the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
    const QStringList files = withTables
        ? QStringList{"rst59.dat", "rst599.dat", "CountryDataEx.xml", "Province.xml", "UniqueCalls.xml", "Russia.dom"}
        : QStringList{"rst59.dat", "rst599.dat"};
    for (const QString &name : files)
        QFile::copy(QStringLiteral(ORVO_DIST_DIR "/") + name, dir_.filePath(name));
    QDir::setCurrent(dir_.path());
    programfolder::setPath(dir_.path());
    QsoStore::createLog(dir_.filePath(QsoStore::defaultFileName()));
}

AppFixture::~AppFixture()
{
    windows_.reset();
    QDir::setCurrent(previousDir_);
    programfolder::setPath(QString());
}

Forms &AppFixture::start()
{
    windows_ = std::make_unique<Windows>();
    return windows_->forms;
}

void AppFixture::writeFile(const QString &name, const QByteArray &content) const
{
    QFile f(dir_.filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the fixture file %s", qPrintable(name));
    f.write(content);
}

MessageBoxAnswer::MessageBoxAnswer(QMessageBox::StandardButton button)
    : button_(button), timer_(new QTimer)
{
    timer_->setInterval(20);
    QObject::connect(timer_, &QTimer::timeout, [this] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || answered_)
            return;
        answered_ = true;
        text_ = box->text();
        if (QAbstractButton *b = box->button(button_))
            b->click();
        else
            box->reject();
        timer_->stop();
    });
    timer_->start();
}

MessageBoxAnswer::~MessageBoxAnswer()
{
    delete timer_;
}
