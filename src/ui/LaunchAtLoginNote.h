#pragma once

#include "platform/LoginItem.h"

#include <QString>

#include <optional>

class Localization;

// The line under a launch-at-login switch after the system refused a change: what could not be
// done and why, in the interface language. Empty when nothing failed.
namespace LaunchAtLoginNote {

QString text(const std::optional<LoginItemFailure>& failure, const Localization& localization);

} // namespace LaunchAtLoginNote
