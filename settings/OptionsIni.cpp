#include "OptionsIni.h"

#include "OptionsKeys.h"
#include "ProgramFolder.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SimpleIni.h>

struct OptionsIni::Data {
    // UTF-8 store, one value per key, single-line values.
    CSimpleIniA ini{true, false, false};
};

namespace {

bool isComment(const QByteArray &line)
{
    return !line.isEmpty() && (line.front() == ';' || line.front() == '#');
}

// The comment lines that follow the last entry of the file. SimpleIni attaches a comment to
// the section or key after it, and drops one that nothing follows; these are kept aside and
// written back at the end.
QByteArray trailingComments(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    qsizetype start = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray t = lines[i].trimmed();
        if (!t.isEmpty() && !isComment(t))
            start = i + 1;
    }
    if (start < 0) {
        // No entry at all: the comment block at the very top is SimpleIni's file comment.
        start = 0;
        while (start < lines.size() && isComment(lines[start]))
            ++start;
    }
    QByteArray tail;
    bool anyComment = false;
    for (qsizetype i = start; i < lines.size(); ++i) {
        const QByteArray t = lines[i].trimmed();
        if (t.isEmpty() && !anyComment)
            continue;
        anyComment = anyComment || isComment(t);
        tail += lines[i] + '\n';
    }
    while (tail.endsWith("\n\n"))
        tail.chop(1);
    return anyComment ? tail : QByteArray();
}

QByteArray oneLine(const QString &value)
{
    QString v = value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v.toUtf8();
}

} // namespace

QString OptionsIni::defaultPath()
{
    return programfolder::file(optionskeys::kFileName);
}

OptionsIni::OptionsIni(const QString &path)
    : path_(QFileInfo(path).absoluteFilePath()), d_(std::make_unique<Data>())
{
    d_->ini.SetSpaces(false);
    QFile file(path_);
    if (!file.exists())
        return;
    if (QFileInfo(path_).isDir()) {
        readError_ = QStringLiteral("it is a folder");
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        readError_ = QStringLiteral("the file cannot be read (%1)").arg(file.errorString());
        return;
    }
    QByteArray text = file.readAll();
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    if (d_->ini.LoadData(text.constData(), size_t(text.size())) < 0) {
        readError_ = QStringLiteral("the file cannot be read");
        return;
    }
    trailingComments_ = trailingComments(text);
}

OptionsIni::~OptionsIni() = default;

bool OptionsIni::contains(const QString &section, const QString &key) const
{
    return d_->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr) != nullptr;
}

QString OptionsIni::value(const QString &section, const QString &key, const QString &fallback) const
{
    const char *v = d_->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    return v ? QString::fromUtf8(v) : fallback;
}

void OptionsIni::write(const QString &section, const Keys &keys)
{
    if (!readError_.isEmpty())
        throw OptionsError(QStringLiteral("Unable to write to %1: %2").arg(QDir::toNativeSeparators(path_), readError_));
    const QByteArray sectionName = section.toUtf8();
    for (const auto &[key, value] : keys) {
        if (d_->ini.SetValue(sectionName.constData(), key.toUtf8().constData(), oneLine(value).constData()) < 0)
            throw OptionsError(QStringLiteral("Unable to write to %1: out of memory").arg(QDir::toNativeSeparators(path_)));
    }
    save();
}

void OptionsIni::save()
{
    std::string text;
    if (d_->ini.Save(text, false) < 0)
        throw OptionsError(QStringLiteral("Unable to write to %1: the settings cannot be composed")
                               .arg(QDir::toNativeSeparators(path_)));
    QByteArray bytes = QByteArray::fromStdString(text);
    if (!trailingComments_.isEmpty())
        bytes += (bytes.isEmpty() ? QByteArray() : QByteArray("\n")) + trailingComments_;
    const QString failure = wholefile::write(path_, bytes);
    if (!failure.isEmpty())
        throw OptionsError(QStringLiteral("Unable to write to %1: %2").arg(QDir::toNativeSeparators(path_), failure));
}
