// What the main window does with one turn of the conversation, decided without widgets: the
// lines it shows, the lines it appends to the records (zaznamy/zaznamy.txt) and to the report
// of turns the brain did not understand (zaznamy/report.txt), the text it speaks and, for a
// turn asked by another program through the self-talk file, the answer written back there.
//
// The window has four ways into a turn (its opening line, a typed sentence, a turn it starts
// itself when the user is idle or points at the close button, and the self-talk hook); they
// differ in what reaches the files, and those differences live in one table per origin here
// rather than in four copies of the turn. Texts are Windows-1250.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Turn.h"
#include "ui/Records.h"

namespace tamzel::ui {

enum class TurnOrigin { Opening, Typed, Idle, Hover, SelfTalk };

// The menu switches a turn depends on: "Záznamy" and "Reč".
struct TurnSwitches {
    bool records = false;
    bool speech = false;
};

struct ShownLine {
    std::string text;  // the character's line carries its prefix
    bool character = false;
    bool operator==(const ShownLine&) const = default;
};

struct TurnPresentation {
    std::vector<ShownLine> shown;
    Lines record;  // for zaznamy/zaznamy.txt; empty when nothing is recorded
    Lines report;  // for zaznamy/report.txt; empty when nothing is reported
    std::optional<std::string> speech;          // the reply with its tags, for the voice
    std::optional<std::string> selfTalkAnswer;  // the whole line written back, with its end
    // The typed line is done with: the input line is emptied and the idle time restarts.
    bool endsTypedLine = false;
};

// The kind of engine turn an origin asks for; the opening line is not an answer at all.
engine::TurnKind KindOf(TurnOrigin origin);

// `input` is the sentence answered (empty for the opening and the window's own turns);
// `selfTalkMarker` starts the line written back to the self-talk file.
TurnPresentation PresentTurn(TurnOrigin origin, const std::string& input,
                             const engine::TurnResult& turn, const TurnSwitches& switches,
                             const std::string& selfTalkMarker = "");

}  // namespace tamzel::ui
