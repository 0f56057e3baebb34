// The Windows rules that both portable drives keep, the one on host files and the one in memory:
// how a Windows path names a place on drive C:, which names compare equal, and what the
// attribute bits refuse. Each drive stores files its own way and asks these functions what
// Windows would answer, so the two give the same results and the same error codes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform::drive_rules {

// The components of a path below the root of drive C:, in the letter case they were written.
using Components = std::vector<std::string>;

// Names on drive C: compare without letter case (ASCII letters only, as the tool's names are).
std::string Folded(std::string text);

// Resolves a Windows path ("c:\windows\system\x.dll", "\x", "x", "..\x") against the current
// directory. "." is skipped and ".." goes up, never above the root. Fails with 3 (path not
// found) for another drive letter and with 123 (invalid name) for a component with a control
// character or one of < > : " | ? *.
ErrorCode Resolve(const std::string& path, const Components& current_directory,
                  Components& components);

// Why Open is refused for an existing file with these attributes, or kNoError: a read-only file
// is not opened for writing, and a hidden or system file is not truncated by a create that does
// not ask for those attributes.
ErrorCode OpenRefusal(std::uint32_t attributes, Access access, Disposition disposition);

// A read-only file cannot be deleted.
bool MayDelete(std::uint32_t attributes);
// A copy does not replace a read-only, hidden or system file.
bool MayReplaceByCopy(std::uint32_t attributes);

// What a file holds after a create, after SetAttributes, and after it was copied from a file.
constexpr std::uint32_t kCreatedAttributes = kAttributeArchive;
std::uint32_t StoredAttributes(std::uint32_t requested);
std::uint32_t CopiedAttributes(std::uint32_t source);
// What GetAttributes reports for the stored bits: no bit at all reads as "normal".
std::uint32_t ReportedAttributes(std::uint32_t stored);

}  // namespace platform::drive_rules
