#include "platform/common/app_window_source.h"

namespace {

appWindowSource source = nullptr;

}  // namespace

void AppWindowSourceSet(appWindowSource newSource) { source = newSource; }

platformWindow AppWindowFromSource() { return source != nullptr ? source() : 0; }
