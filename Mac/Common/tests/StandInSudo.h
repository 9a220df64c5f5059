// Test helpers for a user who is not root, used inside a private root only: a sudo stand-in put at
// /usr/bin/sudo, and the self-answering password dialog put in the real dialog's place.
//
// The stand-in proves the right by running SUDO_ASKPASS (three tries, as sudo does) and comparing
// its answer with STANDIN_SUDO_PASSWORD, keeps the proof as a stamp file, runs `-n --` tools as the
// same user, and logs every call in $STANDIN_SUDO_DIR/log. Needs ASKPASS_HELPER (the real dialog)
// and ANSWERING_ASKPASS defined by the build.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

inline void writeStandInSudo(const std::filesystem::path& folder)
{
    const auto script = folder / "sudo";
    std::ofstream(script) << R"SH(#!/bin/sh
echo "sudo $*" >> "$STANDIN_SUDO_DIR/log"
stamp="$STANDIN_SUDO_DIR/stamp-$(id -u)"
case "$1" in
  -n) if [ "$2" = -v ]; then [ -e "$stamp" ]; exit $?; fi
      [ -e "$stamp" ] || { echo "sudo: a password is required" >&2; exit 1; }
      shift 2; exec "$@" ;;
  -A) for try in 1 2 3; do
        answer=$("$SUDO_ASKPASS" "[sudo] password for $(id -un):") || exit 1
        [ "$answer" = "$STANDIN_SUDO_PASSWORD" ] && { : > "$stamp"; exit 0; }
      done
      exit 1 ;;
  -k) rm -f "$stamp"; exit 0 ;;
esac
exit 1
)SH";
    std::filesystem::permissions(script, std::filesystem::perms::all);
}

// A shell line for a case run by in-private-root that puts the answering dialog over the real one.
inline std::string installAnsweringAskpass()
{
    return std::string("mount --bind '") + ANSWERING_ASKPASS + "' '" + ASKPASS_HELPER + "'\n";
}

// Shell lines for a case run by in-private-root that put the stand-in sudo written into folder at
// /usr/bin/sudo and the answering dialog over the real one, there and nowhere else.
inline std::string installStandIns(const std::filesystem::path& folder)
{
    return "rm -f /usr/bin/sudo && cp '" + (folder / "sudo").string() + "' /usr/bin/sudo && chmod 755 /usr/bin/sudo\n" +
           installAnsweringAskpass();
}
