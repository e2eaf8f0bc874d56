// A program for the user-tools tests to start: waits for the named event
// (set by the test while it waits for us), then writes its current folder
// and how the wait ended into the given file.
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    DWORD r = event ? WaitForSingleObject(event, 30000) : WAIT_FAILED;
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    FILE* f = fopen(argv[1], "wb");
    if (!f)
        return 3;
    fprintf(f, "%s\n%s\n", folder, r == WAIT_OBJECT_0 ? "signalled" : "not signalled");
    fclose(f);
    return 0;
}
