// The protection program's settings in the registry under HKEY_LOCAL_MACHINE: its autostart
// entry and its Cancel switch, and their removal at uninstall. Only the registry steps live
// here; asking, choosing the file and telling the user are the application's part. Each
// operation opens the keys it needs for itself and closes them before it returns.
#pragma once

#include <string>

#include "core/errors.h"
#include "platform/registry.h"

namespace core {

// The autostart entry: a string holding the full path of the protection program's executable.
inline constexpr char kRunServicesKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Runservices";
inline constexpr char kAutostartValue[] = "Z-V-K-Korvane";

// The protection program's own key; this tool writes into it but never creates it.
inline constexpr char kProductKey[] = "SOFTWARE\\Tarnwick Keep\\Korvane";
// Whether the protection program offers Cancel: a DWORD, 1 = enabled, 0 = disabled.
inline constexpr char kCancelValue[] = "cancel";

// Opens the autostart key, creating it when missing, and closes it again. False when it cannot
// be opened.
bool OpenAutostartKey(platform::Registry& registry);

// Replaces the autostart entry by `executable_path`, stored exactly as given (no quotes, no
// arguments). Raises RegistryWriteError when the entry cannot be written; an existing entry is
// then left as it was.
void EnableAutostart(platform::Registry& registry, const std::string& executable_path);

// Removes the autostart entry. A missing entry or key, or a refused deletion, is no error.
void DisableAutostart(platform::Registry& registry);

// Writes "cancel" into the protection program's key when that key exists; returns whether it
// was written (false: the key is missing and nothing was created). Raises RegistryWriteError
// when the key exists but the value cannot be written.
bool SetCancel(platform::Registry& registry, bool enabled);

// The registry part of uninstall: removes the autostart entry, then the protection program's
// key with all its values and subkeys. Nothing missing or refused is reported.
void RemoveProductSettings(platform::Registry& registry);

}  // namespace core
