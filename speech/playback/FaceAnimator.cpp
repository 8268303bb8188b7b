#include "speech/playback/FaceAnimator.h"

#include <array>
#include <utility>

#include "speech/text/SpeechError.h"

namespace tamzel::speech {
namespace {

// Characters of each lip group in frame order (Windows-1250). The first group that holds
// a character decides its frame.
constexpr std::array<std::string_view, kUnitFrameCount> kLipGroups = {
    "aeAE\xE1\xE9\xC1\xC9",                  // a
    "tT\x9D\x8D" "dD\xEF\xCF" "kKxXqQ()",    // t
    "iI\xED\xCD" "sScCyY\xFD\xDD",           // i
    "bB",                                    // b
    "zZ\x9E\x8E",                            // z
    "oO\xF3\xD3",                            // o
    "lL",                                    // l
    "fF",                                    // f
    "gGhH\x9A\x8A" "uU\xFA\xDA_",            // h
    "mMnN\xF2\xD2",                          // m
    "rR",                                    // r
    "vVwW",                                  // v
    "jJ\xE8\xC8",                            // j
    "pP",                                    // p
    "~-",                                    // default1
    "5", "6", "7", "8", "9", "0",            // happy, sad, face7, face8, face9, face0
    "{", "}", "[", "]", "@",                 // headleft, headright, headup, headdown, default2
};

std::array<uint8_t, 256> BuildLipTable() {
    std::array<uint8_t, 256> table{};
    for (int k = kUnitFrameCount; k >= 1; --k) {  // backwards, so the first group wins
        for (char c : kLipGroups[k - 1]) table[static_cast<uint8_t>(c)] = static_cast<uint8_t>(k);
    }
    return table;
}

const std::array<uint8_t, 256> kLipTable = BuildLipTable();

// A frame of the pack, decoded; throws SpeechError naming a missing or broken one.
JpegImage DecodeFrame(const VoicePack& pack, const std::string& name) {
    base::Result<JpegImage> image = JpegImage::Decode(pack.ReadFrame(name), pack.ResourcePath("Jpg", name));
    if (!image) throw SpeechError(image.message());
    return std::move(*image);
}

}  // namespace

std::string FaceFrameName(std::string_view text) {
    static const std::array<std::pair<char, const char*>, 12> kNames = {{
        {'-', "default1"}, {'@', "default2"}, {')', "happy"}, {'(', "sad"},
        {'[', "headup"}, {']', "headdown"}, {'{', "headleft"}, {'}', "headright"},
        {'0', "face0"}, {'7', "face7"}, {'8', "face8"}, {'9', "face9"},
    }};
    if (text.size() == 1) {
        for (const auto& [code, name] : kNames)
            if (code == text[0]) return name;
    }
    return std::string(text);
}

int LipGroup(char c) { return kLipTable[static_cast<uint8_t>(c)]; }

base::Status FaceAnimator::Load(std::shared_ptr<const VoicePack> pack) {
    std::array<std::string, kUnitFrameCount> names;
    std::array<JpegImage, kUnitFrameCount> frames;
    base::Status read = Guarded([&] {
        for (int k = 1; k <= kUnitFrameCount; ++k) {
            names[k - 1] = FaceFrameName(kUnitFrameCodes.substr(k - 1, 1));
            frames[k - 1] = DecodeFrame(*pack, names[k - 1]);
        }
    });
    if (!read) return read;
    names_ = std::move(names);
    frames_ = std::move(frames);
    pack_ = std::move(pack);
    return base::Ok();
}

base::Status FaceAnimator::ShowFaceFrame(const std::string& name) {
    if (!Drawing()) return base::Ok();
    std::string frame = FaceFrameName(name);
    return Guarded([&] {
        JpegImage image = DecodeFrame(*pack_, frame);
        surface_->DrawFrame(frame, image, surface_->View().faceLeft, kSmallFrameY);
    });
}

void FaceAnimator::ShowUnitFrame(char c) {
    int k = LipGroup(c);
    if (k == 0 || !Drawing()) return;
    FaceView view = surface_->View();
    if (k >= kFirstHeadFrame) {
        surface_->RepaintWindow();
        surface_->DrawFrame(names_[k - 1], frames_[k - 1], FaceLeft(view.simpleLayout), kFaceTop);
        surface_->RepaintLabel();
        return;
    }
    surface_->DrawFrame(names_[k - 1], frames_[k - 1], view.faceLeft, kSmallFrameY);
}

}  // namespace tamzel::speech
