// Drives PrivilegedCommandRunner step by step as the callers do and prints each step's status:
//   runner-probe create | acquire | run TOOL [ARG...] --end | wait | free ...
#include <cstdio>
#include <cstring>
#include <vector>

#include "PrivilegedCommandRunner.h"

int main(int argc, char** argv)
{
    PrivilegedCommandRunner runner;
    for (int index = 1; index < argc; ++index) {
        const char* step = argv[index];
        if (std::strcmp(step, "create") == 0) {
            std::printf("create %d\n", static_cast<int>(runner.createAuthorization()));
        } else if (std::strcmp(step, "acquire") == 0) {
            std::printf("acquire %d\n", static_cast<int>(runner.acquireAdminRight()));
        } else if (std::strcmp(step, "run") == 0 && index + 1 < argc) {
            const char* tool = argv[++index];
            std::vector<const char*> arguments;
            while (index + 1 < argc && std::strcmp(argv[index + 1], "--end") != 0)
                arguments.push_back(argv[++index]);
            ++index;
            arguments.push_back(nullptr);
            std::printf("run %d\n", static_cast<int>(runner.runTool(tool, arguments.data())));
        } else if (std::strcmp(step, "wait") == 0) {
            std::printf("wait %d\n", runner.waitForTool(20) ? 1 : 0);
        } else if (std::strcmp(step, "free") == 0) {
            runner.freeAuthorization();
            std::printf("free\n");
        } else {
            std::fprintf(stderr, "runner-probe: unknown step %s\n", step);
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
