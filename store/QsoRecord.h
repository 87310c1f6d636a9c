// One logged contact as the log keeps it: every field a text.
#pragma once

#include <QString>
#include <QStringList>

struct QsoRecord {
    QString id;
    QString data;    // local date in the log's date format
    QString time;    // UTC "hh:mm"
    QString QSOBand;
    QString call1;
    QString rst1;
    QString nr1;
    QString call2;
    QString rst2;
    QString nr2;
    QString mode;

    // The columns of table qso, in table order; field(i) and setField(i) follow it.
    static const QStringList &fieldNames();
    static int fieldIndex(const QString &name);
    const QString &field(int index) const;
    void setField(int index, const QString &value);
};
