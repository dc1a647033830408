#include "ui/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function of the global namespace.
static void registerMorvaneResources() { Q_INIT_RESOURCE(resources); }

namespace morvane {

void ensureResources() {
    static const bool registered = [] {
        registerMorvaneResources();
        return true;
    }();
    (void)registered;
}

}  // namespace morvane
