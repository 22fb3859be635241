#include "SystemTray.h"

SystemTray::~SystemTray() = default;
