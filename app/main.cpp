// The ORVO Contest Logger: creates the log on request, or opens it and runs the windows.
#include "ErrorDisplay.h"
#include "Forms.h"
#include "Log.h"
#include "QsoStore.h"
#include "StoreError.h"

#include <QDir>
#include <QMessageBox>
#include <QStyleFactory>
#include <cstdio>

namespace {

const char *const kUsage =
    "Usage: orvo [--create-log | --help]\n"
    "  (no option)    open orvocontestlog.mdb in the current directory and run the logger\n"
    "  --create-log   create an empty orvocontestlog.mdb in the current directory if none\n"
    "                 exists; an existing log is left as it is\n";

int createLog()
{
    const QString path = QsoStore::defaultFileName();
    try {
        if (QsoStore::createLog(path))
            std::printf("Created an empty log %s in %s\n", qPrintable(path), qPrintable(QDir::currentPath()));
        else
            std::printf("The log %s in %s already exists; left as it is\n", qPrintable(path),
                        qPrintable(QDir::currentPath()));
        return 0;
    } catch (const StoreError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (argc == 2) {
        const QString option = QString::fromLocal8Bit(argv[1]);
        if (option == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (option != QLatin1String("--create-log")) {
            std::fprintf(stderr, "orvo: unknown option %s\n%s", argv[1], kUsage);
            return 2;
        }
        QCoreApplication app(argc, argv);
        return createLog();
    }

    GuardedApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("ORVO"));
    QApplication::setApplicationName(QStringLiteral("ORVO Contest Logger"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    std::unique_ptr<Windows> windows;
    try {
        windows = std::make_unique<Windows>();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("ORVO Contest Logger v1.1"), QString::fromUtf8(e.what()));
        return 1;
    }
    windows->forms.Form1->show();
    return app.exec();
}
