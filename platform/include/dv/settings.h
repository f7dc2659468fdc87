// Private-profile settings files ("[section]" / "key=value" lines) with the
// read and write semantics the stored settings and page layouts rely on:
// section and key names compare without regard to case; a missing file,
// section or key gives the default; values are trimmed and one pair of
// surrounding quotes is removed; a read copies at most size-1 characters.
#pragma once

#include <string>

namespace dv {

// Returns the number of characters copied into out (without the terminator).
int GetPrivateProfileString(const char* section, const char* key, const char* def, char* out,
                            int size, const char* file);
std::string getProfileString(const std::string& section, const std::string& key,
                             const std::string& def, const std::string& file, int maxLen = 255);
// The leading integer of the value (sign allowed), or def when the key is missing.
int GetPrivateProfileInt(const char* section, const char* key, int def, const char* file);
// Writes key=value into section, creating the file and section when needed.
// value nullptr removes the key; key nullptr removes the section.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file);

}  // namespace dv
