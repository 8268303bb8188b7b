#include "ui/CommandLine.h"

#include <cerrno>
#include <cstdlib>

namespace tamzel::ui {
namespace {

const std::set<std::string> kValueOptions = {
    "--home", "--user", "--seed", "--units", "--speak", "--wav",
    "--volume", "--speed", "--intonation", "--frames",
};

bool IsOption(const std::string& arg) { return arg.rfind("--", 0) == 0; }

}  // namespace

std::optional<std::string> CommandLine::Get(const std::string& key) const {
    auto it = options.find(key);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

std::optional<long> CommandLine::GetInt(const std::string& key, long fallback) const {
    auto value = Get(key);
    if (!value) return fallback;
    char* end = nullptr;
    errno = 0;
    long n = std::strtol(value->c_str(), &end, 10);
    if (value->empty() || *end != '\0' || errno == ERANGE) return std::nullopt;
    return n;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (kValueOptions.count(a)) {
            // The next option is no value: `--user --console` lacks the name.
            if (i + 1 >= args.size() || IsOption(args[i + 1])) {
                cl.error = "Voľba " + a + " potrebuje hodnotu.";
                return cl;
            }
            cl.options[a] = args[++i];
        } else if (IsOption(a)) {
            cl.flags.insert(a);
        } else {
            cl.words.push_back(a);
        }
    }
    return cl;
}

std::string UsageText() {
    return "Použitie: tamzel [--home PRIEČINOK] [--user MENO]\n"
           "         tamzel --console [--home PRIEČINOK] [--user MENO] [--female] [--seed N]\n"
           "                [--verbose]\n"
           "         tamzel --units TEXT [--user MENO]\n"
           "         tamzel --speak TEXT [--wav SÚBOR.wav] [--frames SÚBOR] [--volume N]\n"
           "                [--speed N] [--intonation N] [--user MENO] [--verbose]\n"
           "         tamzel build\n";
}

}  // namespace tamzel::ui
