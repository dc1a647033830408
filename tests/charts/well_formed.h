#pragma once

#include <expat.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "engine/constants.h"

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

/// A spread of moments and places, both poles and the equator among them: the document the
/// generator makes for each must be well-formed XML.
inline void expectWellFormedEverywhere(
    unsigned seed, const std::function<std::string(double, double, double)>& document) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> t(-1000.0, 400000.0), latitude(-kHalfPi, kHalfPi),
        longitude(-kPi, kPi);
    for (int i = 0; i < 200; ++i) {
        double lat = latitude(random);
        if (i % 50 == 0) lat = kHalfPi;
        if (i % 50 == 1) lat = -kHalfPi;
        if (i % 50 == 2) lat = 0.0;
        const double moment = t(random);
        ASSERT_EQ(xmlProblem(document(moment, lat, longitude(random))), "")
            << "t " << moment << " latitude " << lat;
    }
}

}  // namespace morvane::testing
