// Test helper: a sudo stand-in for a user who is not root. It proves the right by running the
// SUDO_ASKPASS dialog and comparing its answer with STANDIN_SUDO_PASSWORD, keeps the proof as a
// stamp file, runs `-n --` tools as the same user, and logs every call.
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
  -A) answer=$("$SUDO_ASKPASS" "[sudo] password for $(id -un):") || exit 1
      [ "$answer" = "$STANDIN_SUDO_PASSWORD" ] || exit 1
      : > "$stamp"; exit 0 ;;
  -k) rm -f "$stamp"; exit 0 ;;
esac
exit 1
)SH";
    std::filesystem::permissions(script, std::filesystem::perms::all);
}
