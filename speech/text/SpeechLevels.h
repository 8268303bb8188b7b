// The ranges of the three speech levels: the settings window's sliders, the command line's
// --volume/--speed/--intonation and what speech expects of its settings all use this table.
// `initial` is where a slider stands before a user's settings are loaded.
#pragma once

namespace tamzel::speech {

struct LevelRange {
    int min;
    int max;
    int initial;

    // Wide, so that a number read from the command line is judged before it is narrowed.
    constexpr bool Contains(long long level) const { return level >= min && level <= max; }
};

inline constexpr LevelRange kVolumeLevels{0, 800, 400};
inline constexpr LevelRange kSpeedLevels{51, 100, 60};
inline constexpr LevelRange kIntonationLevels{0, 18, 4};

}  // namespace tamzel::speech
