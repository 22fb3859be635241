#include "platform/DockHost.h"

// The interface has no code of its own; this file gives its meta object a home in the layer.
