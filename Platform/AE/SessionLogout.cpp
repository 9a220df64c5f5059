#include "SessionLogout.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <AE/AEDataModel.h>

namespace {

constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kManagerPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";

struct BusClose {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
using Bus = std::unique_ptr<sd_bus, BusClose>;

// A call whose error, if any, only says that logind could not answer.
struct Call {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    ~Call()
    {
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
    }
};

// The object path a method of logind's manager answers with.
template <typename... Arguments>
std::optional<std::string> managerObjectPath(sd_bus* bus, const char* method, const char* signature,
                                             Arguments... arguments)
{
    Call call;
    const char* path = nullptr;
    if (sd_bus_call_method(bus, kLogind, kManagerPath, kManager, method, &call.error, &call.reply, signature,
                           arguments...) < 0 ||
        sd_bus_message_read(call.reply, "o", &path) < 0 || path == nullptr)
        return std::nullopt;
    return std::string(path);
}

// The session the login named in the environment.
std::optional<std::string> sessionNamedByLogin(sd_bus* bus)
{
    const char* identifier = std::getenv("XDG_SESSION_ID");
    if (identifier == nullptr || *identifier == '\0')
        return std::nullopt;
    return managerObjectPath(bus, "GetSession", "s", identifier);
}

// The session this process was started in.
std::optional<std::string> sessionOfThisProcess(sd_bus* bus)
{
    return managerObjectPath(bus, "GetSessionByPID", "u", static_cast<uint32_t>(getpid()));
}

// The user's graphical session, for a process started outside any session (by the user's
// service manager, for instance).
std::optional<std::string> displaySessionOfUser(sd_bus* bus)
{
    const std::optional<std::string> userPath = managerObjectPath(bus, "GetUser", "u", static_cast<uint32_t>(getuid()));
    if (!userPath)
        return std::nullopt;
    Call display;
    if (sd_bus_get_property(bus, kLogind, userPath->c_str(), "org.freedesktop.login1.User", "Display", &display.error,
                            &display.reply, "(so)") < 0)
        return std::nullopt;
    const char* identifier = nullptr;
    const char* path = nullptr;
    if (sd_bus_message_read(display.reply, "(so)", &identifier, &path) < 0 || path == nullptr ||
        std::string(path) == "/")
        return std::nullopt;
    return std::string(path);
}

std::optional<std::string> callersSession(sd_bus* bus)
{
    if (std::optional<std::string> session = sessionNamedByLogin(bus))
        return session;
    if (std::optional<std::string> session = sessionOfThisProcess(bus))
        return session;
    return displaySessionOfUser(bus);
}

} // namespace

namespace ae {

OSStatus terminateCallersSession()
{
    sd_bus* opened = nullptr;
    if (sd_bus_open_system(&opened) < 0)
        return errAEEventFailed;
    const Bus bus(opened);
    // logind may ask the user to confirm through polkit rather than refuse outright.
    sd_bus_set_allow_interactive_authorization(bus.get(), 1);

    const std::optional<std::string> session = callersSession(bus.get());
    if (!session)
        return procNotFound;
    Call termination;
    if (sd_bus_call_method(bus.get(), kLogind, session->c_str(), "org.freedesktop.login1.Session", "Terminate",
                           &termination.error, nullptr, "") < 0)
        return errAEEventFailed;
    return noErr;
}

} // namespace ae
