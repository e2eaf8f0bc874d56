// Held open by the test scripts for a whole run: Wine's own service and desktop
// processes start for it, not for a test, so they never inherit a test's output pipes.
#include <windows.h>

int main() {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
