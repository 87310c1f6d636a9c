// The PSK modes' codes: varicode, the QPSK convolutional code and its Viterbi decoder,
// and the receive filter's promise of no intersymbol interference.
#include "PulseShape.h"
#include "QpskCode.h"
#include "QpskReadings.h"
#include "Varicode.h"

#include <QTest>

#include <random>
#include <set>
#include <utility>

using namespace digimode;

namespace {

struct SoftChannel {
    int flipEvery = 0;           // a hard error every so many code bits
    double noise = 0.0;          // Gaussian, against code bits of +-1
    bool swapped = false;        // the two code bits of each symbol change places
};

// The encoded bits as a receiver's soft values (0 surely 0 .. 255 surely 1).
std::vector<std::pair<unsigned char, unsigned char>> softSymbols(const std::vector<bool> &bits, const SoftChannel &channel,
                                                                 std::mt19937 &rng)
{
    ConvolutionalEncoder encoder;
    std::normal_distribution<double> gauss(0.0, channel.noise);
    std::vector<std::pair<unsigned char, unsigned char>> symbols;
    int codeBits = 0;
    for (bool bit : bits) {
        unsigned char soft[2];
        const auto pair = encoder.push(bit);
        for (int j = 0; j < 2; ++j) {
            bool b = pair[std::size_t(j)];
            if (channel.flipEvery && ++codeBits % channel.flipEvery == 0)
                b = !b;
            const double value = (b ? 1.0 : -1.0) + (channel.noise > 0.0 ? gauss(rng) : 0.0);
            soft[j] = (unsigned char)std::clamp(128.0 + 100.0 * value, 0.0, 255.0);
        }
        symbols.emplace_back(channel.swapped ? soft[1] : soft[0], channel.swapped ? soft[0] : soft[1]);
    }
    return symbols;
}

std::vector<bool> randomBits(std::size_t n, std::mt19937 &rng)
{
    std::vector<bool> bits(n);
    for (std::size_t i = 0; i < n; ++i)
        bits[i] = rng() & 1;
    return bits;
}

int bitsWrong(const std::vector<bool> &sent, std::vector<bool> received)
{
    if (received.size() < sent.size())
        return int(sent.size());
    received.resize(sent.size());
    int wrong = 0;
    for (std::size_t i = 0; i < sent.size(); ++i)
        wrong += received[i] != sent[i];
    return wrong;
}

} // namespace

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
    void readingsFollowEitherWay_data();
    void readingsFollowEitherWay();
    void readingHoldsWithoutSignal();
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
    const std::vector<bool> data = randomBits(3000, rng);
    // Zeros after the data let the window's delay run out.
    std::vector<bool> sent = data;
    sent.insert(sent.end(), std::size_t(ViterbiDecoder::window()), false);

    ViterbiDecoder decoder;
    std::vector<bool> received;
    for (const auto &[soft0, soft1] : softSymbols(sent, {flipEvery, noise, false}, rng))
        decoder.push(soft0, soft1, [&](bool b) { received.push_back(b); });
    const int wrong = bitsWrong(data, received);
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 of %2 bits wrong").arg(wrong).arg(data.size())));
}

void PskCodesTest::readingsFollowEitherWay_data()
{
    QTest::addColumn<bool>("firstSwapped");
    QTest::addColumn<bool>("secondSwapped");
    QTest::addColumn<double>("noise");
    QTest::newRow("as sent") << false << false << 0.3;
    QTest::newRow("swapped") << true << true << 0.3;
    QTest::newRow("the next over swapped") << false << true << 0.3;
    QTest::newRow("the next over as sent") << true << false << 0.3;
    QTest::newRow("swapped, soft noise") << true << true << 0.45;
}

void PskCodesTest::readingsFollowEitherWay()
{
    QFETCH(bool, firstSwapped);
    QFETCH(bool, secondSwapped);
    QFETCH(double, noise);
    std::mt19937 rng(5);
    // Two overs, each text between idle zeros; the reading may change in the idle.
    const std::vector<bool> idle(100, false);
    std::vector<bool> first = idle, second = idle;
    for (std::vector<bool> *over : {&first, &second}) {
        const std::vector<bool> text = randomBits(1500, rng);
        over->insert(over->end(), text.begin(), text.end());
        over->insert(over->end(), idle.begin(), idle.end());
    }
    auto symbols = softSymbols(first, {0, noise, firstSwapped}, rng);
    const auto more = softSymbols(second, {0, noise, secondSwapped}, rng);
    symbols.insert(symbols.end(), more.begin(), more.end());

    QpskReadings readings;
    std::vector<bool> received;
    for (const auto &[soft0, soft1] : symbols)
        readings.push(soft0, soft1, true, [&](bool b) { received.push_back(b); });
    std::vector<bool> sent = first;
    sent.insert(sent.end(), second.begin(), second.end());
    // All but the last window, which is still in the decoder.
    QCOMPARE(received.size(), sent.size() - std::size_t(QpskReadings::window() - 1));
    sent.resize(received.size());
    QCOMPARE(readings.swapped(), secondSwapped);
    const int wrong = bitsWrong(sent, received);
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 of %2 bits wrong").arg(wrong).arg(sent.size())));
}

void PskCodesTest::readingHoldsWithoutSignal()
{
    // Whatever the symbols look like, the reading is not judged while no signal is there.
    std::mt19937 rng(9);
    QpskReadings readings;
    for (const auto &[soft0, soft1] : softSymbols(randomBits(500, rng), {0, 0.3, true}, rng))
        readings.push(soft0, soft1, false, [](bool) {});
    QVERIFY(!readings.swapped());
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
