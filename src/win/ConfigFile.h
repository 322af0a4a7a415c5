#pragma once
// kelvory.ini beside the executable: where it is, whether it is there, and reading
// the programs configured in it. The file is only ever read.
// The platform-free rules (names, limits, the existence decision) come from the
// core header ConfigRules.h.
#include "ConfigRules.h"

#include <functional>
#include <string>

namespace kelvory {

// The directory of the running executable followed by kelvory.ini. It never
// depends on the current directory or the command line.
std::u16string ConfigFilePath();

// Whether kelvory.ini beside the executable counts as an existing file.
bool ConfigFileExists();
// The same decision for any path.
bool ConfigFileExistsAt(const std::u16string& path);

// A read of the configuration file. It holds only the file name: binding one
// touches nothing, and releasing it asks the system to drop any copy of the file
// it keeps cached, so the next read sees the file as it is then.
class ConfigReader {
public:
    explicit ConfigReader(std::u16string path);
    ~ConfigReader();

    ConfigReader(ConfigReader&& other) noexcept;
    ConfigReader& operator=(ConfigReader&& other) noexcept;
    ConfigReader(const ConfigReader&) = delete;
    ConfigReader& operator=(const ConfigReader&) = delete;

    const std::u16string& Path() const noexcept { return m_path; }

private:
    void Release() noexcept;

    std::u16string m_path;
    bool m_bound = true;
};

// A reader of kelvory.ini beside the executable.
ConfigReader OpenConfig();

// The "exe" value of section; empty when the section or the key is missing or
// the file cannot be read. Values are cut to 2047 characters.
std::u16string ReadEntry(const ConfigReader& reader, const std::u16string& section);

// Hands on each non-empty value of prog1 ... prog8, in that order, with its
// number; nothing at all when the file is not there.
void ForEachConfiguredEntry(const std::function<void(int number, const std::u16string& value)>& onEntry);
// The same for the configuration file at configPath.
void ForEachConfiguredEntry(const std::u16string& configPath,
                            const std::function<void(int number, const std::u16string& value)>& onEntry);

} // namespace kelvory
