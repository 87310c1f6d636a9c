// The PSK modes' codes: varicode, the QPSK convolutional code and its Viterbi decoder,
// and the receive filter's promise of no intersymbol interference.
#include "PulseShape.h"
#include "QpskCode.h"
#include "Varicode.h"

#include <QTest>

#include <random>
#include <set>

using namespace digimode;

class PskCodesTest : public QObject {
    Q_OBJECT
private slots:
    void knownCodes_data();
    void knownCodes();
    void alphabetIsSelfSynchronising();
    void decoderSplitsAStream();
    void encoderImpulseResponse();
    void viterbiCorrectsErrors_data();
    void viterbiCorrectsErrors();
    void receiveFilterHasNoIntersymbolInterference();
};

void PskCodesTest::knownCodes_data()
{
    QTest::addColumn<int>("character");
    QTest::addColumn<QString>("code");
    QTest::newRow("space") << 32 << "1";
    QTest::newRow("e") << int('e') << "11";
    QTest::newRow("a") << int('a') << "1011";
    QTest::newRow("CR") << 13 << "11111";
    QTest::newRow("LF") << 10 << "11101";
    QTest::newRow("A") << int('A') << "1111101";
    QTest::newRow("0") << int('0') << "10110111";
    QTest::newRow("/") << int('/') << "110101111";
    QTest::newRow("NUL") << 0 << "1010101011";
    QTest::newRow("DEL") << 127 << "1110110101";
    QTest::newRow("beyond ASCII") << 200 << "";
}

void PskCodesTest::knownCodes()
{
    QFETCH(int, character);
    QFETCH(QString, code);
    QCOMPARE(QString::fromLatin1(varicode::code((unsigned char)character).data(),
                                 qsizetype(varicode::code((unsigned char)character).size())),
             code);
}

void PskCodesTest::alphabetIsSelfSynchronising()
{
    std::set<std::string_view> seen;
    for (int c = 0; c < 128; ++c) {
        const std::string_view code = varicode::code((unsigned char)c);
        QVERIFY2(!code.empty(), qPrintable(QString::number(c)));
        QCOMPARE(code.front(), '1');
        QCOMPARE(code.back(), '1');
        QVERIFY2(code.find("00") == std::string_view::npos, qPrintable(QString::number(c)));
        QVERIFY2(seen.insert(code).second, qPrintable(QString::number(c)));
    }
}

void PskCodesTest::decoderSplitsAStream()
{
    // Every character once, with idle zeros before and a noise burst of ones in between.
    std::vector<bool> bits(7, false);
    for (int c = 0; c < 128; ++c) {
        for (char b : varicode::code((unsigned char)c))
            bits.push_back(b == '1');
        bits.push_back(false);
        bits.push_back(false);
    }
    varicode::Decoder decoder;
    std::vector<int> out;
    for (bool b : bits) {
        const int c = decoder.push(b);
        if (c >= 0)
            out.push_back(c);
    }
    QCOMPARE(int(out.size()), 128);
    for (int c = 0; c < 128; ++c)
        QCOMPARE(out[std::size_t(c)], c);

    // Twenty ones are no code: nothing comes out, and the next character is clean.
    for (int i = 0; i < 20; ++i)
        QCOMPARE(decoder.push(true), -1);
    QCOMPARE(decoder.push(false), -1);
    QCOMPARE(decoder.push(false), -1);
    for (char b : std::string("1011"))
        QCOMPARE(decoder.push(b == '1'), -1);
    QCOMPARE(decoder.push(false), -1);
    QCOMPARE(decoder.push(false), int('a'));
}

void PskCodesTest::encoderImpulseResponse()
{
    // A single one walks through the register: the code pairs spell the two generator
    // polynomials 0x17 and 0x19 from their lowest tap up, and the idle zeros around it
    // send the pair 00 (the phase reversals a receiver synchronises on).
    ConvolutionalEncoder encoder;
    const bool expected[5][2] = {{1, 1}, {1, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 5; ++i) {
        const auto pair = encoder.push(i == 0);
        QCOMPARE(pair[0], expected[i][0]);
        QCOMPARE(pair[1], expected[i][1]);
    }
    const auto idle = encoder.push(false);
    QCOMPARE(idle[0], false);
    QCOMPARE(idle[1], false);
}

void PskCodesTest::viterbiCorrectsErrors_data()
{
    QTest::addColumn<int>("flipEvery");
    QTest::addColumn<double>("noise");
    QTest::newRow("clean") << 0 << 0.0;
    QTest::newRow("one hard error in 12 symbols") << 12 << 0.0;
    QTest::newRow("one hard error in 17 symbols") << 17 << 0.0;
    QTest::newRow("soft noise") << 0 << 0.45;
}

void PskCodesTest::viterbiCorrectsErrors()
{
    QFETCH(int, flipEvery);
    QFETCH(double, noise);
    std::mt19937 rng(11);
    std::vector<bool> data(3000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = rng() & 1;
    // Zeros after the data let the window's delay run out.
    std::vector<bool> sent = data;
    sent.insert(sent.end(), std::size_t(ViterbiDecoder::window()), false);

    ConvolutionalEncoder encoder;
    ViterbiDecoder decoder;
    std::normal_distribution<double> gauss(0.0, noise);
    std::vector<bool> received;
    int symbol = 0;
    for (bool bit : sent) {
        unsigned char soft[2];
        const auto pair = encoder.push(bit);
        for (int j = 0; j < 2; ++j) {
            bool b = pair[std::size_t(j)];
            if (flipEvery && ++symbol % flipEvery == 0)
                b = !b;
            const double value = (b ? 1.0 : -1.0) + (noise > 0.0 ? gauss(rng) : 0.0);
            soft[j] = (unsigned char)std::clamp(128.0 + 100.0 * value, 0.0, 255.0);
        }
        decoder.push(soft[0], soft[1], [&](bool b) { received.push_back(b); });
    }
    QVERIFY(received.size() >= data.size());
    received.resize(data.size());
    int wrong = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        wrong += received[i] != data[i];
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 of %2 bits wrong").arg(wrong).arg(data.size())));
}

void PskCodesTest::receiveFilterHasNoIntersymbolInterference()
{
    const int n = 16;
    const ReceiveFilter filter = pskReceiveFilter(n);
    // The response to one keying pulse, sampled at the symbol centres around it.
    const int half = int(filter.taps.size()) / 2;
    auto responseAt = [&](int offset) {
        double sum = 0.0;
        for (int i = 0; i < int(filter.taps.size()); ++i)
            sum += filter.taps[std::size_t(i)] * pskPulse(double(offset - (i - half)) / n);
        return sum;
    };
    QCOMPARE(std::round(responseAt(0) * 1e6) / 1e6, 1.0);
    for (int k : {-3, -2, -1, 1, 2, 3})
        QVERIFY2(std::abs(responseAt(k * n)) < 0.01, qPrintable(QString::number(responseAt(k * n))));
    QVERIFY(filter.efficiency > 0.9 && filter.efficiency <= 1.0);
}

QTEST_GUILESS_MAIN(PskCodesTest)
#include "tst_pskcodes.moc"
