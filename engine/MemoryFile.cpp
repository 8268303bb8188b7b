// Memory files: what Tamzel has learned about a user, as objects with properties whose
// values are ';'-separated lists, in users/_<name>/user.mem. Nothing is cached: every read
// opens the file and every change rewrites it whole.
//
// A rewrite never puts the content at risk: the new content goes to a scratch file in ai/
// (ai/help.mem.tmp<pid>-<n>, created exclusively, so two programs or two users never write
// into one scratch file), is flushed to disk and then renamed over the memory file, so a
// crash or kill at any moment leaves either the old or the new file. When the scratch
// folder cannot be used, a temporary file beside the memory file takes its place. When the
// memory file cannot be written at all, the changed content stays in the engine (later reads
// see it) and is written with the next change; the problem goes to hooks.onMemoryProblem and the
// turn goes on.
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "base/Files.h"
#include "base/Lines.h"
#include "base/Codepage.h"
#include "base/ProfilePaths.h"
#include "base/SystemErrors.h"
#include "engine/internal/EngineCore.h"

namespace tamzel::engine {

namespace {

using base::Lines;

const char kObjectPrefix[] = "OBJECT";
const char kCloseLine[] = "<-";
const char kOpenLine[] = "->";

// The memory file of a new profile.
const Lines kNewFileLines = {"[DUZ]", "OBJECT(user)", "->", "<-"};

bool IsObjectLine(const std::string& line) { return line.compare(0, 6, kObjectPrefix) == 0; }

std::string ObjectName(const std::string& line) { return BracketContent(line, '(', ')'); }

bool IsObjectLineOf(const std::string& line, const std::string& object) {
    return IsObjectLine(line) && ObjectName(line) == object;
}

bool IsPropertyLineOf(const std::string& line, const std::string& property) {
    size_t colon = line.find(':');
    return colon != std::string::npos && line.compare(0, colon, property) == 0 &&
           colon == property.size();
}

std::string ValueOf(const std::string& line) { return line.substr(line.find(':') + 1); }

// The property line with `value` as a further item, unless it is one already.
std::string WithItem(const std::string& line, const std::string& value) {
    std::string items = ";" + ValueOf(line) + ";";
    if (items.find(";" + value + ";") != std::string::npos) return line;
    return line + ";" + value;
}

// The property line without the first item equal to `value`; an emptied list stays as an
// empty value.
std::string WithoutItem(const std::string& line, const std::string& value) {
    std::string items = ";" + ValueOf(line) + ";";
    size_t at = items.find(";" + value + ";");
    if (at != std::string::npos) items.replace(at, value.size() + 2, ";");
    std::string rest = items.size() <= 1 ? std::string() : items.substr(1, items.size() - 2);
    return line.substr(0, line.find(':') + 1) + rest;
}

// Object, property and value of "object,property,value"; the value keeps further commas.
struct MemoryArgument {
    std::string object, property, value;
};

MemoryArgument SplitArgument(const std::string& argument) {
    MemoryArgument a;
    size_t first = argument.find(',');
    a.object = argument.substr(0, first);
    if (first == std::string::npos) return a;
    size_t second = argument.find(',', first + 1);
    a.property = argument.substr(first + 1, second == std::string::npos ? second : second - first - 1);
    if (second != std::string::npos) a.value = argument.substr(second + 1);
    return a;
}

// A line break inside a name or value would split one line into two and break the
// structure of the file for every object after it.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

std::string TrimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The name becomes a folder under users/: it must not lead out of it. The profile store
// lets no such name in; this guards the engine when it is given a name directly.
bool FolderSafe(const std::string& name) {
    for (char c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

// The value of the first object of that name; empty when the object or property is absent.
std::string FindValue(const Lines& lines, const std::string& object, const std::string& property) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsObjectLine(lines[i])) continue;
        if (ObjectName(lines[i]) != object) {
            while (i + 1 < lines.size() && lines[i + 1] != kCloseLine) ++i;
            continue;
        }
        for (size_t j = i + 2; j < lines.size() && lines[j] != kCloseLine; ++j)
            if (IsPropertyLineOf(lines[j], property)) return ValueOf(lines[j]);
        return {};
    }
    return {};
}

Lines AddedValue(const Lines& lines, const MemoryArgument& a) {
    Lines out;
    bool objectFound = false;
    const std::string newLine = a.property + ":" + a.value;
    for (size_t i = 0; i < lines.size(); ++i) {
        out.push_back(lines[i]);
        if (!IsObjectLineOf(lines[i], a.object)) continue;
        objectFound = true;
        bool handled = false, closed = false;
        size_t j = i + 1;
        for (; j < lines.size(); ++j) {
            const std::string& line = lines[j];
            if (line == kCloseLine) {
                if (!handled) out.push_back(newLine);
                out.push_back(line);
                closed = true;
                break;
            }
            bool ofProperty = IsPropertyLineOf(line, a.property);
            out.push_back(ofProperty ? WithItem(line, a.value) : line);
            handled = handled || ofProperty;
        }
        // An object cut short by the end of the file gets its value and its end line.
        if (!closed) {
            if (!handled) out.push_back(newLine);
            out.push_back(kCloseLine);
        }
        i = j;
    }
    if (!objectFound) {
        Lines block = {"", "OBJECT(" + a.object + ")", kOpenLine, newLine, kCloseLine};
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

Lines RemovedValue(const Lines& lines, const MemoryArgument& a) {
    Lines out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsObjectLineOf(lines[i], a.object)) {
            out.push_back(lines[i]);
            continue;
        }
        bool wholeObject = a.property.empty();
        if (!wholeObject) out.push_back(lines[i]);
        for (++i; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            bool closing = line == kCloseLine;
            if (!wholeObject && IsPropertyLineOf(line, a.property)) {
                if (!a.value.empty()) out.push_back(WithoutItem(line, a.value));
            } else if (!wholeObject) {
                out.push_back(line);
            }
            if (closing) break;
        }
    }
    return out;
}

std::string ShownPath(const std::string& path) { return base::FromUtf8Lossy(path); }

// Why a write failed, in words a user understands.
std::string Reason(int error) { return base::ErrorPhrase1250(error); }

}  // namespace

// Loading and saving of the signed-in user's memory file, with the recovery described at
// the top of this file. A friend of Engine for the kept content.
class MemoryStore {
public:
    explicit MemoryStore(EngineCore& engine) : e_(engine), path_(engine.MemoryFilePath()) {}

    enum class Loaded { Fine, Missing, Unreadable };

    Loaded Load(Lines& lines) {
        if (!FolderSafe(e_.UserName)) {
            Problem(base::Cp1250("Meno používateľa sa nedá použiť ako názov priečinka; pamäť sa nepoužije."));
            return Loaded::Unreadable;
        }
        if (!e_.pendingMemoryPath_.empty() && e_.pendingMemoryPath_ == path_) {
            lines = base::SplitLines(e_.pendingMemory_);
            return Loaded::Fine;
        }
        std::string content;
        if (base::ReadWholeFile(path_, content)) {
            lines = base::SplitLines(content);
            return Loaded::Fine;
        }
        bool missing = ::access(path_.c_str(), F_OK) != 0 && errno == ENOENT;
        Problem(base::Cp1250("Pamäťový súbor \"") + ShownPath(path_) +
                base::Cp1250(missing ? "\" neexistuje." : "\" sa nedá prečítať."));
        return missing ? Loaded::Missing : Loaded::Unreadable;
    }

    // Applies a change to the file's lines and writes the result.
    template <typename ChangeFn>
    void Apply(ChangeFn change) {
        Lines lines;
        Loaded loaded = Load(lines);
        if (loaded == Loaded::Unreadable) return;  // writing now would lose what it holds
        if (loaded == Loaded::Missing) lines = kNewFileLines;
        Save(base::JoinLines(change(lines)));
    }

    void Save(const std::string& content) {
        int scratchError = base::WriteThroughTemp(ScratchPath(), path_, content);
        if (scratchError == 0) return Saved(true);
        int directError = base::WriteThroughTemp(path_, path_, content);
        if (directError == 0) {
            Saved(false);  // the scratch problem stays until the scratch file works again
            return Problem(base::Cp1250("Pomocný súbor \"") + ShownPath(ScratchPath()) +
                           base::Cp1250("\" sa nedá použiť (") + Reason(scratchError) +
                           base::Cp1250("); pamäť bola zapísaná priamo."));
        }
        e_.pendingMemoryPath_ = path_;
        e_.pendingMemory_ = content;
        Problem(base::Cp1250("Pamäť sa nedá uložiť do \"") + ShownPath(path_) + "\" (" +
                Reason(directError) +
                base::Cp1250("). Zmeny zostávajú v programe a uložia sa pri ďalšej zmene."));
    }

    void Saved(bool allWell) {
        if (e_.pendingMemoryPath_ == path_) {
            e_.pendingMemoryPath_.clear();
            e_.pendingMemory_.clear();
        }
        if (allWell) e_.lastMemoryProblem_.clear();
    }

private:
    // ai/help.mem: the scratch files sit beside the brain file and take this name with the
    // process and a counter appended.
    std::string ScratchPath() const {
        size_t slash = e_.brainPath.rfind('/');
        return (slash == std::string::npos ? std::string() : e_.brainPath.substr(0, slash + 1)) +
               "help.mem";
    }

    // Each problem is reported once, until something works again.
    void Problem(const std::string& message) {
        if (message == e_.lastMemoryProblem_) return;
        e_.lastMemoryProblem_ = message;
        if (e_.hooks.onMemoryProblem) e_.hooks.onMemoryProblem(message);
    }

    EngineCore& e_;
    std::string path_;
};

std::string EngineCore::MemoryFilePath() const { return base::MemoryFileOf(UserName); }

std::string EngineCore::ReadMemoryValue(const std::string& object, const std::string& property) {
    Lines lines;
    if (MemoryStore(*this).Load(lines) != MemoryStore::Loaded::Fine) return {};
    return FindValue(lines, TrimBlanks(object), property);
}

void EngineCore::AddMemoryValue(const std::string& argument) {
    MemoryArgument a = SplitArgument(OneLine(argument));
    // A name that would not read back as itself would mix with another object's or
    // property's values.
    if (ObjectName("OBJECT(" + a.object + ")") != a.object ||
        a.property.find(':') != std::string::npos) {
        ReportError("Pamat: nepouzitelny nazov objektu alebo vlastnosti: " + a.object + "," +
                    a.property);
        return;
    }
    MemoryStore(*this).Apply([&](const Lines& lines) { return AddedValue(lines, a); });
}

void EngineCore::RemoveMemoryValue(const std::string& argument) {
    MemoryArgument a = SplitArgument(OneLine(argument));
    MemoryStore(*this).Apply([&](const Lines& lines) { return RemovedValue(lines, a); });
}

}  // namespace tamzel::engine
