// orvo-lookup: the country lookup of the logger on the command line, one call a line.
#include "CountryLookup.h"
#include "LookupCall.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvo-lookup"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads callsigns from standard input, one a line, and prints for each one line of six\n"
        "tab-separated fields: DXCC prefix, country, CQ zone, ITU zone, continent, prefix.\n"
        "Fields nothing places are empty. Portable forms are looked up as the logger looks them\n"
        "up: a call the unique-call table lists is looked up whole; /MM and /AM give no country;\n"
        "/A, /M, /P and similar suffixes are dropped; otherwise the portable prefix (DL/UA1XYZ)\n"
        "or the call area (UA1XYZ/9) decides. The tables CountryDataEx.xml, Province.xml and\n"
        "UniqueCalls.xml are read from the program's folder unless --tables names another."));
    parser.addHelpOption();
    const QCommandLineOption tablesOption(QStringLiteral("tables"),
                                          QStringLiteral("The folder that holds the prefix tables."),
                                          QStringLiteral("folder"), QCoreApplication::applicationDirPath());
    parser.addOption(tablesOption);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "orvo-lookup: %s\nTry orvo-lookup --help.\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "orvo-lookup: unexpected argument %s\nTry orvo-lookup --help.\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }

    CountryLookup lookup;
    for (const QString &problem : lookup.load(parser.value(tablesOption)))
        std::fprintf(stderr, "orvo-lookup: %s\n", qPrintable(problem));

    QTextStream in(stdin);
    QTextStream out(stdout);
    QString line;
    while (in.readLineInto(&line)) {
        QString o[6];
        const QString text = LookupCall(line.trimmed(), lookup);
        if (!text.isEmpty())
            lookup.FindCountry(text, o[0], o[1], o[2], o[3], o[4], o[5]);
        out << o[0] << '\t' << o[1] << '\t' << o[2] << '\t' << o[3] << '\t' << o[4] << '\t' << o[5] << '\n';
    }
    return 0;
}
