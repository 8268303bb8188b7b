#include "ui/TurnPresenter.h"

#include <cstddef>

#include "ui/TurnText.h"

namespace tamzel::ui {
namespace {

// What goes into zaznamy.txt before the reply line.
enum class RecordForm {
    Nothing,  // the self-talk partner keeps its own records
    Reply,    // the opening line stands alone under the conversation's head
    Input,    // the sentence, then the reply
    Note,     // a note why the window spoke unasked, then the reply
};

struct OriginStyle {
    bool showsInput;
    RecordForm record;
    std::string (*note)();  // for RecordForm::Note
    // Only a sentence someone said can be misunderstood; the window's own turns and the
    // opening line are never reported.
    bool reportsMisunderstanding;
    bool answersSelfTalk;
    bool endsTypedLine;
};

// Indexed by TurnOrigin.
const OriginStyle kStyles[] = {
    /* Opening  */ {false, RecordForm::Reply, nullptr, false, false, false},
    /* Typed    */ {true, RecordForm::Input, nullptr, true, false, true},
    /* Idle     */ {false, RecordForm::Note, IdleNoteLine, false, false, false},
    /* Hover    */ {false, RecordForm::Note, HoverNoteLine, false, false, false},
    /* SelfTalk */ {true, RecordForm::Nothing, nullptr, true, true, true},
};

const OriginStyle& StyleOf(TurnOrigin origin) { return kStyles[static_cast<size_t>(origin)]; }

Lines RecordLines(const OriginStyle& style, const std::string& input, const std::string& reply) {
    switch (style.record) {
        case RecordForm::Nothing: return {};
        case RecordForm::Reply: return {reply};
        case RecordForm::Input: return {input, reply};
        case RecordForm::Note: return {style.note(), reply};
    }
    return {};
}

}  // namespace

engine::TurnKind KindOf(TurnOrigin origin) {
    switch (origin) {
        case TurnOrigin::Idle: return engine::TurnKind::Idle;
        case TurnOrigin::Hover: return engine::TurnKind::Hover;
        default: return engine::TurnKind::Typed;
    }
}

TurnPresentation PresentTurn(TurnOrigin origin, const std::string& input,
                             const engine::TurnResult& turn, const TurnSwitches& switches,
                             const std::string& selfTalkMarker) {
    const OriginStyle& style = StyleOf(origin);
    const std::string shown = StripTags(turn.reply);
    const std::string replyLine = kCharacterPrefix + shown;
    TurnPresentation out;
    if (style.showsInput) out.shown.push_back({input, false});
    out.shown.push_back({replyLine, true});
    if (switches.records) {
        out.record = RecordLines(style, input, replyLine);
        if (style.reportsMisunderstanding && !turn.understood) {
            out.report = ReportTurnLines(input, shown);
        }
    }
    if (switches.speech) out.speech = turn.reply;
    if (style.answersSelfTalk) out.selfTalkAnswer = selfTalkMarker + shown + "\r\n";
    out.endsTypedLine = style.endsTypedLine;
    return out;
}

}  // namespace tamzel::ui
