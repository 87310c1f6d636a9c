// Options.ini: reading with defaults, writing keys in order, keeping what a write does not touch.
#include "FileSizeLimit.h"
#include "OptionsIni.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QByteArrayList nonBlankLines(const QByteArray &text)
{
    QByteArrayList lines;
    for (const QByteArray &line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            lines << line;
    return lines;
}

void put(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

} // namespace

class OptionsIniTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFileReadsEmpty();
    void pathIsTheProgramFolders();
    void newFileHoldsKeysInOrder();
    void existingFileKeepsTheRest();
    void onlyCommentsKept();
    void keysMatchWithoutCase();
    void valuesStayOneLine();
    void utf8RoundTrip();
    void writeFailures_data();
    void writeFailures();
    void failedWriteLeavesOldFile();

private:
    QTemporaryDir dir_;
    QString path_;
};

void OptionsIniTest::init()
{
    path_ = dir_.filePath(QStringLiteral("Options.ini"));
    QFile::remove(path_);
}

void OptionsIniTest::missingFileReadsEmpty()
{
    const OptionsIni ini(path_);
    QCOMPARE(ini.value("Directories", "CALLSIGN"), QString());
    QVERIFY(ini.value("Directories", "CALLSIGN").isEmpty());
    QVERIFY(!ini.contains("Directories", "CALLSIGN"));
    QCOMPARE(ini.value("Waterfall", "1", "unchanged"), QString("unchanged"));
}

void OptionsIniTest::pathIsTheProgramFolders()
{
    programfolder::setPath(dir_.path());
    QCOMPARE(OptionsIni::defaultPath(), QDir(dir_.path()).absoluteFilePath("Options.ini"));
    programfolder::setPath(QString());
}

void OptionsIniTest::newFileHoldsKeysInOrder()
{
    OptionsIni ini(path_);
    ini.write("Directories", {{"CALLSIGN", "R1-123"}, {"EMAIL", ""}, {"NAME", "Ivan"}});
    QCOMPARE(contents(path_), QByteArray("[Directories]\nCALLSIGN=R1-123\nEMAIL=\nNAME=Ivan\n"));
    const OptionsIni again(path_);
    QCOMPARE(again.value("Directories", "NAME"), QString("Ivan"));
    QVERIFY(again.contains("Directories", "EMAIL"));
}

void OptionsIniTest::existingFileKeepsTheRest()
{
    put(path_, "; station settings\r\n"
               "\r\n"
               "[Waterfall]\r\n"
               "1=10\r\n"
               "\r\n"
               "; the station\r\n"
               "[Directories]\r\n"
               "NAME=Old\r\n"
               "; kept with its key\r\n"
               "EXTRA=stays\r\n"
               "CALLSIGN=OLD\r\n"
               "; last words\r\n"
               "# and more\r\n");
    OptionsIni ini(path_);
    ini.write("Directories", {{"CALLSIGN", "NEW"}, {"EMAIL", "e@x"}});
    // SimpleIni lays out the blank lines its own way; every other line stays, in its order.
    QCOMPARE(nonBlankLines(contents(path_)),
             (QByteArrayList{"; station settings", "[Waterfall]", "1=10", "; the station", "[Directories]",
                             "NAME=Old", "; kept with its key", "EXTRA=stays", "CALLSIGN=NEW", "EMAIL=e@x",
                             "; last words", "# and more"}));
    // Writing again changes nothing but the values.
    OptionsIni(path_).write("Directories", {{"CALLSIGN", "NEW"}, {"EMAIL", "e@x"}});
    const QByteArray once = contents(path_);
    OptionsIni(path_).write("Directories", {{"CALLSIGN", "NEW"}, {"EMAIL", "e@x"}});
    QCOMPARE(contents(path_), once);
    QCOMPARE(OptionsIni(path_).value("Waterfall", "1"), QString("10"));
}

void OptionsIniTest::onlyCommentsKept()
{
    put(path_, "; first\n; block\n\n; second block\n");
    OptionsIni(path_).write("Directories", {{"CALLSIGN", "X"}});
    const QByteArray text = contents(path_);
    QVERIFY2(text.startsWith("; first\n; block\n"), text.constData());
    QVERIFY2(text.contains("[Directories]\nCALLSIGN=X\n"), text.constData());
    QCOMPARE(text.count("; second block"), 1);
    QCOMPARE(text.count("; first"), 1);
}

void OptionsIniTest::keysMatchWithoutCase()
{
    put(path_, "[directories]\ncallsign=old\n");
    OptionsIni(path_).write("Directories", {{"CALLSIGN", "new"}});
    QCOMPARE(contents(path_), QByteArray("[directories]\ncallsign=new\n"));
    QCOMPARE(OptionsIni(path_).value("DIRECTORIES", "CallSign"), QString("new"));
}

void OptionsIniTest::valuesStayOneLine()
{
    OptionsIni(path_).write("Directories", {{"SOAPBOX", "a\r\nb\nc\rd"}, {"NAME", "after"}});
    QCOMPARE(contents(path_), QByteArray("[Directories]\nSOAPBOX=a b c d\nNAME=after\n"));
}

void OptionsIniTest::utf8RoundTrip()
{
    const QString name = QString::fromUtf8("Иван \"Ваня\" Петров");
    const QString long10k(10000, QLatin1Char('x'));
    OptionsIni(path_).write("Directories", {{"NAME", name}, {"SOAPBOX", long10k}});
    QVERIFY(contents(path_).contains(name.toUtf8()));
    const OptionsIni ini(path_);
    QCOMPARE(ini.value("Directories", "NAME"), name);
    QCOMPARE(ini.value("Directories", "SOAPBOX"), long10k);
}

void OptionsIniTest::writeFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no such folder") << dir_.filePath("missing/Options.ini") << "";
    QTest::newRow("the file is a folder") << dir_.filePath("folder.ini") << "it is a folder";
}

void OptionsIniTest::writeFailures()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QDir(dir_.path()).mkdir("folder.ini");
    OptionsIni ini(path);
    try {
        ini.write("Directories", {{"CALLSIGN", "X"}});
        QFAIL("the write did not fail");
    } catch (const OptionsError &e) {
        const QString message = QString::fromUtf8(e.what());
        const QString start = QStringLiteral("Unable to write to %1: ").arg(QDir::toNativeSeparators(path));
        QVERIFY2(message.startsWith(start), qPrintable(message));
        QVERIFY2(message.size() > start.size(), "no reason given");
        QVERIFY2(message.endsWith(reason), qPrintable(message));
    }
}

void OptionsIniTest::failedWriteLeavesOldFile()
{
    const QByteArray old("[Directories]\nCALLSIGN=OLD\n");
    put(path_, old);
    {
        FileSizeLimit limit(100);
        OptionsIni ini(path_);
        QVERIFY_THROWS_EXCEPTION(OptionsError, ini.write("Directories", {{"SOAPBOX", QString(5000, 'x')}}));
    }
    QCOMPARE(contents(path_), old);
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Options.ini"});
}

QTEST_GUILESS_MAIN(OptionsIniTest)
#include "tst_OptionsIni.moc"
