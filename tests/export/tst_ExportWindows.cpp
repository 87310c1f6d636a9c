// The Cabrillo and ADIF windows driven as the operator drives them: fields from the settings
// on every showing, the preview, saving, and a contact that stops the export.
#include "ADIF.h"
#include "AppFixture.h"
#include "Cabrillo.h"
#include "Log.h"
#include "QsoStore.h"
#include "SmallLog.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QByteArray kOptions = "[Directories]\nCALLSIGN=R1-123\nEMAIL=swl@example.org\nNAME=Ivan Petrov\n"
                            "LOCATION=RU\nADDRESS1=Nevsky 1\nADDRESS2=St Petersburg\nSOAPBOX=TNX\n";

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QStringList lines(const QPlainTextEdit *box)
{
    return box->toPlainText().split(QLatin1Char('\n'));
}

} // namespace

class ExportWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void cabrilloShowsSettingsAndScore();
    void cabrilloRefillsOnEveryShowing();
    void cabrilloTest();
    void cabrilloTestOnEmptyLog();
    void cabrilloSave();
    void cabrilloStopsOnBadContact();
    void cabrilloRefusesSlashInCallsign();
    void adifShowsCallsign();
    void adifSave();
    void adifStopsOnBadDate();
};

void ExportWindowsTest::cabrilloShowsSettingsAndScore()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    smalllog::fill(f.Form1->store());
    f.Form1->UpdateScore();
    TForm3 *w = f.Form3;
    QCOMPARE(w->windowTitle(), QString("Cabrillo"));
    QCOMPARE(w->size(), QSize(790, 644));
    w->show();
    QCOMPARE(w->Edit2->text(), QString("R1-123"));
    QCOMPARE(w->Edit3->text(), QString("7"));
    QCOMPARE(w->Edit7->text(), QString("swl@example.org"));
    QCOMPARE(w->Edit5->text(), QString("Ivan Petrov"));
    QCOMPARE(w->Edit8->text(), QString("RU"));
    QCOMPARE(lines(w->Memo2), (QStringList{"Nevsky 1", "St Petersburg", "", ""}));
    QCOMPARE(w->Edit13->text(), QString("TNX"));
    // The fields the settings do not fill start as a new log's header.
    QCOMPARE(w->Edit1->text(), QString());
    QCOMPARE(w->ComboBox4->currentText(), QString());
    QCOMPARE(w->ComboBox4->count(), 4);
    QCOMPARE(w->ComboBox1->count(), 7);
    QCOMPARE(w->ComboBox2->count(), 4);
    QCOMPARE(w->Edit12->text(), QString("SWL"));
    QCOMPARE(w->Edit9->text(), QString("ORVO log v1.0"));
    QVERIFY(!w->Edit9->isEnabled());
    QCOMPARE(w->Memo4->toPlainText(), QString("START-OF-LOG: 3.0"));
    QCOMPARE(lines(w->Memo1).size(), 5);
    for (const QString &line : lines(w->Memo1))
        QCOMPARE(line.size(), 79);
    const QStringList captions = [&] {
        QStringList c;
        for (const QLabel *l : w->findChildren<QLabel *>())
            c << l->text();
        return c;
    }();
    for (const char *tag : {"CONTEST:", "CALLSIGN:", "CATEGORY-OPERATOR:", "CATEGORY-BAND:", "CATEGORY-MODE:",
                            "CATEGORY-TRANSMITTER:", "CLAIMED-SCORE:", "CREATED-BY:", "EMAIL:", "NAME:",
                            "ADDRESS:", "LOCATION:", "SOAPBOX:"})
        QVERIFY2(captions.contains(tag), tag);
}

void ExportWindowsTest::cabrilloRefillsOnEveryShowing()
{
    AppFixture fx;
    Forms &f = fx.start();
    // The main window's first display puts the score into its status bar.
    f.Form1->show();
    TForm3 *w = f.Form3;
    w->show();
    QCOMPARE(w->Edit2->text(), QString());
    QCOMPARE(w->Edit3->text(), QString("0"));
    w->Edit1->setText("RDXC");
    w->ComboBox1->setEditText("40M");
    w->Edit2->setText("TYPED");
    w->close();

    fx.writeFile("Options.ini", "[Directories]\nCALLSIGN=UA1NEW\nADDRESS1=a\nADDRESS2=b\nADDRESS3=c\nADDRESS4=d\n");
    smalllog::fill(f.Form1->store());
    f.Form1->UpdateScore();
    w->show();
    QCOMPARE(w->Edit2->text(), QString("UA1NEW"));
    QCOMPARE(w->Edit3->text(), QString("7"));
    QCOMPARE(lines(w->Memo2), (QStringList{"a", "b", "c", "d"}));
    QCOMPARE(w->Edit1->text(), QString("RDXC"));
    QCOMPARE(w->ComboBox1->currentText(), QString("40M"));
}

void ExportWindowsTest::cabrilloTest()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    smalllog::fill(f.Form1->store());
    f.Form1->UpdateScore();
    f.Form1->store().setCurrentRow(1);
    TForm3 *w = f.Form3;
    w->show();
    w->Edit1->setText("RDXC");
    w->ComboBox4->setCurrentIndex(0);
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    QCOMPARE(lines(w->Memo4),
             (QStringList{"START-OF-LOG: 3.0", "CONTEST: RDXC", "CALLSIGN: R1-123", "CATEGORY-OPERATOR: SINGLE-OP",
                          "CATEGORY-BAND: ", "CATEGORY-MODE: ", "CATEGORY-TRANSMITTER: SWL", "CLAIMED-SCORE: 7",
                          "LOCATION: RU", "CREATED-BY: ORVO log v1.0", "EMAIL: swl@example.org",
                          "NAME: Ivan Petrov", "ADDRESS: Nevsky 1", "ADDRESS: St Petersburg", "ADDRESS: ",
                          "ADDRESS: ", "SOAPBOX: TNX",
                          "QSO:  7000 PH 2008-09-23 0715 DL1ABC        59  012    OK1XYZ        57        ",
                          "END-OF-LOG:"}));
    QCOMPARE(f.Form1->store().currentRow(), 1);
    QVERIFY(!QFile::exists(fx.file("R1-123.cbr")));
    // Closing puts the preview back.
    w->close();
    QCOMPARE(w->Memo4->toPlainText(), QString("START-OF-LOG: 3.0"));
}

void ExportWindowsTest::cabrilloTestOnEmptyLog()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    TForm3 *w = f.Form3;
    w->show();
    MessageBoxAnswer answer;
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    QVERIFY(answer.answered());
    QVERIFY2(answer.text().contains("empty"), qPrintable(answer.text()));
    QCOMPARE(lines(w->Memo4).last(), QString("SOAPBOX: TNX"));
}

void ExportWindowsTest::cabrilloSave()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    smalllog::fill(f.Form1->store());
    f.Form1->UpdateScore();
    f.Form1->store().setCurrentRow(0);
    TForm3 *w = f.Form3;
    w->show();
    w->Edit1->setText("RDXC");
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    QTest::mouseClick(w->BitBtn2, Qt::LeftButton);

    const QByteArray cbr = contents(fx.file("R1-123.cbr"));
    QVERIFY2(cbr.startsWith("START-OF-LOG: 3.0\r\nCONTEST: RDXC\r\nCALLSIGN: R1-123\r\n"), cbr.constData());
    QVERIFY(cbr.contains("\r\nQSO: 28000 CW 2008-09-23 0711 UA1XYZ "));
    QVERIFY(cbr.contains("\r\nQSO:  3500 DG 2008-09-24 2359 R9ABC/P "));
    QVERIFY(cbr.endsWith("\r\nEND-OF-LOG:\r\n"));
    QCOMPARE(cbr.count("\r\n"), 17 + 3 + 1);
    QVERIFY(!w->isVisible());
    QCOMPARE(w->Memo4->toPlainText(), QString("START-OF-LOG: 3.0"));
    QCOMPARE(f.Form1->store().currentRow(), 2);

    // A second save replaces the file.
    w->show();
    w->Edit1->setText("CQWW");
    QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
    QVERIFY(contents(fx.file("R1-123.cbr")).contains("\r\nCONTEST: CQWW\r\n"));
}

void ExportWindowsTest::cabrilloStopsOnBadContact()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    QList<QsoRecord> contacts = smalllog::contacts();
    contacts[1].QSOBand = "40M";
    smalllog::fill(f.Form1->store(), contacts);
    f.Form1->store().setCurrentRow(0);
    TForm3 *w = f.Form3;
    w->show();
    MessageBoxAnswer answer;
    QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
    QVERIFY(answer.answered());
    for (const QString &part : {contacts[1].data, QString("07:15"), QString("DL1ABC"), QString("40M")})
        QVERIFY2(answer.text().contains(part), qPrintable(answer.text()));
    QVERIFY(!QFile::exists(fx.file("R1-123.cbr")));
    QVERIFY(w->isVisible());
    QCOMPARE(f.Form1->store().currentRow(), 1);
}

void ExportWindowsTest::cabrilloRefusesSlashInCallsign()
{
    AppFixture fx;
    Forms &f = fx.start();
    smalllog::fill(f.Form1->store());
    TForm3 *w = f.Form3;
    w->show();
    w->Edit2->setText("DL/R1-123");
    MessageBoxAnswer answer;
    QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
    QVERIFY(answer.answered());
    QVERIFY2(answer.text().contains("DL/R1-123"), qPrintable(answer.text()));
    QVERIFY(w->isVisible());
    QVERIFY(!QFile::exists(fx.file("DL")));
}

void ExportWindowsTest::adifShowsCallsign()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    TForm5 *w = f.Form5;
    QCOMPARE(w->windowTitle(), QString("ADIF"));
    QCOMPARE(w->size(), QSize(195, 121));
    QCOMPARE(w->Label1->text(), QString("Your Call"));
    QCOMPARE(w->Button1->text(), QString("Save ADIF"));
    w->show();
    QCOMPARE(w->Edit1->text(), QString("R1-123"));
    w->Edit1->setText("TYPED");
    w->close();
    fx.writeFile("Options.ini", "[Directories]\nCALLSIGN=UA1NEW\n");
    w->show();
    QCOMPARE(w->Edit1->text(), QString("UA1NEW"));
}

void ExportWindowsTest::adifSave()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    smalllog::fill(f.Form1->store());
    f.Form1->store().setCurrentRow(0);
    TForm5 *w = f.Form5;
    w->show();
    w->Edit1->setText("R1-123 ");
    QTest::mouseClick(w->Button1, Qt::LeftButton);
    const QByteArray adi = contents(fx.file("R1-123 .adi"));
    QVERIFY2(adi.startsWith("<PROGRAMID:8>ORVO log\r\n<PROGRAMVERSION:3>1.0\r\n<ADIF_VER:3>2.0\r\n<EOH>\r\n"
                            "<OPERATOR:7>R1-123 <CALL:6>UA1XYZ<QSO_DATE:8>20080923"),
             adi.constData());
    QCOMPARE(adi.count("<EOR>\r\n"), 3);
    QVERIFY(!w->isVisible());
    QCOMPARE(f.Form1->store().currentRow(), 2);

    w->show();
    w->Edit1->clear();
    QTest::mouseClick(w->Button1, Qt::LeftButton);
    QVERIFY(contents(fx.file(".adi")).contains("<EOH>\r\n<OPERATOR:0><CALL:6>UA1XYZ"));
}

void ExportWindowsTest::adifStopsOnBadDate()
{
    AppFixture fx;
    fx.writeFile("Options.ini", kOptions);
    Forms &f = fx.start();
    QList<QsoRecord> contacts = smalllog::contacts();
    contacts[2].data = "someday";
    smalllog::fill(f.Form1->store(), contacts);
    f.Form1->store().setCurrentRow(0);
    TForm5 *w = f.Form5;
    w->show();
    MessageBoxAnswer answer;
    QTest::mouseClick(w->Button1, Qt::LeftButton);
    QVERIFY(answer.answered());
    for (const char *part : {"someday", "23:59", "R9ABC/P"})
        QVERIFY2(answer.text().contains(part), qPrintable(answer.text()));
    QVERIFY(!QFile::exists(fx.file("R1-123.adi")));
    QVERIFY(w->isVisible());
    QCOMPARE(f.Form1->store().currentRow(), 2);
}

QTEST_MAIN(ExportWindowsTest)
#include "tst_ExportWindows.moc"
