// tamzel-turn-memory PROGRAM_FOLDER [TURNS]: the main window with the real engine on the
// offscreen platform, records on, typed turns one after another; prints the resident memory
// after 1, 100 and then every 100 turns, so growth over a long conversation shows at once.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/Engine.h"
#include "ui/Adapters.h"
#include "ui/MainWindow.h"

using namespace tamzel::ui;

namespace {

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Quiet : SpeechPort, MessagePort, SettingsPort, ShutdownStore {
    bool InitSpeech(bool) override { return true; }
    void Speak(const std::string&) override {}
    void SpeechTick() override {}
    void StopSpeech() override {}
    bool Speaking() const override { return false; }
    void PlayWaveFile(const std::string&) override {}
    void ShowMessageDialog(const std::string& t, const std::string& x) override {
        std::fprintf(stderr, "%s: %s\n", t.c_str(), x.c_str());
    }
    bool AskQuestion(const std::string&, const std::string&) override { return false; }
    int Volume() const override { return 400; }
    int Speed() const override { return 60; }
    int Intonation() const override { return 4; }
    void SetLevels(int, int, int) override {}
    void ShowSettings() override {}
    tamzel::base::Status Store(const Settings&, const tamzel::base::ProfileValues&) override {
        return tamzel::base::Ok();
    }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "Usage: tamzel-turn-memory PROGRAM_FOLDER [TURNS]\n");
        return 2;
    }
    int turns = argc > 2 ? std::atoi(argv[2]) : 1000;
    tamzel::engine::Engine engine;
    EngineTalk talk(engine);
    talk.SetProfile({"Bench", "Bench", true, 0});
    Quiet quiet;
    MainServices services;
    services.talk = &talk;
    services.speech = &quiet;
    services.messages = &quiet;
    services.settings = &quiet;
    services.store = &quiet;
    services.openUrl = [](const std::string&) {};
    services.quit = [] {};
    services.halt = [] {};
    MainWindow window(services);
    if (tamzel::base::Status created = window.FormCreate({}); !created) {
        std::fprintf(stderr, "%s\n", created.message().c_str());
        return 1;
    }
    window.SetSwitches(true, true, true, true, false);
    window.show();
    const char* sentences[] = {"Ahoj", "Ako sa mas?", "Kolko je hodin?", "Povedz mi vtip",
                               "Mam rad hudbu", "Co robis?", "Si pocitac?", "Dakujem"};
    for (int i = 1; i <= turns; ++i) {
        window.SubmitInput(sentences[i % 8]);
        app.processEvents();
        if (i == 1 || i % 100 == 0) std::printf("turns %d: %ld kB resident\n", i, ResidentKb());
    }
    return 0;
}
