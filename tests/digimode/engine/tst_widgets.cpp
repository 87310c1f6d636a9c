// The engine's view, level meter and toggle button on real widgets.
#include "Engine.h"
#include "PskModulator.h"
#include "WaterfallPalette.h"
#include "XMMVBtn.h"
#include "XMMVLvl.h"
#include "XMMVView.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {

void feedSignal(TMMVARI &engine, double carrierHz, double amplitude, TXMMVView *view = nullptr)
{
    testsignal::PskSignal s;
    s.carrierHz = carrierHz;
    s.amplitude = amplitude;
    s.idleSeconds = 1.0;
    const auto audio = testsignal::modulatePsk("CQ TEST", s);
    QMetaObject::Connection c;
    if (view)
        c = QObject::connect(&engine, &TMMVARI::OnDrawFFT, view, [&engine, view] { view->RedrawFromEngine(engine.dwHandle()); });
    for (std::size_t i = 0; i < audio.size(); i += 1024)
        engine.feed(audio.data() + i, std::min<std::size_t>(1024, audio.size() - i));
    QObject::disconnect(c);
}

int brightness(QRgb c)
{
    return qRed(c) + qGreen(c) + qBlue(c);
}

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void viewProperties();
    void palettes();
    void waterfallShowsTheSignal_data();
    void waterfallShowsTheSignal();
    void clickTunes();
    void unknownEngine();
    void levelMeter();
    void toggleButton();
};

void WidgetsTest::viewProperties()
{
    TXMMVView view;
    QCOMPARE(view.wWidthFreq(), 3000);
    QCOMPARE(view.wType(), 1);
    QVERIFY(!view.bWaterAGC());
    for (int span : {500, 1000, 2000, 3000}) {
        view.setWWidthFreq(span);
        QCOMPARE(view.wWidthFreq(), span);
    }
    view.setWWidthFreq(1200);
    QCOMPARE(view.wWidthFreq(), 1000);
    view.setViewPalette(0, 10);
    QCOMPARE(view.ViewPalette(0), 10);
    view.setViewPalette(1, 0);
    QCOMPARE(view.ViewPalette(0), 10);
    QCOMPARE(view.ViewPalette(1), 0);
    view.setWType(0);
    QCOMPARE(view.wType(), 0);
    view.setBWaterAGC(true);
    QVERIFY(view.bWaterAGC());
}

void WidgetsTest::palettes()
{
    digimode::WaterfallPalette palette;
    QCOMPARE(palette.colour(0.0), qRgb(0, 0, 0));
    const QRgb middle = palette.colour(0.5);
    QVERIFY(!(qRed(middle) == qGreen(middle) && qGreen(middle) == qBlue(middle)));
    palette.setPalette(10);
    for (double level : {0.0, 0.3, 0.7, 1.0}) {
        const QRgb c = palette.colour(level);
        QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
    }
    QCOMPARE(palette.colour(1.0), qRgb(255, 255, 255));
    QCOMPARE(palette.colour(NAN), qRgb(0, 0, 0));
    QCOMPARE(palette.levelOf(NAN), 0.0);
    QVERIFY(brightness(palette.colour(0.8)) > brightness(palette.colour(0.4)));
}

void WidgetsTest::waterfallShowsTheSignal_data()
{
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<bool>("agc");
    QTest::addColumn<int>("palette");
    QTest::newRow("strong") << 0.5 << false << 0;
    QTest::newRow("strong, grey") << 0.5 << false << 10;
    QTest::newRow("very weak with AGC") << 0.0003 << true << 0;
}

void WidgetsTest::waterfallShowsTheSignal()
{
    QFETCH(double, amplitude);
    QFETCH(bool, agc);
    QFETCH(int, palette);
    TMMVARI engine;
    engine.setChannelCarrier(0, 1500);
    TXMMVView view;
    view.resize(600, 100);
    view.setBWaterAGC(agc);
    view.setViewPalette(0, palette);
    feedSignal(engine, 1500.0, amplitude, &view);

    const QImage &picture = view.picture();
    QCOMPARE(picture.size(), QSize(600, 100));
    const int signalColumn = int(std::lround((1500.0 - view.baseHz()) / view.wWidthFreq() * 600.0));
    int atSignal = 0;
    for (int dx = -2; dx <= 2; ++dx)
        atSignal = std::max(atSignal, brightness(picture.pixel(signalColumn + dx, 2)));
    const int away = brightness(picture.pixel(signalColumn > 300 ? 20 : 580, 2));
    QVERIFY2(atSignal > away + 150, qPrintable(QStringLiteral("%1 vs %2").arg(atSignal).arg(away)));
}

void WidgetsTest::clickTunes()
{
    TMMVARI engine;
    engine.setChannelAfc(0, 0);
    engine.setChannelCarrier(0, 1000);
    TXMMVView view;
    view.resize(600, 100);
    view.RedrawFromEngine(engine.dwHandle());
    const double expected = view.frequencyAt(450);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(450, 50));
    QCOMPARE(engine.ChannelCarrier(0), int(std::lround(expected)));
    QVERIFY(std::abs(expected - 1000.0) > 100.0);

    // A narrower span shows fewer Hz per pixel around the carrier.
    view.setWWidthFreq(500);
    view.RedrawFromEngine(engine.dwHandle());
    QVERIFY(view.frequencyAt(300) - view.frequencyAt(0) < 300.0);
    QVERIFY(engine.ChannelCarrier(0) >= view.baseHz() && engine.ChannelCarrier(0) <= view.baseHz() + 500);
}

void WidgetsTest::unknownEngine()
{
    TXMMVView view;
    view.resize(200, 50);
    view.RedrawFromEngine(424242);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(100, 20));   // bound to nothing: no effect
    TXMMVLvl meter;
    meter.RedrawLevel(424242, 0);
    QCOMPARE(meter.level(), 0.0);
}

void WidgetsTest::levelMeter()
{
    TMMVARI engine;
    TXMMVLvl meter;
    meter.RedrawLevel(engine.dwHandle(), 0);
    QCOMPARE(meter.barFraction(), 0.0);
    feedSignal(engine, 1500.0, 0.5);
    meter.RedrawLevel(engine.dwHandle(), 0);
    QVERIFY2(std::abs(meter.level() - 0.5) < 0.05, qPrintable(QString::number(meter.level())));
    QVERIFY(std::abs(meter.barFraction() - 0.9) < 0.02);
    meter.RedrawLevel(engine.dwHandle(), 1);
    QCOMPARE(meter.level(), 0.0);
}

void WidgetsTest::toggleButton()
{
    TXMMVBtn button;
    button.resize(40, 20);
    button.setCaption(QStringLiteral("AFC"));
    QCOMPARE(button.Caption(), QStringLiteral("AFC"));
    QSignalSpy clicks(&button, &TXMMVBtn::OnLButtonClick);
    bool stateSeen = false;
    QObject::connect(&button, &TXMMVBtn::OnLButtonClick, [&] { stateSeen = button.State(); });

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 1);
    QVERIFY(button.State());
    QVERIFY(stateSeen);   // the state has changed when the event comes
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 2);
    QVERIFY(!button.State());

    button.setState(true);   // set in code: no event
    QCOMPARE(clicks.count(), 2);
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(clicks.count(), 2);
    // Pressed on the button, released beside it: no click.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(100, 10));
    QCOMPARE(clicks.count(), 2);
    QVERIFY(button.State());
}

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
