#include "ReportList.h"

#include "ProgramFolder.h"

#include <QComboBox>
#include <QFile>
#include <QTextStream>
#include <stdexcept>

namespace reportlist {

QStringList load(const char *fileName)
{
    const QString path = programfolder::file(QString::fromLatin1(fileName));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error(QStringLiteral("Cannot open file %1").arg(path).toStdString());
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd())
        lines.append(in.readLine());
    return lines;
}

void fill(const char *fileName, std::initializer_list<QComboBox *> boxes, const QString &text)
{
    const QStringList lines = load(fileName);
    for (QComboBox *box : boxes) {
        box->clear();
        box->addItems(lines);
    }
    for (QComboBox *box : boxes)
        box->setCurrentText(text);
}

} // namespace reportlist
