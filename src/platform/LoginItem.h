#pragma once

#include <QString>

#include <optional>

// Why starting at login could not be set up or taken away.
struct LoginItemFailure {
    enum class Action { Register, Unregister };
    enum class Reason {
        NotInBundle,        // the running program is no application bundle, so there is nothing to start
        CannotCreateFolder, // the folder of login items cannot be made
        CannotWrite,        // the login item cannot be written
        CannotRemove,       // the login item cannot be removed
    };

    Action action = Action::Register;
    Reason reason = Reason::CannotWrite;
    // What failed and where, in the system's own words; for the console, not for the user.
    QString description;

    friend bool operator==(const LoginItemFailure&, const LoginItemFailure&) = default;
};

// Starting the application when the user logs in.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    // Whether the application is started at login now, whoever set it up or took it away.
    virtual bool isRegistered() const = 0;
    // None when done.
    virtual std::optional<LoginItemFailure> registerMainApp() = 0;
    virtual std::optional<LoginItemFailure> unregisterMainApp() = 0;
};
