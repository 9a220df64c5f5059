// Test helpers for cases run by in-private-root that get administrator rights through polkit: a
// system bus and polkitd of their own on a private /run, the package's action file, two users with
// known passwords ("orvella-admin" in group sudo, "orvella-user" not), and the test agent. Needs
// POLKIT_ACTION_FILE and WITH_POLKIT_AGENT defined by the build.
#pragma once

#include <string>

inline const std::string kAsPolkitAdministrator = "setpriv --reuid=orvella-admin --regid=orvella-admin --init-groups";
inline const std::string kAsPolkitUser = "setpriv --reuid=orvella-user --regid=orvella-user --init-groups";
inline const std::string kPolkitAdministratorPassword = "open sesame";

// Shell lines that start polkit; the bus and polkitd end with the case's shell.
inline std::string startPrivatePolkit() {
    return "mount -t tmpfs private-run /run && mkdir -p /run/dbus /run/lock /run/user\n"
           "install -m 644 '" POLKIT_ACTION_FILE
           "' /usr/share/polkit-1/actions/\n"
           "useradd -M -d /nonexistent -s /bin/sh -G sudo orvella-admin && useradd -M -d /nonexistent -s /bin/sh "
           "orvella-user\n"
           "printf 'orvella-admin:" +
           kPolkitAdministratorPassword +
           "\\norvella-user:plain words\\n' | chpasswd\n"
           // No two-second pause after a wrong password: the tests give several.
           "sed -i 's/pam_unix.so nullok$/pam_unix.so nullok nodelay/' /etc/pam.d/common-auth\n"
           "dbus-daemon --system --nofork --nopidfile & bus=$!\n"
           "/usr/lib/polkit-1/polkitd --no-debug 2> /dev/null & polkit=$!\n"
           "trap 'kill $polkit $bus 2> /dev/null' EXIT\n"
           "i=0; until dbus-send --system --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus"
           " org.freedesktop.DBus.NameHasOwner string:org.freedesktop.PolicyKit1 2> /dev/null | grep -q true;"
           " do [ $i -lt 500 ] || break; sleep 0.01; i=$((i+1)); done\n";
}

// A command prefix that runs what follows with the test agent serving it and later processes of
// the programs named, giving `answer` ("cancel" to dismiss) and noting each request in `log`.
inline std::string withPolkitAgent(const std::string& log, const std::string& answer, const std::string& names = "") {
    return "'" WITH_POLKIT_AGENT "' '" + log + "' '" + answer + "' " + names + " -- ";
}
