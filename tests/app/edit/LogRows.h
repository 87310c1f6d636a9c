// Rows for the deletion and edit-dialog tests: put into the fixture's log before the windows
// start, and read back from the file as another program would see them.
#pragma once

#include "QsoRecord.h"

#include <QList>
#include <QStringList>

class AppFixture;
class TForm1;

// A contact with the fields the tests look at; the others hold plain values.
QsoRecord contact(const QString &call1, const QString &call2, const QString &band = "14",
                  const QString &mode = "CW", const QString &nr2 = "001");

void seed(const AppFixture &fx, const QList<QsoRecord> &rows);

// Every row of table qso in id order, through a connection of its own.
QList<QsoRecord> storedRows(const AppFixture &fx);

// The ten fields beside id, for comparing whole rows.
QStringList fields(const QsoRecord &r);

// The four status-bar panels of the main window, left to right.
QStringList panels(const TForm1 *f);
