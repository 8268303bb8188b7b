// Speech preparation and number words on arbitrary bytes. The first byte picks:
//   'N'  NumberToWords on the digits the bytes give (each byte mod 10), and SpellGroup;
//   'D'  line 1 is the answer, the further lines a dictionary of our own (stored scrambled);
//   else line 1 is the answer, line 2 the user's name, line 3 its pronunciation, with the
//        dictionary of the program folder.
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "speech/text/Dictionary.h"
#include "speech/text/NumberWords.h"
#include "speech/text/SpeechText.h"

using namespace tamzel;

namespace {

void Numbers(const uint8_t* data, size_t size) {
    std::string digits;
    for (size_t i = 0; i < size; ++i) digits += static_cast<char>('0' + data[i] % 10);
    if (digits.empty()) return;
    speech::NumberToWords(digits);
    speech::SpellGroup(std::string_view(digits).substr(0, 3), 1 + static_cast<int>(size % 10));
}

void Prepare(const std::vector<std::string>& lines, bool ownDictionary) {
    speech::SpeechRequest request;
    request.text = lines[0];
    if (ownDictionary) {
        std::string stored;
        for (size_t i = 1; i < lines.size(); ++i) stored += speech::ScrambleLine(lines[i]) + "\r\n";
        fuzz::PutFile("files/fuzz.vox", stored);
        request.dictionaryPath = "files/fuzz.vox";
        request.userName = "Jan";
        request.userNamePronunciation = "J\xE1n";
    } else {
        request.userName = lines.size() > 1 ? lines[1] : "";
        request.userNamePronunciation = lines.size() > 2 ? lines[2] : "";
    }
    auto prepared = speech::PrepareSpeechText(request);
    if (prepared && prepared->contour.size() != prepared->unitString.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseProgramFolder();
    if (size == 0) return 0;
    if (data[0] == 'N') {
        Numbers(data + 1, size - 1);
        return 0;
    }
    Prepare(fuzz::SplitInput(data + 1, size - 1, 1 << 16), data[0] == 'D');
    return 0;
}
