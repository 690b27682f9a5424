// Windows, the message pump, OpenGL contexts and monitors
// of the platform contract.
#pragma once
