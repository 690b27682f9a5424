// Windows has no <sys/wait.h>: what the tests take from it is in posix_compat.h.
#pragma once
#include "../posix_compat.h"
