// The header of a Cabrillo log: its tags, the values the operator gives them, and the lines
// they make. The window's labels show the same tags.
#pragma once

#include <QString>
#include <QStringList>

class OptionsIni;

namespace cabrillo {

inline const QString kStartOfLog = QStringLiteral("START-OF-LOG: 3.0");
inline const QString kEndOfLog = QStringLiteral("END-OF-LOG:");

namespace tag {
inline const QString kContest = QStringLiteral("CONTEST:");
inline const QString kCallsign = QStringLiteral("CALLSIGN:");
inline const QString kCategoryOperator = QStringLiteral("CATEGORY-OPERATOR:");
inline const QString kCategoryBand = QStringLiteral("CATEGORY-BAND:");
inline const QString kCategoryMode = QStringLiteral("CATEGORY-MODE:");
inline const QString kCategoryTransmitter = QStringLiteral("CATEGORY-TRANSMITTER:");
inline const QString kClaimedScore = QStringLiteral("CLAIMED-SCORE:");
inline const QString kLocation = QStringLiteral("LOCATION:");
inline const QString kCreatedBy = QStringLiteral("CREATED-BY:");
inline const QString kEmail = QStringLiteral("EMAIL:");
inline const QString kName = QStringLiteral("NAME:");
inline const QString kAddress = QStringLiteral("ADDRESS:");
inline const QString kSoapbox = QStringLiteral("SOAPBOX:");
} // namespace tag

// Four ADDRESS lines are written, whatever the address holds.
constexpr int kAddressLines = 4;

// The values start as the window's fields start.
struct Header {
    QString contest;
    QString callsign;
    QString categoryOperator;
    QString categoryBand;
    QString categoryMode;
    QString categoryTransmitter = QStringLiteral("SWL");
    QString claimedScore = QStringLiteral("0");
    QString location;
    QString createdBy = QStringLiteral("ORVO log v1.0");
    QString email;
    QString name;
    QStringList address;
    QString soapbox;
};

// "START-OF-LOG: 3.0", then one line per tag: the tag, one blank and the value untrimmed.
// LOCATION only when it is not empty; four ADDRESS lines, a missing one empty. A line break
// inside a value becomes a blank.
QStringList headerLines(const Header &header);

// Sets the value of a tag named without its colon ("CONTEST", "CLAIMED-SCORE"); the address
// lines are ADDRESS1 to ADDRESS4. False for a name that is no tag of the header.
bool setHeaderValue(Header &header, const QString &tagName, const QString &value);
// The names setHeaderValue takes, in header order.
QStringList headerValueNames();

// The station data of the settings file: CALLSIGN, EMAIL, NAME, LOCATION, ADDRESS1 to
// ADDRESS4 and SOAPBOX of section "Directories"; the other values as a new header has them.
Header stationFromOptions(const OptionsIni &options);

} // namespace cabrillo
