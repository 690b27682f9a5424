// Whether the process runs without a display. The flag lives here so the shared files can read
// it without calling into a backend; the backend's PlatformSetHeadless records it and prepares
// its system.
#pragma once

void HeadlessRecord(bool headless);
