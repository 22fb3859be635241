#include "DockHost.h"

// The change signal is generated for this file.
