#pragma once

#include <expat.h>

#include <string>

namespace morvane::testing {

/// Empty when the text is well-formed XML, else the parser's complaint with its line.
inline std::string xmlProblem(const std::string& text) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    std::string problem;
    if (XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_ERROR) {
        problem = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                  std::to_string(XML_GetCurrentLineNumber(parser));
    }
    XML_ParserFree(parser);
    return problem;
}

}  // namespace morvane::testing
