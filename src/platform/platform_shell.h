// Message boxes and the keep-awake pulse of the platform contract.
#pragma once
