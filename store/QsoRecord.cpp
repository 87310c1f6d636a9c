#include "QsoRecord.h"

#include <array>

namespace {
using Member = QString QsoRecord::*;
constexpr std::array<Member, 11> kMembers{
    &QsoRecord::id,   &QsoRecord::data, &QsoRecord::time, &QsoRecord::QSOBand,
    &QsoRecord::call1, &QsoRecord::rst1, &QsoRecord::nr1,  &QsoRecord::call2,
    &QsoRecord::rst2, &QsoRecord::nr2,  &QsoRecord::mode,
};
} // namespace

const QStringList &QsoRecord::fieldNames()
{
    static const QStringList names{"id",   "data", "time", "QSOBand", "call1", "rst1",
                                   "nr1",  "call2", "rst2", "nr2",    "mode"};
    return names;
}

int QsoRecord::fieldIndex(const QString &name)
{
    return int(fieldNames().indexOf(name));
}

const QString &QsoRecord::field(int index) const
{
    return this->*kMembers.at(std::size_t(index));
}

void QsoRecord::setField(int index, const QString &value)
{
    this->*kMembers.at(std::size_t(index)) = value;
}
