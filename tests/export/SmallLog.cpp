#include "SmallLog.h"

#include "LogDate.h"
#include "QsoStore.h"

namespace smalllog {

namespace {
QsoRecord contact(QDate date, const char *time, const char *band, const char *mode, const char *call1,
                  const char *rst1, const char *nr1, const char *call2, const char *rst2, const char *nr2)
{
    QsoRecord r;
    r.data = logdate::toText(date);
    r.time = QString::fromLatin1(time);
    r.QSOBand = QString::fromLatin1(band);
    r.mode = QString::fromLatin1(mode);
    r.call1 = QString::fromLatin1(call1);
    r.rst1 = QString::fromLatin1(rst1);
    r.nr1 = QString::fromLatin1(nr1);
    r.call2 = QString::fromLatin1(call2);
    r.rst2 = QString::fromLatin1(rst2);
    r.nr2 = QString::fromLatin1(nr2);
    return r;
}
} // namespace

QList<QsoRecord> contacts()
{
    return {
        contact(QDate(2008, 9, 23), "07:11", "28", "CW", "UA1XYZ", "599", "001", "UA2XYZ", "599", "001"),
        contact(QDate(2008, 9, 23), "07:15", " 7", "SSB", "DL1ABC", "59", "012", "OK1XYZ", "57", ""),
        contact(QDate(2008, 9, 24), "23:59", "3.5", "MFSK16", "R9ABC/P", "599", "MOSCOW-CITY", "EA1A", "599",
                "0003"),
    };
}

void fill(QsoStore &store, const QList<QsoRecord> &records)
{
    for (const QsoRecord &r : records)
        store.append(r);
}

void create(const QString &path, const QList<QsoRecord> &records)
{
    QsoStore::createLog(path);
    QsoStore store(path);
    fill(store, records);
}

} // namespace smalllog
