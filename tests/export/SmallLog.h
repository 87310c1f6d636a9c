// A small contest log for the export tests: three contacts over three bands and modes, with
// an empty number, a leading-blank band and an exchange longer than its column.
#pragma once

#include "QsoRecord.h"

#include <QList>
#include <QString>

class QsoStore;

namespace smalllog {

QList<QsoRecord> contacts();
// Appends the contacts to the store, in order.
void fill(QsoStore &store, const QList<QsoRecord> &records = contacts());
// Creates a log file at path holding the contacts.
void create(const QString &path, const QList<QsoRecord> &records = contacts());

} // namespace smalllog
