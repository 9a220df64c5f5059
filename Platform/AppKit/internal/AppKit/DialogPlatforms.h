// Which of Qt's platforms can show a dialog to someone. The alerts and the password dialog ask the
// same question: a dialog on a platform that draws nowhere would wait for an answer that can
// never come.
#pragma once

#include <string_view>

// platform as Qt names it ("xcb", "wayland", "offscreen"), or as QT_QPA_PLATFORM gives it, with
// options after a colon ("minimal:enable_fonts").
inline bool QtPlatformDrawsNowhere(std::string_view platform)
{
    const std::string_view name = platform.substr(0, platform.find(':'));
    return name == "offscreen" || name == "minimal" || name == "minimalegl";
}
