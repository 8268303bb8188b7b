#include "ui/Records.h"

#include <gtest/gtest.h>

#include "base/Files.h"
#include "tests/ui/TempFolder.h"
#include "ui/Text.h"

namespace tamzel::ui {
namespace {

// Both pages are Windows-1250 and say so before any text.
const char* const kCharsetLine =
    "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\"></head>";

std::tm At(int day, int month, int year, int h, int m, int s) {
    std::tm t{};
    t.tm_mday = day;
    t.tm_mon = month - 1;
    t.tm_year = year - 1900;
    t.tm_hour = h;
    t.tm_min = m;
    t.tm_sec = s;
    return t;
}

TEST(RecordsTest, TimeStampsHaveNoLeadingZeros) {
    struct Case { std::tm t; const char* expected; } cases[] = {
        {At(7, 12, 2026, 9, 5, 3), "7.12.2026 - 9:5:3"},
        {At(1, 1, 2027, 0, 0, 0), "1.1.2027 - 0:0:0"},
        {At(31, 10, 2026, 23, 59, 10), "31.10.2026 - 23:59:10"},
    };
    for (const Case& c : cases) EXPECT_EQ(DateTimeText(c.t), c.expected);
}

TEST(RecordsTest, RecordSequencesHaveTheirLineKinds) {
    std::tm t = At(7, 12, 2026, 9, 5, 3);
    Lines start = ConversationStartLines("Peter", t);
    ASSERT_EQ(start.size(), 3u);
    EXPECT_EQ(start[0], "");
    EXPECT_EQ(start[1], base::Cp1250("<Nový rozhovor - Peter - 7.12.2026 - 9:5:3"));
    EXPECT_EQ(start[2], std::string(50, '-'));
    EXPECT_EQ(ConversationEndLines(t), (Lines{std::string(50, '-'), base::Cp1250(">Rozhovor ukončený - 9:5:3"), ""}));
    EXPECT_EQ(RecordsOffLines(t), (Lines{std::string(50, '-'), base::Cp1250(">Záznamy vypnuté - 9:5:3")}));
    EXPECT_EQ(RecordsOnLines("Eva", t)[1], base::Cp1250("<Záznamy zapnuté - Eva - 7.12.2026 - 9:5:3"));
    Lines report = ReportStartLines("Eva", t);
    EXPECT_EQ(report, (Lines{std::string(52, '-'), " Novy Report - Eva - 7.12.2026 - 9:5:3",
                             std::string(52, '-'), ""}));
    EXPECT_EQ(ReportEndLines().size(), 6u);
    EXPECT_EQ(ReportTurnLines("xyz", "Nerozumiem."), (Lines{"", "-xyz", ">>>Nerozumiem."}));
}

TEST(RecordsTest, PageClosesABrokenBlockAndMarksRecordBlocks) {
    std::tm t = At(7, 12, 2026, 9, 5, 3);
    Lines record = ConversationStartLines("Peter", t);
    record.push_back(base::Cp1250("» Ahoj!"));
    record.push_back("Ahoj");  // "halt": no end line, the next block follows at once
    for (const std::string& l : RecordsOnLines("Peter", t)) record.push_back(l);
    record.push_back("x < y & \"z\"");
    for (const std::string& l : RecordsOffLines(t)) record.push_back(l);
    std::string page = BuildRecordsPage(base::JoinLines(record));
    Lines out = base::SplitLines(page);
    ASSERT_GE(out.size(), 6u);
    EXPECT_EQ(out[0], "<html>");
    EXPECT_EQ(out[1], kCharsetLine);
    EXPECT_EQ(out.back(), "</html>");
    auto find = [&out](const std::string& line) {
        return static_cast<int>(std::find(out.begin(), out.end(), line) - out.begin());
    };
    int broken = find(base::Cp1250("Rozhovor núdzovo ukončený"));
    int recordsTitle = find(base::Cp1250("Záznamy zapnuté - Peter - 7.12.2026 - 9:5:3"));
    ASSERT_LT(broken, static_cast<int>(out.size()));
    ASSERT_LT(recordsTitle, static_cast<int>(out.size()));
    EXPECT_LT(broken, recordsTitle);
    EXPECT_NE(out[recordsTitle - 1].find("background=\"records.gif\""), std::string::npos);
    int talkTitle = find(base::Cp1250("Nový rozhovor - Peter - 7.12.2026 - 9:5:3"));
    EXPECT_NE(out[talkTitle - 1].find("bgcolor=\"#404040\""), std::string::npos);
    EXPECT_LT(find(base::Cp1250("<b>» Ahoj!</b><br>")), broken);
    EXPECT_LT(find("Ahoj<br>"), broken);
    // User text is escaped; the block end closes normally, no second broken box.
    EXPECT_LT(find("x &lt; y &amp; &quot;z&quot;<br>"), static_cast<int>(out.size()));
    EXPECT_EQ(page.find("x < y"), std::string::npos);
    EXPECT_LT(find(base::Cp1250("Záznamy vypnuté - 9:5:3")), static_cast<int>(out.size()));
    EXPECT_EQ(std::count(out.begin(), out.end(), base::Cp1250("Rozhovor núdzovo ukončený")), 1);
    // Separators give nothing; empty lines a break only outside a block.
    EXPECT_EQ(page.find(std::string(50, '-')), std::string::npos);
    EXPECT_EQ(out[5], "<br>");
}

TEST(RecordsTest, UserLinesStartingWithMarksAreTakenAsTheirKinds) {
    std::string page = BuildRecordsPage("<start\r\n-ignored\r\n>done\r\n");
    EXPECT_EQ(page.find("ignored"), std::string::npos);
    EXPECT_NE(page.find("\r\nstart\r\n"), std::string::npos);
    EXPECT_NE(page.find("\r\ndone\r\n"), std::string::npos);
}

TEST(RecordsTest, SavedConversationForms) {
    std::tm t = At(7, 12, 2026, 9, 5, 3);
    Lines lines = {base::Cp1250("» Ahoj!"), "<script>", base::Cp1250("» Čau")};
    Lines text = base::SplitLines(ConversationText(lines, "Eva", t));
    EXPECT_EQ(text, (Lines{"<Rozhovor - Eva - 7.12.2026 - 9:5:3", std::string(50, '-'), base::Cp1250("» Ahoj!"),
                           "<script>", base::Cp1250("» Čau"), std::string(50, '-'), base::Cp1250(">Rozhovor ukončený")}));
    std::string html = ConversationHtml(lines, "Eva", t);
    Lines out = base::SplitLines(html);
    EXPECT_EQ(out[0], "<html>");
    EXPECT_EQ(out[1], kCharsetLine);
    EXPECT_EQ(out[6], "Rozhovor - Eva - 7.12.2026 - 9:5:3");
    EXPECT_EQ(out[9], base::Cp1250("<b>» Ahoj!</b><br>"));
    EXPECT_EQ(out[10], "&lt;script&gt;<br>");
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_EQ(out.back(), "</html>");
    EXPECT_EQ(out[out.size() - 4], base::Cp1250("Rozhovor ukončený"));
}

TEST(RecordsTest, SaveNamingRules) {
    struct Case { const char* chosen; int filter; const char* name; bool html; } cases[] = {
        {"/home/eva/rozhovor", 0, "/home/eva/rozhovor.htm", true},
        {"/home/eva/rozhovor", 1, "/home/eva/rozhovor.txt", false},
        {"/home/eva/ROZHOVOR.HTM", 0, "/home/eva/ROZHOVOR.HTM", false},
        {"/home/eva.novak/rozhovor", 0, "/home/eva.novak/rozhovor", false},
        {"/home/eva/a.htm", 1, "/home/eva/a.htm", true},
        {"/home/eva/a.html", 0, "/home/eva/a.html", false},
    };
    for (const Case& c : cases) {
        std::string name = SaveFileName(c.chosen, c.filter);
        EXPECT_EQ(name, c.name) << c.chosen;
        EXPECT_EQ(SavesAsHtml(name), c.html) << name;
    }
}

TEST(RecordsTest, ReadAloudPutsPlusAtEverySpeakerChange) {
    Lines lines = {base::Cp1250("» Ahoj"), "Ahoj", base::Cp1250("» Ako sa máš?"), base::Cp1250("» Ja dobre.")};
    EXPECT_EQ(ReadAloudText(lines), base::Cp1250("+» Ahoj+Ahoj+» Ako sa máš?» Ja dobre."));
    EXPECT_EQ(ReadAloudText({"a", "b"}), "ab");
    EXPECT_EQ(ReadAloudText({}), "");
}

TEST(RecordsTest, AppendingNeedsTheFileUnlessCreating) {
    testing::TempFolder folder;
    EXPECT_FALSE(AppendRecordLines("zaznamy/zaznamy.txt", {"a"}, true).empty());  // no folder
    folder.MakeFolder("zaznamy");
    EXPECT_FALSE(AppendRecordLines("zaznamy/zaznamy.txt", {"a"}, false).empty());
    EXPECT_EQ(AppendRecordLines("zaznamy/zaznamy.txt", {"a", ""}, true), "");
    EXPECT_EQ(AppendRecordLines("zaznamy/zaznamy.txt", {"b"}, false), "");
    std::string content;
    ASSERT_TRUE(base::ReadWholeFile("zaznamy/zaznamy.txt", content));
    EXPECT_EQ(content, "a\r\n\r\nb\r\n");
}

}  // namespace
}  // namespace tamzel::ui
