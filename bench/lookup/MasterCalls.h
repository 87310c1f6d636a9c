// The callsigns of MASTER.SCP (Debian hamradio-files), the real calls the lookup is measured on.
#pragma once

#include <QStringList>

QStringList masterCalls(const QString &path = QStringLiteral("/usr/share/hamradio-files/MASTER.SCP"));
