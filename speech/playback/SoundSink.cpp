#include "speech/playback/SoundSink.h"

#include <algorithm>
#include <cmath>

#include "base/Codepage.h"

namespace tamzel::speech {

double GainOfHundredthsDb(int32_t hundredthsOfDb) {
    int32_t clamped = std::clamp<int32_t>(hundredthsOfDb, -10000, 0);
    return std::pow(10.0, clamped / 2000.0);
}

ChannelGains GainsOf(int32_t volume, int32_t pan) {
    double overall = GainOfHundredthsDb(volume);
    ChannelGains g{overall, overall};
    // Only the far channel is attenuated: a pan to the left quietens the right channel.
    if (pan < 0) g.right *= GainOfHundredthsDb(pan);
    if (pan > 0) g.left *= GainOfHundredthsDb(-pan);
    return g;
}

}  // namespace tamzel::speech
