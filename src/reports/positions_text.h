#pragma once

#include <string>
#include <vector>

#include "engine/positions.h"

namespace morvane {

/// The planet positions as a fixed-width text table: two header lines, then one line per row
/// with the body's name cut or padded to 13 characters and the four ready-made texts.
std::string positionsText(const std::vector<BodyPosition>& positions);

}  // namespace morvane
