// The sections and keys of Options.ini, spelt once for every window that reads or writes them.
#pragma once

#include <QString>

namespace optionskeys {

inline const QString kFileName = QStringLiteral("Options.ini");

// Station data for the Cabrillo header and the operator's own contest data.
inline const QString kDirectories = QStringLiteral("Directories");
inline const QString kCallsign = QStringLiteral("CALLSIGN");
inline const QString kName = QStringLiteral("NAME");
inline const QString kLocation = QStringLiteral("LOCATION");
inline const QString kEmail = QStringLiteral("EMAIL");
inline const QString kAddress[4] = {QStringLiteral("ADDRESS1"), QStringLiteral("ADDRESS2"),
                                    QStringLiteral("ADDRESS3"), QStringLiteral("ADDRESS4")};
inline const QString kSoapbox = QStringLiteral("SOAPBOX");
inline const QString kMyDxccPrefix = QStringLiteral("myDXCCPrefix");
inline const QString kMyCqZone = QStringLiteral("myCQZone");
inline const QString kMyItuZone = QStringLiteral("myITUZone");
inline const QString kMyContinent = QStringLiteral("myContinent");

// The decoder window's palette.
inline const QString kWaterfall = QStringLiteral("Waterfall");
inline const QString kPalette = QStringLiteral("1");

} // namespace optionskeys
