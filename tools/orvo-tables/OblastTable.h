// The table of Russian oblasts (data/russian-oblasts.csv): code, name, DXCC entity, zones and
// the keys under which the logger looks an oblast up.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct Oblast {
    QString code;   // two letters, e.g. "SP"
    QString name;
    QString entity; // the Big CTY entity name: European Russia, Kaliningrad, Asiatic Russia
    int cqZone = 0;
    int ituZone = 0;
    // "UA" + call-area digit + first suffix letter ("UA1A"), or "UA2" for all of Kaliningrad.
    QStringList keys;
    QString notes;
};

// Throws cty::Error naming the file and line when the table cannot be read.
QList<Oblast> readOblastTable(const QString &path);
QList<Oblast> readOblastTable(const QByteArray &data, const QString &fileName);
