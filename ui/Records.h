// Conversation records and saved conversations, as plain functions over Windows-1250 text:
// the line sequences of zaznamy/zaznamy.txt and zaznamy/report.txt, the records page
// zaznamy/zaznamy.htm built from the running record, the two forms of a saved conversation,
// the save-name rules and the text read aloud by "Prečítaj". No widgets; the main window
// calls these and decides where the lines go.
//
// Time stamps have no leading zeros: 7.12.2026 - 9:5:3. Every text written into HTML is
// escaped (& < > "), so nothing a user types can put markup into a page.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "base/Lines.h"

namespace tamzel::ui {

using base::Lines;

std::string DateText(const std::tm& t);       // "7.12.2026"
std::string TimeText(const std::tm& t);       // "9:5:3"
std::string DateTimeText(const std::tm& t);   // "7.12.2026 - 9:5:3"
std::string HtmlEscape(const std::string& text);

// The character's prefix in the view and the records: "» " (0xBB, blank).
extern const char* const kCharacterPrefix;
bool IsCharacterLine(const std::string& line);

// zaznamy.txt sequences.
Lines ConversationStartLines(const std::string& user, const std::tm& t);
Lines ConversationEndLines(const std::tm& t);
Lines RecordsOnLines(const std::string& user, const std::tm& t);
Lines RecordsOffLines(const std::tm& t);
// Note lines written before the answer of a turn the window starts itself.
std::string HoverNoteLine();
std::string IdleNoteLine();

// report.txt sequences.
Lines ReportStartLines(const std::string& user, const std::tm& t);
Lines ReportEndLines();
Lines ReportTurnLines(const std::string& input, const std::string& answer);

// The records page built from the whole text of zaznamy.txt (CR LF or LF line ends).
std::string BuildRecordsPage(const std::string& recordText);

// A saved conversation: the text form and the HTML form, CR LF line ends.
std::string ConversationText(const Lines& lines, const std::string& user, const std::tm& t);
std::string ConversationHtml(const Lines& lines, const std::string& user, const std::tm& t);

// The name a save ends with: `chosen` as picked in the dialog; when it holds no full stop
// anywhere, ".htm" is added for the first filter (index 0) and ".txt" for the second.
std::string SaveFileName(const std::string& chosen, int filterIndex);
// Whether a saved file gets the HTML form: its extension is exactly ".htm".
bool SavesAsHtml(const std::string& name);

// "Prečítaj": the lines joined with nothing between them, "+" before every change of speaker
// (the user speaks before the first line).
std::string ReadAloudText(const Lines& lines);

// Appends lines to a record file. With `create` false the file must already exist.
// Returns an empty text on success, else a Slovak message (UTF-8) naming the file.
std::string AppendRecordLines(const std::string& path, const Lines& lines, bool create);

}  // namespace tamzel::ui
