// Speed of the country lookup on the generated tables: load time, and FindCountry over real
// calls, indexed against the literal scan that compiles every row's expression for every call.
#include "CountryLookup.h"
#include "MasterCalls.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

struct Figures {
    double median;
    double p99;
};

Figures figures(QList<double> micros)
{
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[std::min<qsizetype>(micros.size() - 1, micros.size() * 99 / 100)]};
}

QList<double> time(CountryLookup &lookup, const QStringList &calls, QList<QStringList> *answers)
{
    QList<double> micros;
    QElapsedTimer t;
    for (const QString &call : calls) {
        QStringList o(6);
        t.start();
        lookup.FindCountry(call, o[0], o[1], o[2], o[3], o[4], o[5]);
        micros << t.nsecsElapsed() / 1000.0;
        *answers << o;
    }
    return micros;
}

} // namespace

int main()
{
    const QString folder = QStringLiteral(ORVO_DIST_DIR);
    const QStringList all = masterCalls();
    QStringList calls;
    for (qsizetype i = 0; i < all.size(); i += 20)
        calls << all[i];

    QList<double> loads;
    for (int i = 0; i < 5; ++i) {
        CountryLookup fresh;
        QElapsedTimer t;
        t.start();
        const QStringList problems = fresh.load(folder);
        loads << t.nsecsElapsed() / 1e6;
        if (!problems.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problems.join('\n')));
            return 1;
        }
    }
    std::sort(loads.begin(), loads.end());
    std::printf("table load (3 tables, %s): median %.1f ms, best %.1f ms over 5 loads\n", qPrintable(folder),
                loads[2], loads[0]);

    CountryLookup indexed;
    indexed.load(folder);
    QList<QStringList> warm;
    // The first use of an expression compiles it (plain whole calls are left to their first use).
    const Figures cold = figures(time(indexed, calls, &warm));
    std::printf("FindCountry, indexed, first pass: %lld calls, median %.2f us, 99th percentile %.2f us\n",
                qint64(calls.size()), cold.median, cold.p99);
    QList<QStringList> answers;
    const Figures fast = figures(time(indexed, calls, &answers));
    std::printf("FindCountry, indexed: %lld calls, median %.2f us, 99th percentile %.2f us\n",
                qint64(calls.size()), fast.median, fast.p99);

    // The literal scan takes about a tenth of a second a call: a sample is enough.
    QStringList sample;
    for (qsizetype i = 0; i < calls.size(); i += 20)
        sample << calls[i];
    CountryLookup literal(CountryLookup::Scan::Literal);
    literal.load(folder);
    QList<QStringList> literalAnswers, indexedAnswers;
    const Figures slow = figures(time(literal, sample, &literalAnswers));
    const Figures same = figures(time(indexed, sample, &indexedAnswers));
    std::printf("FindCountry, literal: %lld calls, median %.0f us, 99th percentile %.0f us\n",
                qint64(sample.size()), slow.median, slow.p99);
    std::printf("same calls, indexed: median %.2f us; literal / indexed median = %.0f\n", same.median,
                slow.median / same.median);
    std::printf("answers equal on the sample: %s\n", literalAnswers == indexedAnswers ? "yes" : "NO");
    return literalAnswers == indexedAnswers ? 0 : 1;
}
