// The received-text rules: what decoded characters do to the text, and which word a
// double-click selection yields for the log.
#include "RxText.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

class RxTextTest : public QObject {
    Q_OBJECT
private slots:
    void receive_data()
    {
        // Each character is one OnRxChar of channel 0; a line end of the box reads as "\n".
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("shown");
        QTest::newRow("599 and CR") << "599\r" << "599\n";
        QTest::newRow("LF after CR adds nothing") << "599\r\n" << "599\n";
        QTest::newRow("LF alone adds nothing") << "\n" << "";
        QTest::newRow("two lines") << "CQ\r\nDE UA1ABC\r\n" << "CQ\nDE UA1ABC\n";
        QTest::newRow("backspace erases a letter") << "AB\b" << "A";
        QTest::newRow("backspace after CR erases the line end") << "599\r\b" << "599";
        QTest::newRow("backspace after CR LF erases the line end") << "599\r\n\b" << "599";
        QTest::newRow("backspace on empty text") << "\b" << "";
        QTest::newRow("more backspaces than text") << "A\b\b\b" << "";
        QTest::newRow("text after an erase") << "AB\bC" << "AC";
        QTest::newRow("blank lines") << "\r\r\b" << "\n";
        QTest::newRow("Windows-1251 letters") << QString::fromLatin1("\xc0\xff\xa8\xb8") << "\u0410\u044f\u0401\u0451";
        QTest::newRow("Windows-1251 signs") << QString::fromLatin1("\xb9\x96\x88") << "\u2116\u2013\u20ac";
        QTest::newRow("byte not in Windows-1251") << QString::fromLatin1("\x98") << "\ufffd";
        QTest::newRow("wide Cyrillic stays") << "\u0416" << "\u0416";
        QTest::newRow("wide outside the code page") << "\u4e2d" << "?";
    }
    void receive()
    {
        QFETCH(QString, events);
        QFETCH(QString, shown);
        QTextDocument doc;
        RxText rx(doc);
        for (QChar c : events) {
            const bool added = rx.receive(0, QString(c));
            QCOMPARE(added, c != u'\n' && c != u'\b');
        }
        QCOMPARE(doc.toPlainText(), shown);
    }

    void otherChannelsAreNotShown()
    {
        QTextDocument doc;
        RxText rx(doc);
        QVERIFY(rx.receive(0, "A"));
        QVERIFY(!rx.receive(1, "B"));
        QVERIFY(!rx.receive(1, "\b"));
        QVERIFY(!rx.receive(-1, "\r"));
        QCOMPARE(doc.toPlainText(), QString("A"));
    }

    void addsAtTheEndWhereverTheCaretIs()
    {
        QTextDocument doc;
        doc.setPlainText("CQ UA1ABC");
        QTextCursor operatorCaret(&doc);
        operatorCaret.setPosition(2);
        RxText rx(doc);
        rx.AddRxText("K");
        rx.AddRxText("\r");
        QCOMPARE(doc.toPlainText(), QString("CQ UA1ABCK\n"));
        QCOMPARE(doc.blockCount(), 2);
        rx.DeleteRxChar();
        QCOMPARE(doc.toPlainText(), QString("CQ UA1ABCK"));
    }

    void wordOf_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("pickable");
        QTest::newRow("599 and a blank") << "599 " << "599" << true;
        QTest::newRow("call and a comma") << "UA1ABC," << "UA1ABC" << true;
        QTest::newRow("comma before the call") << ",UA1ABC" << "UA1ABC" << true;
        QTest::newRow("one letter") << "A" << "A" << false;
        QTest::newRow("letter comma letter") << "A,B" << "B" << false;
        QTest::newRow("portable call") << "UA1ABC/P " << "UA1ABC/P" << true;
        QTest::newRow("the last of several words") << "RA3XYZ 599 001" << "001" << true;
        QTest::newRow("case is kept") << "ua1abc" << "ua1abc" << true;
        QTest::newRow("trailing commas") << "AB,," << "," << false;
        QTest::newRow("line end in the selection") << "UA1ABC\u2029" << "UA1ABC" << true;
        QTest::newRow("control characters") << "\tUA1ABC\x01" << "UA1ABC" << true;
        QTest::newRow("Cyrillic is no word character") << "\u0416UA" << "UA" << true;
        QTest::newRow("blanks only") << "   " << "" << false;
        QTest::newRow("empty") << "" << "" << false;
    }
    void wordOf()
    {
        QFETCH(QString, selection);
        QFETCH(QString, word);
        QFETCH(bool, pickable);
        const QString got = RxText::wordOf(selection);
        QCOMPARE(got, word);
        QCOMPARE(RxText::isPickable(got), pickable);
    }

    void selectionAt_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("pos");
        QTest::addColumn<QString>("selected");
        QTest::newRow("start of a word") << "599 UA1ABC" << 0 << "599 ";
        QTest::newRow("right after a word") << "599 UA1ABC" << 3 << "599 ";
        QTest::newRow("inside the last word") << "599 UA1ABC" << 6 << "UA1ABC";
        QTest::newRow("portable call with a comma") << "UA1ABC/P, 599" << 2 << "UA1ABC/P, ";
        QTest::newRow("between blanks") << "A   B" << 2 << "  ";
        QTest::newRow("empty line") << "" << 0 << "";
        QTest::newRow("past the end") << "AB" << 9 << "AB";
    }
    void selectionAt()
    {
        QFETCH(QString, line);
        QFETCH(int, pos);
        QFETCH(QString, selected);
        const auto [first, last] = RxText::selectionAt(line, pos);
        QCOMPARE(line.mid(first, last - first), selected);
    }
};

QTEST_MAIN(RxTextTest)
#include "tst_rxtext.moc"
