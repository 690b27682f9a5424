#include "platform/common/headless.h"

#include "platform/platform_system.h"

namespace {

bool headless = false;

}  // namespace

void HeadlessRecord(bool value) { headless = value; }

bool PlatformHeadless() { return headless; }
