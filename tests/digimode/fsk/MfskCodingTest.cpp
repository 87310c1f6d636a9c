// The coding layers of MFSK: varicode, convolutional code, diagonal interleaver, Gray.
#include "ConvolutionalCode.h"
#include "DiagonalInterleaver.h"
#include "MfskMode.h"
#include "MfskVaricode.h"

#include <QTest>

#include <bitset>
#include <random>
#include <set>

using namespace digimode::mfsk;

namespace {

QString codeText(unsigned char c)
{
    const VaricodeEntry e = varicode(c);
    QString s;
    for (int i = e.length - 1; i >= 0; --i)
        s += ((e.bits >> i) & 1) ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

} // namespace

class MfskCodingTest : public QObject {
    Q_OBJECT
private slots:
    void publishedCodes_data();
    void publishedCodes();
    void everyCodeFramesItself();
    void varicodeStreamRoundTrip();
    void encoderImpulseResponse();
    void viterbiCorrectsErrors();
    void interleaverKnownVector();
    void interleaverInverse_data();
    void interleaverInverse();
    void grayMapping();
    void modes_data();
    void modes();
};

void MfskCodingTest::publishedCodes_data()
{
    QTest::addColumn<int>("character");
    QTest::addColumn<QString>("code");
    // From IZ8BLY's published table.
    QTest::newRow("space") << 32 << "100";
    QTest::newRow("e") << int('e') << "1000";
    QTest::newRow("t") << int('t') << "1100";
    QTest::newRow("o") << int('o') << "10000";
    QTest::newRow("a") << int('a') << "10100";
    QTest::newRow("n") << int('n') << "11100";
    QTest::newRow("r") << int('r') << "100000";
    QTest::newRow("u") << int('u') << "111100";
    QTest::newRow("m") << int('m') << "1000000";
    QTest::newRow("z") << int('z') << "1111100";
    QTest::newRow("j") << int('j') << "10000000";
    QTest::newRow("comma") << int(',') << "10100000";
    QTest::newRow("backspace") << 8 << "10101000";
    QTest::newRow("CR") << 13 << "10101100";
}

void MfskCodingTest::publishedCodes()
{
    QFETCH(int, character);
    QFETCH(QString, code);
    QCOMPARE(codeText(static_cast<unsigned char>(character)), code);
}

void MfskCodingTest::everyCodeFramesItself()
{
    std::set<QString> seen;
    for (int c = 0; c < 256; ++c) {
        const QString code = codeText(static_cast<unsigned char>(c));
        QVERIFY2(code.startsWith(QLatin1Char('1')), qPrintable(code));
        QVERIFY2(code.endsWith(QLatin1String("00")), qPrintable(code));
        QVERIFY2(!code.contains(QLatin1String("001")), qPrintable(code));
        QVERIFY(code.size() <= 12);
        QVERIFY2(seen.insert(code).second, qPrintable(code));
    }
    // The frequent characters have the short codes.
    QVERIFY(codeText(' ').size() < codeText('e').size());
    QVERIFY(codeText('z').size() <= codeText('A').size());
}

void MfskCodingTest::varicodeStreamRoundTrip()
{
    std::vector<int> bits;
    for (int c = 0; c < 256; ++c) {
        const VaricodeEntry e = varicode(static_cast<unsigned char>(255 - c));
        for (int i = e.length - 1; i >= 0; --i)
            bits.push_back((e.bits >> i) & 1);
    }
    bits.push_back(1); // the start of a following code ends the last one
    VaricodeDecoder decoder;
    std::vector<int> out;
    for (int b : bits)
        if (const auto c = decoder.push(b))
            out.push_back(*c);
    QCOMPARE(int(out.size()), 256);
    for (int c = 0; c < 256; ++c)
        QCOMPARE(out[std::size_t(c)], 255 - c);
}

void MfskCodingTest::encoderImpulseResponse()
{
    // A single one walks through the register: the outputs spell the two polynomials,
    // 0x6D and 0x4F, from their lowest bit.
    ConvolutionalEncoder encoder;
    std::bitset<7> first, second;
    for (int k = 0; k < 7; ++k) {
        const auto out = encoder.encode(k == 0 ? 1 : 0);
        first[std::size_t(k)] = out[0];
        second[std::size_t(k)] = out[1];
    }
    QCOMPARE(first.to_ulong(), 0x6Dul);
    QCOMPARE(second.to_ulong(), 0x4Ful);
}

void MfskCodingTest::viterbiCorrectsErrors()
{
    std::mt19937 rng(7);
    std::vector<int> data(600);
    for (int &b : data)
        b = int(rng() & 1u);
    data.insert(data.end(), std::size_t(ViterbiDecoder::delay()), 0);
    ConvolutionalEncoder encoder;
    ViterbiDecoder viterbi;
    std::vector<int> decoded;
    int flipped = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto code = encoder.encode(data[i]);
        float a = code[0] ? 0.8f : -0.8f, b = code[1] ? 0.8f : -0.8f;
        // One wrong code bit in every twenty: well within the code's reach.
        if (i % 10 == 3) {
            a = -a;
            ++flipped;
        }
        viterbi.push(a, b, decoded);
    }
    QVERIFY(flipped > 50);
    QVERIFY(decoded.size() >= 600);
    for (std::size_t i = 0; i < 600; ++i)
        QCOMPARE(decoded[i], data[i]);
}

void MfskCodingTest::interleaverKnownVector()
{
    // One 4x4 stage: bit j of a symbol goes out j symbols late.
    DiagonalInterleaver<int> stage(4, 1, DiagonalInterleaver<int>::Direction::Interleave);
    const int in[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
    const int expected[4][4] = {{1, 0, 0, 0}, {5, 2, 0, 0}, {9, 6, 3, 0}, {13, 10, 7, 4}};
    for (int t = 0; t < 4; ++t) {
        int symbol[4] = {in[t][0], in[t][1], in[t][2], in[t][3]};
        stage.process(symbol);
        for (int j = 0; j < 4; ++j)
            QCOMPARE(symbol[j], expected[t][j]);
    }
    // Ten stages (MFSK16): the last bit of symbol 0 leaves 30 symbols later.
    DiagonalInterleaver<int> mfsk16(4, 10, DiagonalInterleaver<int>::Direction::Interleave);
    QCOMPARE(mfsk16.latency(), 30);
    int marked[4] = {0, 0, 0, 7};
    mfsk16.process(marked);
    QCOMPARE(marked[3], 0);
    for (int t = 1; t <= 30; ++t) {
        int symbol[4] = {0, 0, 0, 0};
        mfsk16.process(symbol);
        QCOMPARE(symbol[3], t == 30 ? 7 : 0);
    }
}

void MfskCodingTest::interleaverInverse_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("depth");
    QTest::newRow("MFSK16") << 4 << 10;
    QTest::newRow("MFSK8") << 5 << 10;
    QTest::newRow("one stage") << 4 << 1;
}

void MfskCodingTest::interleaverInverse()
{
    QFETCH(int, size);
    QFETCH(int, depth);
    using Interleaver = DiagonalInterleaver<int>;
    Interleaver tx(size, depth, Interleaver::Direction::Interleave);
    Interleaver rx(size, depth, Interleaver::Direction::Deinterleave);
    const int latency = tx.latency();
    std::vector<int> symbol(static_cast<std::size_t>(size));
    for (int t = 0; t < 200; ++t) {
        for (int j = 0; j < size; ++j)
            symbol[std::size_t(j)] = 1 + t * size + j;
        tx.process(symbol.data());
        rx.process(symbol.data());
        for (int j = 0; j < size; ++j)
            QCOMPARE(symbol[std::size_t(j)], t < latency ? 0 : 1 + (t - latency) * size + j);
    }
}

void MfskCodingTest::grayMapping()
{
    // The transmitter sends value v on tone v ^ (v >> 1): successive values on tones
    // that differ in one bit of their index.
    const int tones[8] = {0, 1, 3, 2, 6, 7, 5, 4};
    for (int v = 0; v < 8; ++v)
        QCOMPARE(grayEncode(v), tones[v]);
    std::set<int> seen;
    for (int v = 0; v < 32; ++v) {
        QCOMPARE(grayDecode(grayEncode(v)), v);
        seen.insert(grayEncode(v));
        if (v > 0)
            QCOMPARE(std::bitset<8>(unsigned(grayEncode(v) ^ grayEncode(v - 1))).count(), std::size_t(1));
    }
    QCOMPARE(int(seen.size()), 32);
}

void MfskCodingTest::modes_data()
{
    QTest::addColumn<double>("asked");
    QTest::addColumn<int>("tones");
    QTest::addColumn<double>("baud");
    QTest::newRow("MFSK16") << 15.625 << 16 << 15.625;
    QTest::newRow("MFSK8") << 7.8125 << 32 << 7.8125;
    QTest::newRow("MFSK32") << 31.25 << 16 << 31.25;
    QTest::newRow("nearest to 45.45") << 45.45 << 16 << 31.25;
    QTest::newRow("nonsense") << -1.0 << 16 << 15.625;
}

void MfskCodingTest::modes()
{
    QFETCH(double, asked);
    QFETCH(int, tones);
    QFETCH(double, baud);
    const MfskMode mode = mfskMode(asked);
    QCOMPARE(mode.tones, tones);
    QCOMPARE(mode.baud, baud);
    QCOMPARE(1 << mode.bitsPerSymbol, mode.tones);
}

QTEST_APPLESS_MAIN(MfskCodingTest)
#include "MfskCodingTest.moc"
