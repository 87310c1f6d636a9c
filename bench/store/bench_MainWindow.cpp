// Times the main window on generated logs of 10,000 and 100,000 contacts whose calls come
// from MASTER.SCP with a few very active stations, as in a real contest:
//   start-up to the main window shown, Save (append + counts + score + emptied fields), and
//   each keystroke of a heard call (search + lookup + labels + grid model, without painting).
// Prints medians and 99th percentiles in milliseconds, and the resident memory.
#include "AppFixture.h"
#include "Log.h"
#include "QsoStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

QStringList masterCalls()
{
    QFile f("/usr/share/hamradio-files/MASTER.SCP");
    QStringList calls;
    if (f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&f);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (!line.isEmpty() && !line.startsWith('#'))
                calls << line;
        }
    }
    return calls;
}

void fillLog(const QString &path, int count, const QStringList &calls, std::mt19937 &rng)
{
    auto db = QSqlDatabase::addDatabase("QSQLITE", "filler");
    db.setDatabaseName(path);
    db.open();
    db.transaction();
    QSqlQuery q(db);
    q.prepare("INSERT INTO qso (data, time, QSOBand, call1, rst1, nr1, call2, rst2, nr2, mode) "
              "VALUES ('11.12.2026', '12:00', ?, ?, '599', ?, ?, '599', ?, ?)");
    const QStringList bands{"1.8", "3.5", "7", "14", "21", "28"};
    const QStringList modes{"CW", "SSB", "RTTY", "BPSK31"};
    // Worked stations: a few hundred runners take most contacts.
    std::geometric_distribution<int> runner(0.01);
    std::uniform_int_distribution<int> any(0, int(calls.size()) - 1);
    for (int i = 0; i < count; ++i) {
        q.addBindValue(bands[i % bands.size()]);
        q.addBindValue(calls[any(rng)]);
        q.addBindValue(QString::number(i % 999 + 1));
        q.addBindValue(calls[std::min<int>(runner(rng), int(calls.size()) - 1)]);
        q.addBindValue(i % 5 ? QString::number(i % 999 + 1) : QString());
        q.addBindValue(modes[(i / 7) % modes.size()]);
        q.exec();
    }
    db.commit();
    db.close();
    db = {};
    QSqlDatabase::removeDatabase("filler");
}

struct Figures {
    double median, p99, max;
};

Figures figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back()};
}

long residentKb()
{
    QFile f("/proc/self/status");
    f.open(QIODevice::ReadOnly);
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void run(int count, const QStringList &calls)
{
    std::mt19937 rng(count);
    AppFixture fx;
    fillLog(fx.file(QsoStore::defaultFileName()), count, calls, rng);

    QElapsedTimer t;
    t.start();
    Forms &forms = fx.start();
    forms.Form1->show();
    QApplication::processEvents();
    const double startMs = t.nsecsElapsed() / 1e6;
    TForm1 *f = forms.Form1;

    std::uniform_int_distribution<int> any(0, int(calls.size()) - 1);
    std::vector<double> keys;
    for (int n = 0; n < 300; ++n) {
        const QString call = calls[any(rng)];
        for (int len = 1; len <= call.size(); ++len) {
            t.restart();
            f->Edit1->setText(call.left(len));
            keys.push_back(t.nsecsElapsed() / 1e6);
        }
        f->Edit1->clear();
    }

    std::vector<double> saves;
    for (int n = 0; n < 200; ++n) {
        f->Edit1->setText(calls[any(rng)]);
        f->Edit3->setText("001");
        f->Edit2->setText(calls[any(rng)]);
        f->Edit4->setText("002");
        t.restart();
        f->Button1Click();
        saves.push_back(t.nsecsElapsed() / 1e6);
    }
    const Figures k = figures(keys), s = figures(saves);
    std::printf("%7d contacts: start-up %.0f ms | keystroke median %.3f ms, p99 %.3f ms, max %.2f ms (%zu keys) | "
                "Save median %.2f ms, p99 %.2f ms | resident %ld MB\n",
                count, startMs, k.median, k.p99, k.max, keys.size(), s.median, s.p99, residentKb() / 1024);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList calls = masterCalls();
    if (calls.isEmpty()) {
        std::fprintf(stderr, "MASTER.SCP not found (Debian package hamradio-files)\n");
        return 1;
    }
    for (int count : {10000, 100000})
        run(count, calls);
    return 0;
}
