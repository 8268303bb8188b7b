// The voice pack: a folder of files named by type and name that serves as the resource
// library "gorvin" of the program folder.
//   gorvin/Wave/<name>.wav   the 41 sound units (names from UnitResourceName), RIFF WAVE
//                            PCM 16-bit mono; 22050 samples per second is the neutral rate
//   gorvin/Jpg/<name>.jpg    the face frames ("default2", "a", "mrk", ...)
//
//   VoicePack pack("gorvin");                    // throws SpeechError when the folder is missing
//   WaveSound s = pack.ReadUnitSound('a');       // throws SpeechError naming the file
//   std::string jpeg = pack.ReadResource("Jpg", "default2");
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamzel::speech {

inline constexpr const char* kVoicePackFolder = "gorvin";
inline constexpr uint32_t kNeutralSampleRate = 22050;

// Decoded PCM data of one recording.
struct WaveSound {
    uint32_t sampleRate = 0;
    std::vector<int16_t> samples;  // mono
};

// Parses a RIFF WAVE file holding 16-bit PCM mono data. Throws SpeechError naming
// `fileName` when the data is not such a file (truncated, other format, stereo, ...).
WaveSound ParseWave(const std::string& bytes, const std::string& fileName);

class VoicePack {
public:
    // Opens the pack folder (relative to the working folder). Throws SpeechError when it is
    // not a folder.
    explicit VoicePack(std::string folder = kVoicePackFolder);

    // "<folder>/<type>/<name>.<wav|jpg>"; the extension is the lower-cased type's usual one.
    std::string ResourcePath(const std::string& type, const std::string& name) const;
    // The resource's bytes; throws SpeechError naming the file when it is missing or unreadable.
    std::string ReadResource(const std::string& type, const std::string& name) const;
    // The recording of a sound-unit character (see Units.h); throws SpeechError.
    WaveSound ReadUnitSound(char unit) const;
    // The JPEG bytes of a face frame by name.
    std::string ReadFrame(const std::string& name) const { return ReadResource("Jpg", name); }

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace tamzel::speech
