// What the decoder window tests share: a sound server that cannot be reached (so no test
// touches the machine's sound), and an operator's pick in a box.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QTest>

namespace decodertest {

// Set before the windows exist: the engine's sound input then fails at once, and no sound
// server is started on the test's behalf.
inline void isolateSoundServer()
{
    qputenv("PULSE_SERVER", ("unix:" + QDir::tempPath() + "/orvo-no-sound-server").toLocal8Bit());
}

// Picks an item as the operator does with the arrow key, which the box reports as activated.
inline bool pick(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    if (index < 0 || box->count() < 2)
        return false;
    const bool fromAbove = index > 0;
    box->setCurrentIndex(fromAbove ? index - 1 : index + 1);
    QTest::keyClick(box, fromAbove ? Qt::Key_Down : Qt::Key_Up);
    return box->currentText() == text;
}

} // namespace decodertest
