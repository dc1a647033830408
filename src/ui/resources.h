#pragma once

namespace morvane {

/// Makes the compiled-in images (the map, the application image) reachable under ":/".
/// The resources live in a static library, whose initialiser the linker would drop unless it
/// is called by name. Safe to call any number of times.
void ensureResources();

}  // namespace morvane
