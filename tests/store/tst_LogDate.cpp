// Dates keep their century, and the forms other programs write are read too.
#include "LogDate.h"

#include <QTest>

class LogDateTest : public QObject {
    Q_OBJECT
private slots:
    void formatHasAFourDigitYear()
    {
        QVERIFY(logdate::format().contains("yyyy"));
        QVERIFY(!logdate::format().contains("yyyyyy"));
    }

    void roundTrip()
    {
        const QDate d(2026, 12, 11);
        QCOMPARE(logdate::fromText(logdate::toText(d)), d);
        QCOMPARE(logdate::fromText(logdate::toText(QDate(1999, 1, 2))), QDate(1999, 1, 2));
    }

    void otherForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("iso") << "2008-09-23" << QDate(2008, 9, 23);
        QTest::newRow("day.month.year") << "23.09.2008" << QDate(2008, 9, 23);
        QTest::newRow("with a time part") << "23.09.2008 07:11:00" << QDate(2008, 9, 23);
        QTest::newRow("not a date") << "yesterday" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void otherForms()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(logdate::fromText(text), date);
    }
};

QTEST_GUILESS_MAIN(LogDateTest)
#include "tst_LogDate.moc"
