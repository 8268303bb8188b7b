// Gives every test executable its environment, also when run directly rather than through
// ctest: the source folder, the program folder of this build, and Qt's offscreen platform.
// Values already set in the environment win.
#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("TAMZEL_SOURCE_DIR", TAMZEL_TEST_SOURCE_DIR, 0);
        setenv("TAMZEL_HOME", TAMZEL_TEST_HOME, 0);
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
};

const TestEnvironment environment;

}  // namespace
