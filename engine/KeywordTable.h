// The 56 keywords of the brain language. They are kept encoded (a random salt byte, then
// each byte shifted by its predecessor) and are plain only while a rule pass runs.
#pragma once

#include <array>
#include <string>

#include "base/Seams.h"

namespace tamzel::engine {

// Keyword-table entries by role.
namespace kw {
constexpr int YearTag = 1, MonthTag = 2, DayTag = 3, WeekdayTag = 4, HourTag = 5,
              MinuteTag = 6, WordPositionTag = 7, MemoryTag = 8, AgeTag = 9, CaptureTag = 10,
              CapitalTag = 11, RepeatCountTag = 12, IdleCountTag = 13, GenderTag = 14,
              VariableTag = 15, RandomTag = 16, MoodTag = 17, RestTag = 18,
              ReflectedRestTag = 19, NextWordTag = 20;
constexpr int StoredWordList1 = 21, StoredWordList2 = 22, InlineWordList = 23,
              CurrentSelector = 24;
constexpr int OpeningTest = 25, FirstTurnTest = 26, IdleTest = 27, CommaTest = 28,
              HoverTest = 29, NumberTest = 30, GibberishTest = 31, MaleTest = 32,
              FemaleTest = 33, RepeatTest = 34, WordCountTest = 35;
constexpr int BlockHeadKeyword = 36, ElseKeyword = 37, NotUnderstoodMarker = 38,
              InsertCommand = 39, ReplaceCommand = 40, QuitCommand = 41, HaltCommand = 42,
              RunCommand = 43, MoodCommand = 44, DeclareCommand = 45, AssignCommand = 46,
              ReleaseCommand = 47, RememberCommand = 48, ForgetCommand = 49,
              KeepGoingOffCommand = 50, ContinueMark = 51, AddOperator = 52,
              MultiplyOperator = 53, SubtractOperator = 54, DivideOperator = 55,
              Reserved56 = 56;
}  // namespace kw

std::string EncodeKeyword(const std::string& plain, base::Random& random);
std::string DecodeKeyword(const std::string& encoded);

class KeywordTable {
public:
    explicit KeywordTable();
    // Entry k (1..56) in its current form: plain during a pass, encoded otherwise.
    const std::string& Keyword(int k) const { return entries_[k]; }
    bool plain() const { return plain_; }
    void DecodeAll();
    void EncodeAll(base::Random& random);

private:
    std::array<std::string, 57> entries_;  // index 0 unused
    bool plain_ = false;
};

}  // namespace tamzel::engine
