// Opens each path through the shared workspace, prints YES or NO for each, and ends at once.
#include <AppKit/NSWorkspace.h>

#include <cstdio>

int main(int argc, char** argv)
{
    for (int index = 1; index < argc; ++index)
        std::printf("%s\n", NSWorkspace::sharedWorkspace()->openFile(argv[index]) ? "YES" : "NO");
    return 0;
}
