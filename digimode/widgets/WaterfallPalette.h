// Colours of the spectrum view: a level in dB becomes a colour of one of the view's two
// palettes (0: black through blue, green and yellow to white; 10: a grey scale), and
// the waterfall AGC keeps the noise floor at the dark end whatever the input level.
#pragma once

#include <QRgb>

#include <vector>

namespace digimode {

class WaterfallPalette {
public:
    // Palette 10 is the second palette; any other value draws the first.
    void setPalette(int value);
    int palette() const { return palette_; }
    QRgb colour(double level) const;   // level 0 .. 1

    // The range of dB shown from dark to bright. Without AGC it is fixed; with AGC it
    // starts a little below the frame's noise floor (its median) and spans 35 dB.
    void setAgc(bool on) { agc_ = on; }
    bool agc() const { return agc_; }
    void follow(const std::vector<float> &frameDb);
    double levelOf(double db) const;   // 0 .. 1, never NaN

private:
    int palette_ = 0;
    bool agc_ = false;
    double floorDb_ = -100.0;
    double spanDb_ = 90.0;
};

} // namespace digimode
