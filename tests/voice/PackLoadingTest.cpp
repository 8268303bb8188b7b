// The committed pack as the program opens it: every unit character of the speech library
// finds its recording, and every frame name its picture, through VoicePack.
#include <gtest/gtest.h>

#include "speech/text/SpeechError.h"
#include "speech/text/Units.h"
#include "speech/text/VoicePack.h"
#include "tests/voice/VoiceFiles.h"

namespace tamzel::speech::test {
namespace {

// The file of each sound unit, in the order of the unit alphabet.
const char* const kUnitFiles[kSoundUnitCount] = {
    "a", "aa", "b", "c", "cc", "d", "dd", "e", "ee", "f", "g", "h", "i", "ii",
    "j", "k", "l", "m", "n", "nn", "o", "oo", "p", "r", "s", "ss", "t", "tt",
    "u", "uu", "v", "w", "y", "yy", "z", "zz", "dz", "dzdz", "_", "ps", "pl"};

std::string PackFolder() {
    const std::string any = PackPath("Wave", "a");
    return any.substr(0, any.size() - std::string("/Wave/a.wav").size());
}

TEST(PackLoading, EveryUnitCharacterLoadsItsOwnRecording) {
    const VoicePack pack(PackFolder());
    for (int k = 0; k < kSoundUnitCount; ++k) {
        const char unit = UnitAlphabet[static_cast<size_t>(k)];
        SCOPED_TRACE(kUnitFiles[k]);
        const WaveSound sound = pack.ReadUnitSound(unit);
        EXPECT_EQ(sound.sampleRate, kNeutralSampleRate);
        // The same samples as the file of that name: the character maps to the right file.
        EXPECT_EQ(sound.samples, ParseWave(ReadBytes(PackPath("Wave", kUnitFiles[k]))).samples);
    }
}

TEST(PackLoading, EveryFrameNameFindsAJpegPicture) {
    const VoicePack pack(PackFolder());
    for (const char* name : {"default2", "default1", "a", "t", "i", "b", "z", "o", "l", "f", "h",
                             "m", "r", "v", "j", "p", "happy", "sad", "face7", "face8", "face9",
                             "face0", "headleft", "headright", "headup", "headdown", "mrk", "up",
                             "look1", "right", "look2", "down", "look3", "left", "look4"}) {
        EXPECT_TRUE(DecodeJpeg(pack.ReadFrame(name)).ok) << name;
    }
    EXPECT_THROW(pack.ReadFrame("nosuchframe"), SpeechError);
}

}  // namespace
}  // namespace tamzel::speech::test
