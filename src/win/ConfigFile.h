#pragma once
// kelvory.ini beside the executable: where it is, whether it is there, and reading
// the programs configured in it. The file is only ever read, and nothing of it
// is kept between reads: each one sees the file as it is then.
// The platform-free rules (names, limits) come from the core header ConfigRules.h.
#include "ConfigRules.h"

#include <functional>
#include <string>

namespace kelvory {

// The directory of the running executable followed by kelvory.ini. It never
// depends on the current directory or the command line.
std::u16string ConfigFilePath();

// Whether the path counts as an existing file: not a folder, nor a link whose
// target is gone.
bool ConfigFileExistsAt(const std::u16string& path);

// Receives one configured entry: its number (1 to 8) and its value as written.
using EntryFunction = std::function<void(int number, const std::u16string& value)>;

// Hands on each non-empty value of prog1 ... prog8 of the file at configPath, in
// that order, with its number; nothing at all when the file is not there.
void ForEachConfiguredEntry(const std::u16string& configPath, const EntryFunction& onEntry);

// The "exe" value of one section of the file at configPath, read afresh; empty
// when the file is not there, the section or the key is missing, or the file
// cannot be read. Values are cut to 2047 characters.
std::u16string ReadConfiguredEntry(const std::u16string& configPath, const std::u16string& section);

} // namespace kelvory
