#pragma once

#include <QString>

#include <functional>

// Lines for standard output. Tests may divert them to read what a user would see.
namespace Console {

void printLine(const QString& line);

// Replaces the sink for every later line; an empty function restores standard output.
void setSink(std::function<void(const QString&)> sink);

} // namespace Console
