// Entry point of every test executable (the IDE's tests bring their own, over the IDE's
// application class).
#include <gtest/gtest.h>
#include "tests/harness/test_app.h"

int main(int argc, char** argv) {
    vt::PrepareTestProcess(&argc, argv);
    // Its name (message-box captions) is the product's.
    vt::TestApp<CWinApp> app("Veltane Tool");
    return RUN_ALL_TESTS();
}
