#include "ui/Adapters.h"

#include "engine/Codepage.h"

namespace tamzel::ui {

std::string EngineTalk::AnswerSentence(const std::string& text, bool idle, bool hover) {
    engine_.IdleTurn = idle;
    engine_.HoverTurn = hover;
    std::string answer;
    try {
        answer = engine_.AnswerSentence(text);
    } catch (...) {
        engine_.IdleTurn = engine_.HoverTurn = false;
        throw;
    }
    engine_.IdleTurn = engine_.HoverTurn = false;
    return answer;
}

UserValues EngineTalk::Profile() const {
    return {engine_.UserName, engine_.UserNamePronunciation, engine_.UserIsMale, engine_.Mood};
}

void EngineTalk::SetProfile(const UserValues& values) {
    engine_.UserName = values.UserName;
    engine_.UserNamePronunciation = values.UserNamePronunciation;
    engine_.UserIsMale = values.UserIsMale;
    engine_.Mood = values.Mood;
}

std::string ProfileShutdownStore::Store(const Settings& s, const UserValues& user) {
    profiles::StartSettings start;
    start.autolog = s.autolog;
    start.lastUser = user.UserName;
    start.theme = engine::FromUtf8Lossy(s.themeFile);  // the file holds Windows-1250
    profiles::UserData data{user.UserName, user.UserNamePronunciation, user.UserIsMale, user.Mood};
    profiles::UserConfig config{s.records, s.speech, s.animation, s.infoBar,
                                s.volume,  s.speed,  s.intonation};
    profiles::StoreResult result = store_.StoreAtShutdown(start, data, config);
    return result.ok ? "" : result.message;
}

}  // namespace tamzel::ui
