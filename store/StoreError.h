// Errors of the log store, carrying the text a person reads in the error box.
#pragma once

#include <QString>
#include <stdexcept>

class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString &message) : std::runtime_error(message.toStdString()) {}
};
