#include "CabrilloHeader.h"

#include "ExportText.h"
#include "OptionsIni.h"
#include "OptionsKeys.h"

#include <array>

namespace cabrillo {

namespace {

struct SingleTag {
    const QString &tag;
    QString Header::*value;
};

// The one-value tags in header order; the address lines come between NAME and SOAPBOX.
const std::array<SingleTag, 12> &singleTags()
{
    static const std::array<SingleTag, 12> tags{{
        {tag::kContest, &Header::contest},
        {tag::kCallsign, &Header::callsign},
        {tag::kCategoryOperator, &Header::categoryOperator},
        {tag::kCategoryBand, &Header::categoryBand},
        {tag::kCategoryMode, &Header::categoryMode},
        {tag::kCategoryTransmitter, &Header::categoryTransmitter},
        {tag::kClaimedScore, &Header::claimedScore},
        {tag::kLocation, &Header::location},
        {tag::kCreatedBy, &Header::createdBy},
        {tag::kEmail, &Header::email},
        {tag::kName, &Header::name},
        {tag::kSoapbox, &Header::soapbox},
    }};
    return tags;
}

QString line(const QString &tag, const QString &value)
{
    return tag + QLatin1Char(' ') + exporttext::oneLine(value);
}

QString nameOf(const QString &tag)
{
    return tag.chopped(1);
}

QString addressName(int i)
{
    return nameOf(tag::kAddress) + QString::number(i + 1);
}

} // namespace

QStringList headerLines(const Header &h)
{
    QStringList lines{kStartOfLog};
    for (const SingleTag &t : singleTags()) {
        if (&t.tag == &tag::kSoapbox)
            for (int i = 0; i < kAddressLines; ++i)
                lines << line(tag::kAddress, i < h.address.size() ? h.address[i] : QString());
        if (&t.tag == &tag::kLocation && h.location.isEmpty())
            continue;
        lines << line(t.tag, h.*t.value);
    }
    return lines;
}

bool setHeaderValue(Header &header, const QString &tagName, const QString &value)
{
    for (const SingleTag &t : singleTags()) {
        if (nameOf(t.tag) == tagName) {
            header.*t.value = value;
            return true;
        }
    }
    for (int i = 0; i < kAddressLines; ++i) {
        if (addressName(i) == tagName) {
            while (header.address.size() < kAddressLines)
                header.address << QString();
            header.address[i] = value;
            return true;
        }
    }
    return false;
}

QStringList headerValueNames()
{
    QStringList names;
    for (const SingleTag &t : singleTags()) {
        if (&t.tag == &tag::kSoapbox)
            for (int i = 0; i < kAddressLines; ++i)
                names << addressName(i);
        names << nameOf(t.tag);
    }
    return names;
}

Header stationFromOptions(const OptionsIni &options)
{
    using namespace optionskeys;
    auto read = [&options](const QString &key) { return options.value(kDirectories, key); };
    Header h;
    h.callsign = read(kCallsign);
    h.email = read(kEmail);
    h.name = read(kName);
    h.location = read(kLocation);
    for (const QString &key : kAddress)
        h.address << read(key);
    h.soapbox = read(kSoapbox);
    return h;
}

} // namespace cabrillo
