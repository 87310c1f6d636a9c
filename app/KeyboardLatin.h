// Callsign fields receive Latin letters whatever keyboard layout is active: a Cyrillic
// letter becomes the Latin letter on the same key of a US keyboard (ЙЦУКЕН -> QWERTY),
// and every letter is upper case.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QValidator>

namespace keyboardlatin {

// The text as an upper-case callsign field holds it.
QString toLatinUpper(const QString &text);

// Puts a line edit into that mode, for typed and for programmatic text alike.
void makeUpperCaseLatin(QLineEdit *edit);

} // namespace keyboardlatin

class LatinUpperValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};
