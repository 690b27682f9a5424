// Registers the math module's version text; the module has no other services yet.
#pragma once

void MathInit();
