#include "ConfigFile.h"
#include "ConfigRules.h"
#include "ModulePath.h"
#include "probes/DllSearchProbe.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvory {
namespace {

using test::OwnFolder;
using test::Utf16;

// File operations go through the \\?\ form so that folders deeper than MAX_PATH
// work as well.
std::wstring Extended(const std::wstring& path)
{
    return L"\\\\?\\" + path;
}

bool WriteBytes(const std::wstring& path, std::string_view bytes)
{
    return test::WriteFileBytes(Extended(path), bytes);
}

// Files without a byte order mark are read in the ANSI code page, as on Windows,
// so anything beyond ASCII is written as UTF-16LE with its mark.
bool WriteUtf16(const std::wstring& path, std::wstring_view text)
{
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return WriteBytes(path, bytes);
}

std::string ReadBytes(const std::wstring& path)
{
    return test::ReadFileBytes(Extended(path));
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry{};
    if (const UniqueFindHandle search(FindFirstFileW(Extended(folder + L"\\*").c_str(), &entry)); search) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                DeleteTree(path);
            } else {
                DeleteFileW(Extended(path).c_str());
            }
        } while (FindNextFileW(search.get(), &entry));
    }
    RemoveDirectoryW(Extended(folder).c_str());
}

// A fresh folder under the temporary folder, removed with all it holds.
class TempFolder {
public:
    TempFolder()
    {
        static int created = 0;
        std::wstring temp(MAX_PATH + 1, L'\0');
        temp.resize(GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
        m_path = temp + L"kelvory-config-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++created);
        CreateDirectoryW(Extended(m_path).c_str(), nullptr);
    }
    ~TempFolder() { DeleteTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }

    // A path inside the folder; Folder() also creates it.
    std::wstring File(std::wstring_view name) const { return m_path + L"\\" + std::wstring(name); }
    std::wstring Folder(std::wstring_view name) const
    {
        const std::wstring path = File(name);
        CreateDirectoryW(Extended(path).c_str(), nullptr);
        return path;
    }

private:
    std::wstring m_path;
};

using Entries = std::vector<std::pair<int, std::u16string>>;

Entries ReadConfigured(const std::wstring& configPath)
{
    Entries entries;
    ForEachConfiguredEntry(Utf16(configPath),
                           [&](int number, const std::u16string& value) { entries.emplace_back(number, value); });
    return entries;
}

struct ReadingCase {
    const char* name;
    std::string content;
    Entries expected;
};

TEST(ConfigFileReading, HandsOnTheNonEmptyExeValuesOfProg1ToProg8InOrder)
{
    std::string longValue;
    for (int i = 0; i < 3000; ++i) {
        longValue += static_cast<char>('a' + i % 26);
    }

    const std::vector<ReadingCase> cases = {
        {"prog8 only", "[prog8]\r\nexe=C:\\Tools\\eight.exe\r\n", {{8, u"C:\\Tools\\eight.exe"}}},
        {"prog2 and prog7, in file order reversed",
         "[prog7]\r\nexe=seven.exe\r\n[prog2]\r\nexe=two.exe\r\n",
         {{2, u"two.exe"}, {7, u"seven.exe"}}},
        {"empty exe", "[prog1]\r\nexe=\r\n[prog3]\r\nexe=three.exe\r\n", {{3, u"three.exe"}}},
        {"section without exe", "[prog1]\r\nname=One\r\n[prog4]\r\nexe=four.exe\r\n", {{4, u"four.exe"}}},
        {"prog0, prog9 and prog01 are not entries",
         "[prog0]\r\nexe=zero.exe\r\n[prog9]\r\nexe=nine.exe\r\n[prog01]\r\nexe=one.exe\r\n",
         {}},
        {"names in the file in any case", "[PROG5]\r\nEXE=five.exe\r\n", {{5, u"five.exe"}}},
        {"value with placeholders kept as written",
         "[prog6]\r\nexe=%SystemRoot%\\notepad.exe\r\n",
         {{6, u"%SystemRoot%\\notepad.exe"}}},
        {"value longer than 2047 characters",
         "[prog1]\r\nexe=" + longValue + "\r\n",
         {{1, std::u16string(longValue.begin(), longValue.begin() + 2047)}}},
        {"empty file", "", {}},
    };

    TempFolder folder;
    const std::wstring ini = folder.File(L"kelvory.ini");
    for (const ReadingCase& c : cases) {
        ASSERT_TRUE(WriteBytes(ini, c.content)) << c.name;
        EXPECT_EQ(ReadConfigured(ini), c.expected) << c.name;
    }
}

TEST(ConfigFileReading, ReadsUtf16FilesWithNonAsciiValues)
{
    TempFolder folder;
    const std::wstring ini = folder.File(L"kelvory.ini");
    ASSERT_TRUE(WriteUtf16(ini, L"[prog1]\r\nexe=C:\\Программы\\工具\\запуск.exe\r\n"
                                L"[prog2]\r\nexe=%SystemDrive%\\ツール\\Ёлка.exe\r\n"));
    const Entries expected = {{1, u"C:\\Программы\\工具\\запуск.exe"}, {2, u"%SystemDrive%\\ツール\\Ёлка.exe"}};
    EXPECT_EQ(ReadConfigured(ini), expected);
}

// Sets the file's last-write time to one fixed moment in 2020.
bool Backdate(const std::wstring& path)
{
    const UniqueFileHandle file(CreateFileW(Extended(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return false;
    }
    const SYSTEMTIME moment{2020, 1, 3, 1, 12, 0, 0, 0};
    FILETIME time{};
    return SystemTimeToFileTime(&moment, &time) && SetFileTime(file.get(), nullptr, nullptr, &time);
}

TEST(ConfigFileReading, EachReadSeesTheFileAsItIsThen)
{
    // The system keeps a cached copy of a profile file, and Wine rereads the file
    // only when its last-write time changed or is within the last few seconds.
    // These edits keep the size and the (old) time, so a read sees them only
    // because the reader before it released the cached copy.
    TempFolder folder;
    const std::wstring ini = folder.File(L"kelvory.ini");
    ASSERT_TRUE(WriteBytes(ini, "[prog1]\r\nexe=first.exe\r\n") && Backdate(ini));
    EXPECT_EQ(ReadConfigured(ini), (Entries{{1, u"first.exe"}}));

    ASSERT_TRUE(WriteBytes(ini, "[prog1]\r\nexe=other.exe\r\n") && Backdate(ini));
    EXPECT_EQ(ReadConfiguredEntry(Utf16(ini), u"prog1"), u"other.exe");

    ASSERT_TRUE(WriteBytes(ini, "[prog1]\r\nexe=third.exe\r\n") && Backdate(ini));
    EXPECT_EQ(ReadConfiguredEntry(Utf16(ini), u"prog1"), u"third.exe");
}

TEST(ConfigFileReading, NeverWritesOrCreatesTheFile)
{
    TempFolder folder;
    const std::wstring ini = folder.File(L"kelvory.ini");
    const std::string content = "; Kelvory\r\n[prog1]\r\n  exe = one.exe  \r\n[prog2]\nexe=two.exe";
    ASSERT_TRUE(WriteBytes(ini, content));
    EXPECT_EQ(ReadConfigured(ini), (Entries{{1, u"one.exe"}, {2, u"two.exe"}}));
    EXPECT_EQ(ReadConfiguredEntry(Utf16(ini), u"prog3"), u"");
    EXPECT_EQ(ReadConfiguredEntry(Utf16(ini), u"prog2"), u"two.exe");
    EXPECT_EQ(ReadBytes(ini), content);

    const std::wstring missing = folder.File(L"missing.ini");
    EXPECT_EQ(ReadConfigured(missing), Entries{});
    EXPECT_EQ(ReadConfiguredEntry(Utf16(missing), u"prog1"), u"");
    EXPECT_FALSE(Exists(missing));
}

// The links are made on the host by tests/win/CMakeLists.txt, beside win_tests.exe.
std::wstring LinkFolder()
{
    return OwnFolder() + L"config-links";
}

struct ExistenceCase {
    const char* name;
    std::wstring path;
    bool present;
};

TEST(ConfigFileExistsAt, AnswersForRealFilesFoldersAndLinks)
{
    TempFolder folder;
    const std::wstring ini = folder.File(L"kelvory.ini");
    ASSERT_TRUE(WriteBytes(ini, "[prog1]\r\nexe=a.exe\r\n"));
    folder.Folder(L"folder");
    const std::wstring folderIni = folder.Folder(L"folder\\kelvory.ini");
    ASSERT_TRUE(WriteBytes(folderIni + L"\\kelvory.ini", "[prog1]\r\nexe=inside.exe\r\n"));
    const std::wstring links = LinkFolder();
    ASSERT_TRUE(Exists(links + L"\\file-link.ini")) << "links missing: reconfigure the build on the host";

    // What Wine answers for links: a link to a file looks like its target (no
    // reparse point flag, so the attributes alone decide), a link to a folder is
    // a directory with the reparse point flag, and a dangling link gives error 2.
    // Windows flags a link to a file as a reparse point, which leads to opening
    // the target; Wine never takes that way.
    const std::vector<ExistenceCase> cases = {
        {"file", ini, true},
        {"folder named kelvory.ini", folderIni, false},
        {"missing file", folder.File(L"missing.ini"), false},
        {"missing folder on the way", folder.File(L"missing\\kelvory.ini"), false},
        {"file on the way", ini + L"\\kelvory.ini", false},
        // A wildcard is an invalid name (error 123) and counts as absent, even
        // though listing by that name would find kelvory.ini.
        {"wildcard name", folder.File(L"kelvory*.ini"), false},
        {"link to a file", links + L"\\file-link.ini", true},
        {"link to a folder", links + L"\\folder-link.ini", false},
        {"dangling link", links + L"\\dangling-link.ini", false},
    };
    for (const ExistenceCase& c : cases) {
        EXPECT_EQ(ConfigFileExistsAt(Utf16(c.path)), c.present) << c.name;
    }

    EXPECT_EQ(ReadConfigured(folderIni), Entries{});
    EXPECT_EQ(ReadConfigured(links + L"\\file-link.ini"), (Entries{{1, u"through the link"}}));
    EXPECT_EQ(ReadConfigured(links + L"\\folder-link.ini"), Entries{});
    EXPECT_EQ(ReadConfigured(links + L"\\dangling-link.ini"), Entries{});
}

TEST(ConfigFilePath, IsKelvoryIniBesideTheExecutable)
{
    const std::u16string expected = Utf16(OwnFolder() + L"kelvory.ini");
    EXPECT_EQ(ConfigFilePath(), expected);
}

// The probe is built beside win_tests.exe; the tests copy it where they need it.
std::wstring ProbePath()
{
    return OwnFolder() + L"config_probe.exe";
}

// Waits for the probe and returns its report, or a note of what went wrong.
std::wstring FinishProbe(const UniqueKernelHandle& process, const std::wstring& reportPath)
{
    const std::optional<DWORD> exitCode = test::ExitCodeOf(process);
    if (exitCode != 0u) {
        return L"probe failed, exit code " + std::to_wstring(exitCode.value_or(~0u));
    }
    const std::string bytes = ReadBytes(reportPath);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

std::wstring RunProbe(const std::wstring& probe, const std::wstring& currentDirectory, const std::wstring& reportPath)
{
    const UniqueKernelHandle process = test::StartProgram(probe, L"\"" + reportPath + L"\"", currentDirectory.c_str());
    if (!process) {
        return L"CreateProcessW failed, error " + std::to_wstring(GetLastError());
    }
    return FinishProbe(process, reportPath);
}

TEST(ConfigFileBesideExecutable, IsFoundFromAnotherCurrentDirectory)
{
    TempFolder folder;
    const std::wstring home = folder.Folder(L"Kelvory");
    const std::wstring elsewhere = folder.Folder(L"elsewhere");
    const std::wstring probe = home + L"\\kelvory.exe";
    ASSERT_TRUE(CopyFileW(ProbePath().c_str(), probe.c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(home + L"\\kelvory.ini", "[prog3]\r\nexe=beside.exe\r\n"));
    ASSERT_TRUE(WriteBytes(elsewhere + L"\\kelvory.ini", "[prog1]\r\nexe=current-directory.exe\r\n"));

    EXPECT_EQ(RunProbe(probe, elsewhere, folder.File(L"report.txt")),
              home + L"\\kelvory.ini\npresent\n3=beside.exe\n");
}

TEST(ConfigFileBesideExecutable, IsFoundInAFolderWithANonAsciiName)
{
    TempFolder folder;
    folder.Folder(L"Программы");
    const std::wstring home = folder.Folder(L"Программы\\工具 ツール");
    const std::wstring probe = home + L"\\kelvory.exe";
    ASSERT_TRUE(CopyFileW(ProbePath().c_str(), probe.c_str(), FALSE));
    ASSERT_TRUE(WriteUtf16(home + L"\\kelvory.ini", L"[prog2]\r\nexe=%ProgramFiles%\\Редактор\\編集.exe\r\n"));

    EXPECT_EQ(RunProbe(probe, folder.Path(), folder.File(L"report.txt")),
              home + L"\\kelvory.ini\npresent\n2=%ProgramFiles%\\Редактор\\編集.exe\n");
}

// A program deep in folders, its path longer than MAX_PATH, finds the
// kelvory.ini beside it: its module path is read whole. Shown with a DLL of
// ours loaded from such a folder, as no documented call starts a program from
// there under Wine (its CreateProcessW stops at MAX_PATH).
TEST(ConfigFileBesideExecutable, IsFoundBesideAModuleDeeperThanMaxPath)
{
    TempFolder folder;
    std::wstring home = folder.Path();
    for (const wchar_t letter : {L'a', L'b', L'c'}) {
        home += L"\\" + std::wstring(100, letter);
        ASSERT_TRUE(CreateDirectoryW(Extended(home).c_str(), nullptr));
    }
    ASSERT_GT(home.size(), static_cast<size_t>(MAX_PATH));
    const std::wstring library = home + L"\\deep.dll";
    ASSERT_TRUE(CopyFileW((OwnFolder() + L"dll-search\\dwmapi.dll").c_str(), Extended(library).c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(home + L"\\kelvory.ini", "[prog1]\r\nexe=deep.exe\r\n"));

    const HMODULE module = LoadLibraryW(Extended(library).c_str());
    ASSERT_TRUE(module) << GetLastError();
    const std::u16string path = ModuleFileName(module);
    FreeLibrary(module);
    // Loading it marked this process for the DLL search test; its probe must
    // not inherit the mark.
    SetEnvironmentVariableW(kPlantedMark, nullptr);

    const std::u16string loaded = path.starts_with(u"\\\\?\\") ? path.substr(4) : path;
    EXPECT_EQ(loaded, Utf16(library));
    const std::u16string ini = ConfigFilePathBeside(path);
    EXPECT_EQ(ini, path.substr(0, path.size() - std::u16string_view(u"deep.dll").size()) + u"kelvory.ini");
    EXPECT_TRUE(ConfigFileExistsAt(ini));
}

} // namespace
} // namespace kelvory
