// Options.ini: the settings file in the program's folder. Read a key with a default, write a
// set of keys in order; a write rewrites the whole file through a temporary file, so a failed
// write leaves the old file as it was, and keeps the sections, keys and comments it does not
// touch. Text is UTF-8.
#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <stdexcept>
#include <utility>

class OptionsError : public std::runtime_error {
public:
    explicit OptionsError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

class OptionsIni {
public:
    using Keys = QList<std::pair<QString, QString>>;

    // programfolder::file("Options.ini"): every window builds the same path.
    static QString defaultPath();

    // Reads the file as it is now; a missing file reads as empty. The object is meant to live
    // within one handler: other windows change the file at other moments.
    explicit OptionsIni(const QString &path = defaultPath());
    ~OptionsIni();
    OptionsIni(const OptionsIni &) = delete;
    OptionsIni &operator=(const OptionsIni &) = delete;

    const QString &path() const { return path_; }

    // Sections and keys are matched without regard to case, as INI files are.
    bool contains(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &fallback = QString()) const;

    // Sets the keys of one section in the order given (a key the section lacks is added at its
    // end, a missing section at the end of the file) and saves the file. A value is one line:
    // a line break inside it becomes a blank. Throws OptionsError "Unable to write to <path>:
    // <reason>"; the file is then untouched.
    void write(const QString &section, const Keys &keys);

private:
    void save();

    QString path_;
    // Why the existing file could not be read; writing over it would lose it.
    QString readError_;
    // Comment lines after the last key: SimpleIni keeps only comments that precede an entry.
    QByteArray trailingComments_;
    struct Data;
    std::unique_ptr<Data> d_;
};
