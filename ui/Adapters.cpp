#include "ui/Adapters.h"

#include "base/Codepage.h"

namespace tamzel::ui {

std::string ProfileShutdownStore::Store(const Settings& s, const base::ProfileValues& user) {
    profiles::StartSettings start;
    start.autolog = s.autolog;
    start.lastUser = user.name;
    start.theme = base::FromUtf8Lossy(s.themeFile);  // the file holds Windows-1250
    profiles::UserData data{user.name, user.pronunciation, user.male, user.mood};
    profiles::UserConfig config{s.records, s.speech, s.animation, s.infoBar,
                                s.volume,  s.speed,  s.intonation};
    profiles::StoreResult result = store_.StoreAtShutdown(start, data, config);
    return result.ok ? "" : result.message;
}

}  // namespace tamzel::ui
