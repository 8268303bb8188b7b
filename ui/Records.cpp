#include "ui/Records.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "base/SystemErrors.h"
#include "base/Codepage.h"

namespace tamzel::ui {
namespace {

const std::string& Hyphens50() {
    static const std::string line(50, '-');
    return line;
}

const std::string& Hyphens52() {
    static const std::string line(52, '-');
    return line;
}

// Opening and closing pieces shared by the records page and a saved conversation. The page
// names its code page, or a browser guessing another one mangles every diacritic.
const char* const kPageHead[] = {
    "<html>",
    "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"
    "</head>",
    "<body leftmargin=\"0\" topmargin=\"0\" margin=\"0\"><font face=\"Verdana, Arial\" size=\"4\">",
};
const char* const kBlockTitleOpen =
    " width=\"90%\"><TR><TD><font color=\"white\" face=\"Verdana, Arial\" size=\"2\">";
const char* const kBlockTitleClose = "</font></TD></TR></TABLE>";
const char* const kBlockBody =
    "<TABLE width=\"90%\" border=0 style=\"BORDER: black thin solid; width=\"580\"><TR><TD>"
    "<font color=\"black\" face=\"Verdana, Arial\">";
const char* const kBlockEndOpen =
    "</font></TD></TR></TABLE></FONT><TABLE bgcolor=\"#404040\" width=\"90%\"><TR><TD>"
    "<font color=\"white\" face=\"Verdana, Arial\" size=\"2\">";
const char* const kBrokenEndOpen =
    "</font></TD></TR></TABLE></FONT><TABLE bgcolor=\"darkred\" width=\"90%\"><TR><TD>"
    "<font color=\"white\" face=\"Verdana, Arial\" size=\"2\">";
const char* const kPageTail =
    "</center></td><td width=\"*\" bgcolor=\"#DADADA\"></td></b></table>";

void AddConversationLineHtml(Lines& out, const std::string& line) {
    if (IsCharacterLine(line)) {
        out.push_back("<b>" + HtmlEscape(line) + "</b><br>");
    } else {
        out.push_back(HtmlEscape(line) + "<br>");
    }
}

// One record line of zaznamy.txt turned into page lines; `open` is the block-open flag.
void AddRecordLineHtml(Lines& out, const std::string& line, bool& open) {
    if (line.empty()) {
        if (!open) out.push_back("<br>");
        return;
    }
    switch (line[0]) {
        case '<': {
            if (open) {
                out.push_back(kBrokenEndOpen);
                out.push_back(base::Cp1250("Rozhovor núdzovo ukončený"));
                out.push_back("</font></STRONG></TD></TR></TABLE><BR><BR><BR><BR><BR>");
            }
            bool records = line.compare(1, 7, base::Cp1250("Záznamy")) == 0;
            std::string attr = records ? "background=\"records.gif\"" : "bgcolor=\"#404040\"";
            out.push_back("<TABLE " + attr + kBlockTitleOpen);
            out.push_back(HtmlEscape(line.substr(1)));
            out.push_back(kBlockTitleClose);
            out.push_back(kBlockBody);
            open = true;
            return;
        }
        case '>':
            out.push_back(kBlockEndOpen);
            out.push_back(HtmlEscape(line.substr(1)));
            out.push_back("</font></STRONG></TD></TR></TABLE><BR><BR><BR>");
            open = false;
            return;
        case '-':
            return;
        default:
            AddConversationLineHtml(out, line);
    }
}

}  // namespace

const char* const kCharacterPrefix = "\xBB ";

bool IsCharacterLine(const std::string& line) {
    return !line.empty() && static_cast<unsigned char>(line[0]) == 0xBB;
}

std::string DateText(const std::tm& t) {
    return std::to_string(t.tm_mday) + "." + std::to_string(t.tm_mon + 1) + "." +
           std::to_string(t.tm_year + 1900);
}

std::string TimeText(const std::tm& t) {
    return std::to_string(t.tm_hour) + ":" + std::to_string(t.tm_min) + ":" +
           std::to_string(t.tm_sec);
}

std::string DateTimeText(const std::tm& t) { return DateText(t) + " - " + TimeText(t); }

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

Lines ConversationStartLines(const std::string& user, const std::tm& t) {
    return {"", base::Cp1250("<Nový rozhovor - ") + user + " - " + DateTimeText(t), Hyphens50()};
}

Lines ConversationEndLines(const std::tm& t) {
    return {Hyphens50(), base::Cp1250(">Rozhovor ukončený - ") + TimeText(t), ""};
}

Lines RecordsOnLines(const std::string& user, const std::tm& t) {
    return {"", base::Cp1250("<Záznamy zapnuté - ") + user + " - " + DateTimeText(t), Hyphens50()};
}

Lines RecordsOffLines(const std::tm& t) {
    return {Hyphens50(), base::Cp1250(">Záznamy vypnuté - ") + TimeText(t)};
}

std::string HoverNoteLine() { return base::Cp1250("[Užívateľ ide zjavne Tamzela vypnúť]"); }
std::string IdleNoteLine() { return base::Cp1250("[Užívateľ nečinný]"); }

Lines ReportStartLines(const std::string& user, const std::tm& t) {
    return {Hyphens52(), " Novy Report - " + user + " - " + DateTimeText(t), Hyphens52(), ""};
}

Lines ReportEndLines() {
    return {Hyphens50(), " Report Ukonceny ", Hyphens50(), "", "", ""};
}

Lines ReportTurnLines(const std::string& input, const std::string& answer) {
    return {"", "-" + input, ">>>" + answer};
}

std::string BuildRecordsPage(const std::string& recordText) {
    Lines out(std::begin(kPageHead), std::end(kPageHead));
    out.push_back(
        "<table width=\"100%\" height=\"100%\" cellspacing=\"0\"><tr><td width=\"*\" "
        "bgcolor=#B2B2B2></td><td width=\"580\" background=\"pozadie.jpg\" style=\"padding-left: "
        "10; padding-right: 10; padding-top: 10; padding-bottom: 10;\">");
    out.push_back("<b><center>");
    bool open = false;
    for (const std::string& line : base::SplitLines(recordText)) AddRecordLineHtml(out, line, open);
    out.push_back("</table></center></td><td width=\"*\" bgcolor=\"#DADADA\"></td></b></table>");
    out.push_back("</html>");
    return base::JoinLines(out);
}

std::string ConversationText(const Lines& lines, const std::string& user, const std::tm& t) {
    Lines out{"<Rozhovor - " + user + " - " + DateTimeText(t), Hyphens50()};
    out.insert(out.end(), lines.begin(), lines.end());
    out.push_back(Hyphens50());
    out.push_back(base::Cp1250(">Rozhovor ukončený"));
    return base::JoinLines(out);
}

std::string ConversationHtml(const Lines& lines, const std::string& user, const std::tm& t) {
    Lines out(std::begin(kPageHead), std::end(kPageHead));
    out.push_back(
        "<table width=\"100%\" height=\"100%\" cellspacing=\"0\"><tr><td width=\"*\" "
        "bgcolor=#B2B2B2></td><td width=\"580\" bgcolor=\"#C6C6C6\" style=\"BORDER: black thin "
        "solid; padding-left: 10; padding-right: 10; padding-top: 10; padding-bottom: 10;\">");
    out.push_back("<b><center>");
    out.push_back(std::string("<TABLE bgcolor=\"#404040\"") + kBlockTitleOpen);
    out.push_back(HtmlEscape("Rozhovor - " + user + " - " + DateTimeText(t)));
    out.push_back(kBlockTitleClose);
    out.push_back(kBlockBody);
    for (const std::string& line : lines) AddConversationLineHtml(out, line);
    out.push_back(kBlockEndOpen);
    out.push_back(base::Cp1250("Rozhovor ukončený"));
    out.push_back("</font></STRONG></TD></TR></TABLE><BR><BR><BR>");
    out.push_back(kPageTail);
    out.push_back("</html>");
    return base::JoinLines(out);
}

std::string SaveFileName(const std::string& chosen, int filterIndex) {
    if (chosen.find('.') != std::string::npos) return chosen;
    return chosen + (filterIndex == 1 ? ".txt" : ".htm");
}

bool SavesAsHtml(const std::string& name) {
    size_t slash = name.rfind('/');
    std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
    size_t dot = file.rfind('.');
    return dot != std::string::npos && file.substr(dot) == ".htm";
}

std::string ReadAloudText(const Lines& lines) {
    std::string out;
    bool previousCharacter = false;  // the user speaks before the first line
    for (const std::string& line : lines) {
        bool character = IsCharacterLine(line);
        if (character != previousCharacter) out += '+';
        out += line;
        previousCharacter = character;
    }
    return out;
}

std::string AppendRecordLines(const std::string& path, const Lines& lines, bool create) {
    struct stat st{};
    if (!create && stat(path.c_str(), &st) != 0) {
        return "Súbor " + path + " neexistuje.";
    }
    FILE* f = std::fopen(path.c_str(), "ab");
    if (!f)
        return "Do súboru " + path + " sa nedá zapisovať: " + base::ErrorPhrase(errno) + ".";
    std::string text = base::JoinLines(lines);
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) return "Zápis do súboru " + path + " zlyhal.";
    return "";
}

}  // namespace tamzel::ui
