// orvo-tables: generates CountryDataEx.xml, Province.xml, UniqueCalls.xml and Russia.dom from a
// Big CTY file and the oblast table.
#include "CtyFile.h"
#include "OblastTable.h"
#include "TableGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvo-tables"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Generates the prefix tables CountryDataEx.xml, Province.xml and UniqueCalls.xml and the\n"
        "oblast list Russia.dom from a Big CTY country file (cty.dat, with cty.csv of the same\n"
        "release for the DXCC numbers) and the table of Russian oblasts."));
    parser.addHelpOption();
    const QCommandLineOption ctyOption(QStringLiteral("cty"), QStringLiteral("The Big CTY file (default %1)."),
                                       QStringLiteral("file"), QStringLiteral("/usr/share/hamradio-files/cty.dat"));
    const QCommandLineOption csvOption(QStringLiteral("cty-csv"),
                                       QStringLiteral("Its cty.csv (default: cty.csv beside the Big CTY file)."),
                                       QStringLiteral("file"));
    const QCommandLineOption oblastOption(
        QStringLiteral("oblasts"), QStringLiteral("The oblast table (default: russian-oblasts.csv in the program's folder)."),
        QStringLiteral("file"));
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("The folder to write the four files to (default: the current one)."),
                                       QStringLiteral("folder"), QStringLiteral("."));
    parser.addOptions({ctyOption, csvOption, oblastOption, outOption});

    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "orvo-tables: %s\nTry orvo-tables --help.\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "orvo-tables: unexpected argument %s\nTry orvo-tables --help.\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }
    const QString datPath = parser.value(ctyOption);
    const QString csvPath = parser.isSet(csvOption) ? parser.value(csvOption)
                                                    : QFileInfo(datPath).dir().filePath(QStringLiteral("cty.csv"));
    const QString oblastPath = parser.isSet(oblastOption)
        ? parser.value(oblastOption)
        : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("russian-oblasts.csv"));
    const QString outFolder = parser.value(outOption);
    if (!QFileInfo(outFolder).isDir()) {
        std::fprintf(stderr, "orvo-tables: the output folder %s does not exist.\n", qPrintable(outFolder));
        return 2;
    }

    try {
        const QList<cty::Entity> entities = cty::readCtyFiles(datPath, csvPath);
        const GeneratedTables tables = generateTables(entities, readOblastTable(oblastPath));
        for (const QString &w : tables.warnings)
            std::fprintf(stderr, "orvo-tables: %s\n", qPrintable(w));
        writeTables(tables, outFolder);
        std::printf("%lld countries, %lld subdivisions, %lld unique calls written to %s\n",
                    qint64(tables.countries.rows.size()), qint64(tables.subdivisions.rows.size()),
                    qint64(tables.uniqueCalls.rows.size()), qPrintable(QDir(outFolder).absolutePath()));
    } catch (const cty::Error &e) {
        std::fprintf(stderr, "orvo-tables: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const adoxml::Error &e) {
        std::fprintf(stderr, "orvo-tables: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
