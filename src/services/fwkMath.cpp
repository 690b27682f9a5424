#include "services/fwkMath.h"

#include "services/fwkLog.h"

void MathInit() { LogVersionAdd("fwkMath - Version Alpha.0"); }
