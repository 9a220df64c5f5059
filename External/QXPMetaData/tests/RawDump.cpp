#include "RawDump.h"

#include <ChildProcess.h>

#include <algorithm>
#include <regex>
#include <sstream>

namespace qxptest {

namespace {

std::string Field(const std::string& line, const std::string& key) {
    const std::regex pattern(std::regex_replace(key, std::regex(R"([.:\-])"), R"(\$&)") + R"(: ([^,)]*))");
    std::smatch match;
    return std::regex_search(line, match, pattern) ? match[1].str() : std::string();
}

double Points(const std::string& text) { return text.empty() ? 0 : std::stod(text); }

void AddOnce(std::vector<std::string>& list, const std::string& item) {
    if (!item.empty() && std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

std::string Call(const std::string& line) {
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    const size_t end = line.find_first_of(" (", start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

RawDump RunQxp2Raw(const std::string& qxp2raw, const std::string& path) {
    RawDump dump;
    const ChildResult run = RunChild({qxp2raw, path});
    dump.exitStatus = run.exitStatus;
    std::string style, span;
    bool spanCounted = false;
    std::istringstream lines(run.standardOutput);
    for (std::string line; std::getline(lines, line);) {
        const std::string call = Call(line);
        if (call == "startPage") {
            dump.pageSizes.emplace_back(Points(Field(line, "svg:width")), Points(Field(line, "svg:height")));
        } else if (call == "startTextObject" && dump.pageSizes.size() == 1 && !Field(line, "librevenge:rotate").empty()) {
            dump.firstPageTurnedText.push_back({Points(Field(line, "svg:x")), Points(Field(line, "svg:y")),
                                                Points(Field(line, "svg:width")), Points(Field(line, "svg:height")),
                                                Points(Field(line, "librevenge:rotate"))});
        } else if (call == "setStyle") {
            style = line;
        } else if (call.rfind("draw", 0) == 0 && call != "drawGraphicObject") {
            auto lookup = [&](const char* key) {
                const std::string own = Field(line, key);
                return own.empty() ? Field(style, key) : own;
            };
            const std::string fill = lookup("draw:fill");
            if (fill == "solid") AddOnce(dump.colors, lookup("draw:fill-color"));
            if (fill == "gradient") {
                AddOnce(dump.colors, lookup("draw:start-color"));
                AddOnce(dump.colors, lookup("draw:end-color"));
            }
            const std::string stroke = lookup("draw:stroke");
            if (!stroke.empty() && stroke != "none") AddOnce(dump.colors, lookup("svg:stroke-color"));
        } else if (call == "openSpan") {
            span = line;
            spanCounted = false;
        } else if (call == "closeSpan") {
            span.clear();
        } else if ((call == "insertText" || call == "insertSpace" || call == "insertTab" || call == "insertLineBreak") &&
                   !span.empty() && !spanCounted) {
            spanCounted = true;
            AddOnce(dump.fonts, Field(span, "style:font-name"));
            AddOnce(dump.colors, Field(span, "fo:color"));
        }
    }
    return dump;
}

}  // namespace qxptest
