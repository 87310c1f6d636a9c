// Speed of the two exports on a log of 100,000 contacts: walking the table view and building
// the file, and writing it whole.
#include "LogDate.h"
#include "LogExport.h"
#include "QsoStore.h"
#include "QsoTableModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kContacts = 100000;
constexpr int kRuns = 5;

bool fillLog(const QString &path)
{
    QsoStore::createLog(path);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(path);
        ok = db.open() && db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO qso (data, time, QSOBand, call1, rst1, nr1, call2, rst2, nr2, mode) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const QStringList bands{"1.8", "3.5", "7", "14", "21", "28"};
        const QStringList modes{"CW", "SSB", "RTTY", "BPSK31", "MFSK16"};
        const QDate start(2024, 3, 16);
        for (int i = 0; ok && i < kContacts; ++i) {
            const QVariantList values{
                logdate::toText(start.addDays(i / 50000)),
                QStringLiteral("%1:%2").arg(i / 60 % 24, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0')),
                bands[i % bands.size()],
                QStringLiteral("UA%1ABC").arg(i % 10) + QString::number(i),
                QStringLiteral("599"),
                QString::number(i + 1).rightJustified(3, QLatin1Char('0')),
                QStringLiteral("DL%1XYZ").arg(i % 10),
                QStringLiteral("599"),
                i % 7 ? QString::number(i % 999 + 1) : QString(),
                modes[i % modes.size()],
            };
            for (int v = 0; v < values.size(); ++v)
                q.bindValue(v, values[v]);
            ok = q.exec();
        }
        if (!ok)
            std::fprintf(stderr, "cannot fill the log: %s\n", qPrintable(q.lastError().text()));
        ok = ok && db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

double medianMs(const std::function<void()> &work)
{
    QList<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms[kRuns / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("orvocontestlog.mdb"));
    if (!fillLog(log))
        return 1;
    QsoStore store(log);

    cabrillo::Header header;
    header.contest = QStringLiteral("RDXC");
    header.callsign = QStringLiteral("R1-123");
    // The part of either export that reading the table view takes.
    qsizetype fields = 0;
    const double walk = medianMs([&] {
        for (int row = 0; row < store.table().rowCount(); ++row)
            fields += store.table().record(row).call1.size();
    });
    QByteArray cbr;
    QByteArray adi;
    const double cabrilloBuild = medianMs([&] { cbr = logexport::cabrilloFile(header, store); });
    const double cabrilloSave = medianMs([&] { logexport::save(dir.filePath("R1-123.cbr"), cbr, "Cabrillo file"); });
    const double adifBuild = medianMs([&] { adi = logexport::adifFile(QStringLiteral("R1-123"), store); });
    const double adifSave = medianMs([&] { logexport::save(dir.filePath("R1-123.adi"), adi, "ADIF file"); });

    std::printf("%d contacts, median of %d runs\n", kContacts, kRuns);
    std::printf("reading the table view alone: %.0f ms\n", walk);
    std::printf("Cabrillo: walk and build %.0f ms, write %.0f ms (%.1f MB), total %.0f ms\n", cabrilloBuild,
                cabrilloSave, cbr.size() / 1e6, cabrilloBuild + cabrilloSave);
    std::printf("ADIF:     walk and build %.0f ms, write %.0f ms (%.1f MB), total %.0f ms\n", adifBuild, adifSave,
                adi.size() / 1e6, adifBuild + adifSave);
    return fields > 0 ? 0 : 1;
}
