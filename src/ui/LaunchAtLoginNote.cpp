#include "LaunchAtLoginNote.h"

#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"

QString LaunchAtLoginNote::text(const std::optional<LoginItemFailure>& failure, const Localization& localization) {
    if (!failure)
        return {};
    switch (failure->reason) {
    case LoginItemFailure::Reason::NotInBundle:
        return localization.text(L10nKey::launchAtLoginNotInBundle);
    case LoginItemFailure::Reason::CannotCreateFolder:
        return localization.text(L10nKey::launchAtLoginCannotCreateFolder);
    case LoginItemFailure::Reason::CannotWrite:
        return localization.text(L10nKey::launchAtLoginCannotWrite);
    case LoginItemFailure::Reason::CannotRemove:
        return localization.text(L10nKey::launchAtLoginCannotRemove);
    }
    return {};
}
