// What one face frame shows: the mouth shape, the eyes and brows, where the pupils look,
// the cheeks, and for the head frames how the head is turned.
//
// A pose is plain data; FacePainter draws it. The neutral pose (all defaults) is the
// face of "default2"; every other frame differs from it only in the fields it sets.
#pragma once

namespace tamzel::speech {

enum class Mouth {
    Neutral,    // closed, friendly
    WideOpen,   // a, e
    Clenched,   // t, d, k: teeth together, lips parted
    Spread,     // i, s, c, y: narrow and wide
    Pressed,    // b: lips pressed together
    TeethClose, // z, ž: teeth nearly closed, lips a little forward
    Round,      // o
    TongueUp,   // l: open, tongue tip at the upper teeth
    LipUnderTeeth, // f
    Pucker,     // u, h, ch, g, š
    Closed,     // m, n, ň: lips together, relaxed
    Tongue,     // r: half open, tongue raised
    LipUnderTeethWide, // v, w
    Protruded,  // j, č: lips forward and open, teeth showing
    PressedPuff, // p: pressed, cheeks about to release
    Smile,      // happy: open smile
    Frown,      // sad
    Flat,       // bored: straight and a little to one side
    SmirkSmile, // wink
    Tight,      // angry: a small downturned line
    Shout,      // furious: open, teeth clenched
};

enum class Eyes { Open, Closed, HappyArcs, Bored, WinkRight };

enum class Brows { Neutral, Raised, Sad, Angry, Furious, Bored };

struct FacePose {
    Mouth mouth = Mouth::Neutral;
    Eyes eyes = Eyes::Open;
    Brows brows = Brows::Neutral;
    // Where the pupils look, -1..1 in each direction; y is positive downwards.
    double gazeX = 0.0;
    double gazeY = 0.0;
    bool flushed = false;  // furious: red cheeks
    // Head frames: the head moves by headShift pixels and the features, which lie on the
    // turned front of the head, by featureShift more.
    double headShiftX = 0.0;
    double headShiftY = 0.0;
    double featureShiftX = 0.0;
    double featureShiftY = 0.0;
};

}  // namespace tamzel::speech
