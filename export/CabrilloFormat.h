// The columns of a Cabrillo QSO line, each made from one stored text of a contact.
#pragma once

#include "QsoRecord.h"

#include <QString>

namespace cabrillo {

// Band label in MHz ("1.8", " 7", "14") to kHz, five characters for the contest bands: a
// frequency below 8000 gets one blank in front. Throws ConversionError for a text that is not
// a decimal number ("." separates the decimals; blanks around it are skipped).
QString BandToFreq(const QString &band);
// The two-letter Cabrillo mode; a mode the table does not know (QPSK31, MFSK16, the decoder's
// names) is a digital mode, "DG".
QString ModeToCabrillo(const QString &mode);
// The stored date as "yyyy-mm-dd"; throws ConversionError for a text that is no date.
QString DateToCabrillo(const QString &date);
// The stored "hh:nn" without its third character; the text is not checked.
QString TimeToHHMM(const QString &time);
// The value left-justified in blanks up to width; a longer value is neither padded nor cut.
QString PadToWidth(const QString &value, int width);

// One QSO line: 79 columns when every value fits its field, a longer value shifting the rest.
// The heard station fills the sent group, the worked station the received group. Throws
// ConversionError for a band or date that cannot be converted (the band is tried first).
QString qsoLine(const QsoRecord &record);

} // namespace cabrillo
