// What stops an export: a stored value that cannot be converted, a contact that holds one,
// or a file that cannot be written. Each carries the text the operator reads.
#pragma once

#include <QString>
#include <stdexcept>

// A conversion of one stored value that failed; the text says which value and why.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &reason) : std::runtime_error(reason.toStdString()) {}
};

class ExportError : public std::runtime_error {
public:
    // row: the table row of the contact that stopped the export, -1 when no contact is to blame.
    explicit ExportError(const QString &message, int row = -1)
        : std::runtime_error(message.toStdString()), row_(row)
    {
    }
    int row() const { return row_; }

private:
    int row_;
};
