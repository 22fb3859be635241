#pragma once

#include <QString>

// Starting the application when the user logs in.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    // False with a description of what went wrong.
    virtual bool registerMainApp(QString* error) = 0;
    virtual bool unregisterMainApp(QString* error) = 0;
};
