#pragma once
// The kinds of entry the message log holds, as its stored lines number them.
namespace nimbrel {

enum LogKind : int { LogInformation = 0, LogWarning = 1, LogError = 2 };

} // namespace nimbrel
