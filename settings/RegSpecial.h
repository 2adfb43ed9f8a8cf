// Self-contained registry operations addressed by root key, key path and
// value name. None keeps a key open between calls.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "settings/Variant.h"

namespace bx {

// The stored value read as the kind of Default prescribes, or Default.
// Throws "Invalid data type for '%s'" or "Failed to get data for '%s'".
TVariant ReadRegistryValue(RegKey root, const std::string& key, const std::string& name,
                           const TVariant& defaultValue);
// Stores Value with the registry type its kind prescribes, creating the key
// path first. Throws "Failed to create key %s" or "Failed to set data for '%s'".
bool WriteRegistryValue(RegKey root, const std::string& key, const std::string& name,
                        const TVariant& value);
void DeleteRegistryValue(RegKey root, const std::string& key, const std::string& name);
void DeleteRegistryKey(RegKey root, const std::string& key, bool deleteEmptyParents);
bool RegistryKeyIsEmpty(RegKey root, const std::string& key);
int VarArrayByteSize(const TVariant& value);

// Runs when the module is loaded: anything but the Windows 95 or NT family
// shows "This program requires Windows 95/NT" and ends the program.
void CheckEnvironment();

}  // namespace bx
