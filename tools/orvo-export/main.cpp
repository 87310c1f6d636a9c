// orvo-export: writes the Cabrillo or ADIF file of a log, with the header values of a settings
// file and of the command line, through the same writers as the logger's export windows.
#include "CabrilloHeader.h"
#include "ExportError.h"
#include "LogExport.h"
#include "OptionsIni.h"
#include "OptionsKeys.h"
#include "QsoStore.h"
#include "StoreError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

const QString kProgram = QStringLiteral("orvo-export");

[[noreturn]] void usageError(const QString &text)
{
    std::fprintf(stderr, "%s: %s\nTry %s --help.\n", qPrintable(kProgram), qPrintable(text), qPrintable(kProgram));
    std::exit(2);
}

struct Setting {
    QString tag;
    QString value;
};

QList<Setting> settingsOf(const QStringList &assignments, const QStringList &allowed)
{
    QList<Setting> settings;
    for (const QString &a : assignments) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            usageError(QStringLiteral("--set %1: expected TAG=VALUE").arg(a));
        const Setting s{a.left(eq), a.mid(eq + 1)};
        if (!allowed.contains(s.tag))
            usageError(QStringLiteral("--set %1: unknown tag %2; the tags are %3")
                           .arg(a, s.tag, allowed.join(QStringLiteral(", "))));
        settings << s;
    }
    return settings;
}

QByteArray cabrilloFile(QsoStore &store, const OptionsIni &options, const QList<Setting> &settings)
{
    cabrillo::Header header = cabrillo::stationFromOptions(options);
    header.claimedScore = QString::number(store.score());
    for (const Setting &s : settings)
        cabrillo::setHeaderValue(header, s.tag, s.value);
    return logexport::cabrilloFile(header, store);
}

QByteArray adifFile(QsoStore &store, const OptionsIni &options, const QList<Setting> &settings)
{
    QString call = options.value(optionskeys::kDirectories, optionskeys::kCallsign);
    for (const Setting &s : settings)
        call = s.value;
    return logexport::adifFile(call, store);
}

// The names, comma-separated, in lines of at most 78 columns after an indent of two.
QString wrapped(const QStringList &names)
{
    QString text = QStringLiteral("  ");
    qsizetype column = 2;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString word = names[i] + (i + 1 < names.size() ? QStringLiteral(",") : QString());
        if (column > 2 && column + 1 + word.size() > 78) {
            text += QStringLiteral("\n  ");
            column = 2;
        } else if (column > 2) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += word;
        column += word.size();
    }
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgram);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the Cabrillo or the ADIF file of a log, as the logger's export windows write it.\n"
        "The header values come from the station data in the settings file (section\n"
        "\"Directories\": CALLSIGN, NAME, LOCATION, EMAIL, ADDRESS1 to ADDRESS4, SOAPBOX), then\n"
        "from --set. Cabrillo tags:\n%1\n"
        "CATEGORY-TRANSMITTER starts as SWL, CREATED-BY as \"ORVO log v1.0\", CLAIMED-SCORE as the\n"
        "log's score, the others empty. ADIF takes only CALLSIGN, the operator's call.\n"
        "Exit status: 0 written, 1 the log could not be read or converted or the file not\n"
        "written (the old file is then kept), 2 bad arguments.")
                                         .arg(wrapped(cabrillo::headerValueNames())));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("format"), QStringLiteral("cabrillo or adif"),
                                 QStringLiteral("{cabrillo,adif}"));
    const QCommandLineOption logOption(QStringLiteral("log"), QStringLiteral("The log file (orvocontestlog.mdb)."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The file to write."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption optionsOption(
        QStringLiteral("options"),
        QStringLiteral("The settings file; the program folder's Options.ini when not given (a missing one "
                       "gives empty values)."),
        QStringLiteral("Options.ini"));
    const QCommandLineOption setOption(QStringLiteral("set"),
                                       QStringLiteral("A header value, given again for each tag."),
                                       QStringLiteral("TAG=VALUE"));
    parser.addOptions({logOption, outOption, optionsOption, setOption});
    if (!parser.parse(QCoreApplication::arguments()))
        usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || (positional[0] != QLatin1String("cabrillo") && positional[0] != QLatin1String("adif")))
        usageError(QStringLiteral("give one format, cabrillo or adif"));
    const bool cabrillo = positional[0] == QLatin1String("cabrillo");
    if (!parser.isSet(logOption) || parser.value(logOption).isEmpty())
        usageError(QStringLiteral("--log FILE is missing"));
    if (!parser.isSet(outOption) || parser.value(outOption).isEmpty())
        usageError(QStringLiteral("--out FILE is missing"));
    const QString optionsPath = parser.isSet(optionsOption) ? parser.value(optionsOption) : OptionsIni::defaultPath();
    if (parser.isSet(optionsOption) && !QFileInfo(optionsPath).isFile())
        usageError(QStringLiteral("--options %1: no such file").arg(optionsPath));
    const QList<Setting> settings = settingsOf(
        parser.values(setOption), cabrillo ? cabrillo::headerValueNames() : QStringList{optionskeys::kCallsign});

    try {
        QsoStore store(parser.value(logOption));
        const OptionsIni options(optionsPath);
        const QByteArray content =
            cabrillo ? cabrilloFile(store, options, settings) : adifFile(store, options, settings);
        logexport::save(parser.value(outOption), content,
                        cabrillo ? QStringLiteral("Cabrillo file") : QStringLiteral("ADIF file"));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(kProgram), e.what());
        return 1;
    }
    return 0;
}
