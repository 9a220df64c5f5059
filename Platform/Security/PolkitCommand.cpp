#include "PolkitCommand.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <ProcessSpawn/ProcessSpawn.h>

namespace security {
namespace {

const char* const kPkcheck = "/usr/bin/pkcheck";
const char* const kPkexec = "/usr/bin/pkexec";
const char* const kActionFile = "/usr/share/polkit-1/actions/com.brimwell.orvella.policy";
const char* const kSystemBus = "/run/dbus/system_bus_socket";

bool systemBusAnswers() {
    const int endpoint = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (endpoint < 0) return false;
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, kSystemBus, sizeof address.sun_path - 1);
    const bool connected = connect(endpoint, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(endpoint);
    return connected;
}

int runPkcheck(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "pkcheck");
    spawn::Launch launch = {kPkcheck, std::move(arguments), spawn::currentEnvironment()};
    launch.standardOutput = spawn::kNullDevice;  // the result's details, not needed
    return spawn::run(launch).exitStatus();
}

}  // namespace

bool polkitAvailable() {
    return access(kPkcheck, X_OK) == 0 && access(kPkexec, X_OK) == 0 && access(kActionFile, R_OK) == 0 &&
           systemBusAnswers();
}

PolkitAnswer checkAdministratorAction(bool allowInteraction) {
    std::vector<std::string> arguments = {"--action-id", kAdministratorAction, "--process", std::to_string(getpid())};
    if (allowInteraction) arguments.emplace_back("--allow-user-interaction");
    switch (runPkcheck(arguments)) {
        case 0:
            return PolkitAnswer::Granted;
        case 1:
            return PolkitAnswer::Denied;
        case 2:
            return PolkitAnswer::NoAgent;
        case 3:
            return PolkitAnswer::Dismissed;
        default:
            return PolkitAnswer::Failed;
    }
}

pid_t startUnderPkexec(const std::string& tool, const std::vector<std::string>& arguments, int toolEnd) {
    std::vector<std::string> words = {"pkexec", "--disable-internal-agent", tool};
    words.insert(words.end(), arguments.begin(), arguments.end());
    spawn::Launch launch = {kPkexec, std::move(words), spawn::currentEnvironment()};
    launch.standardInput = toolEnd;
    launch.standardOutput = toolEnd;
    const pid_t child = spawn::start(launch);
    if (child >= 0) spawn::reapWhenDone(child);
    return child;
}

}  // namespace security
