// Configured program buttons on a real Win32 implementation: kelvory.ini is
// written beside this test program, where the launcher looks for it, and the
// window is created hidden with a recorder in place of the shell.
#include "ConfiguredForm.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace kelvory {
namespace {

class ProgramButtonsTest : public test::ConfiguredFormTest {
protected:
    // The outer width before any configured button: the stored client width
    // plus the frame the window system gives a tool window.
    int BaseWidth() const
    {
        RECT client;
        GetClientRect(form->Handle(), &client);
        return form->Width() - client.right + 198;
    }

    RECT BoundsInGroupBox(const ImageControl& button) const
    {
        RECT bounds;
        GetWindowRect(button.Handle(), &bounds);
        MapWindowPoints(nullptr, form->GroupBox1, reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }

    static std::string Windows(const char* name)
    {
        char folder[MAX_PATH];
        GetWindowsDirectoryA(folder, MAX_PATH);
        return std::string(folder) + "\\" + name;
    }

    // One configured program: what it is, its ASCII path, whether it gets a button.
    struct IconCase {
        std::string what;
        std::wstring path;
        bool button;
    };

    // Configures the cases as prog1, prog2, ... and checks each entry's button:
    // the shown ones follow one another in the row, the others are never placed.
    void ExpectButtons(const std::vector<IconCase>& cases)
    {
        ASSERT_LE(cases.size(), kEntryCount);
        std::string text;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            text += "[prog" + std::to_string(i + 1) +
                    "]\r\nexe=" + std::string(cases[i].path.begin(), cases[i].path.end()) + "\r\n";
        }
        Configure(text);
        CreateForm();
        int shown = 0;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(cases[i].what);
            ASSERT_TRUE(form->ProgramButtons[i]);
            const ImageControl& button = *form->ProgramButtons[i];
            EXPECT_EQ(bool(button.Icon()), cases[i].button);
            EXPECT_EQ(bool(button.Handle()), cases[i].button);
            if (cases[i].button && button.Handle()) {
                EXPECT_EQ(BoundsInGroupBox(button).left, BaseWidth() - 2 + 48 * shown++);
            }
        }
        EXPECT_EQ(form->Width(), BaseWidth() + 48 * shown);
    }
};

TEST_F(ProgramButtonsTest, ButtonsContinueTheRowInEntryOrderAndWidenTheWindow)
{
    Configure("[prog5]\r\nexe=" + Windows("regedit.exe") + "\r\n[prog2]\r\nexe=" + Windows("notepad.exe") + "\r\n");
    CreateForm();
    const int base = BaseWidth();

    EXPECT_EQ(form->Width(), base + 96);
    RECT client;
    GetClientRect(form->Handle(), &client);
    RECT box;
    GetClientRect(form->GroupBox1, &box);
    EXPECT_EQ(box.right, client.right); // the group box grew with the window

    const struct {
        int slot;
        const char16_t* name;
        int left;
    } shown[] = {{1, u"prog2", base - 2}, {4, u"prog5", base + 46}};
    for (const auto& expected : shown) {
        SCOPED_TRACE(testing::Message() << expected.slot);
        ASSERT_TRUE(form->ProgramButtons[expected.slot]);
        const ImageControl& button = *form->ProgramButtons[expected.slot];
        EXPECT_EQ(button.Name, expected.name);
        EXPECT_EQ(GetParent(button.Handle()), form->GroupBox1);
        EXPECT_TRUE(GetWindowLongPtrW(button.Handle(), GWL_STYLE) & WS_VISIBLE);
        EXPECT_TRUE(button.Icon());
        const RECT bounds = BoundsInGroupBox(button);
        EXPECT_EQ(bounds.left, expected.left);
        EXPECT_EQ(bounds.top, 16);
        EXPECT_EQ(bounds.right - bounds.left, 32);
        EXPECT_EQ(bounds.bottom - bounds.top, 32);
    }
    for (int empty : {0, 2, 3, 5, 6, 7}) {
        EXPECT_FALSE(form->ProgramButtons[empty]) << empty;
    }
    // The fixed buttons did not move.
    EXPECT_EQ(BoundsInGroupBox(form->Image6).left, 152);
}

TEST_F(ProgramButtonsTest, AnEntryWithoutAnIconKeepsAnUnplacedControlAndLeavesNoGap)
{
    // The configuration probe beside this test program has no icon at all.
    const std::wstring folder = test::OwnFolder();
    Configure("[prog1]\r\nexe=" + std::string(folder.begin(), folder.end()) +
              "config_probe.exe\r\n[prog2]\r\nexe=" + Windows("notepad.exe") + "\r\n");
    CreateForm();

    ASSERT_TRUE(form->ProgramButtons[0]);
    const ImageControl& hidden = *form->ProgramButtons[0];
    EXPECT_FALSE(hidden.Icon());
    EXPECT_FALSE(hidden.Handle()); // never placed, so never painted nor clicked

    ASSERT_TRUE(form->ProgramButtons[1]);
    EXPECT_EQ(form->ProgramButtons[1]->Name, u"prog2");
    EXPECT_EQ(BoundsInGroupBox(*form->ProgramButtons[1]).left, BaseWidth() - 2);
    EXPECT_EQ(form->Width(), BaseWidth() + 48);
}

TEST_F(ProgramButtonsTest, EightEntriesWidenTheWindowBy384)
{
    std::string text;
    for (int n = 1; n <= 8; ++n) {
        text += "[prog" + std::to_string(n) + "]\r\nexe=" + Windows("notepad.exe") + "\r\n";
    }
    Configure(text);
    CreateForm();
    EXPECT_EQ(form->Width(), BaseWidth() + 384);
    EXPECT_EQ(BoundsInGroupBox(*form->ProgramButtons[7]).left, BaseWidth() + 384 - 50);
}

TEST_F(ProgramButtonsTest, AClickReadsTheEntryAfreshAndStartsItOncePerClick)
{
    Configure("[prog1]\r\nexe=" + Windows("notepad.exe") + "\r\n");
    CreateForm();
    ASSERT_TRUE(form->ProgramButtons[0]);
    const ImageControl& button = *form->ProgramButtons[0];
    const HICON icon = button.Icon();

    test::Click(button);
    test::Click(button);
    ASSERT_EQ(launched.size(), 2u);
    const std::string notepad = Windows("notepad.exe");
    EXPECT_EQ(launched[0], ProgramRequest(std::u16string(notepad.begin(), notepad.end()), ToWindowId(form->Handle())));
    EXPECT_EQ(launched[1], launched[0]);

    // An edit after start-up changes what the click starts, not the icon.
    Configure("[prog1]\r\nexe=" + Windows("regedit.exe") + "\r\n");
    test::Click(button);
    ASSERT_EQ(launched.size(), 3u);
    const std::string regedit = Windows("regedit.exe");
    EXPECT_EQ(launched[2].file, std::u16string(regedit.begin(), regedit.end()));
    EXPECT_EQ(button.Icon(), icon);

    // An emptied entry and then a deleted file start nothing.
    Configure("[prog1]\r\nexe=\r\n");
    test::Click(button);
    DeleteFileW(ini.c_str());
    test::Click(button);
    EXPECT_EQ(launched.size(), 3u);
}

TEST_F(ProgramButtonsTest, APlaceholderEntryTakesItsIconFromTheTextAsWrittenAndStartsExpanded)
{
    // A folder literally named "%systemdrive%" beside the current directory
    // holds a program with an icon: the extraction can only find it if it is
    // given the text unexpanded. The start must use the expanded text.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring work = std::wstring(temp) + L"kelvory-placeholder-test";
    const std::wstring literal = work + L"\\%systemdrive%";
    CreateDirectoryW(work.c_str(), nullptr);
    CreateDirectoryW(literal.c_str(), nullptr);
    // kelvory.exe is the program with an icon: the arm64 Wine's System32
    // programs are placeholder files, and a copy of one elsewhere gets no icon.
    ASSERT_TRUE(CopyFileW((test::OwnFolder() + L"kelvory.exe").c_str(), (literal + L"\\tool.exe").c_str(), FALSE));

    test::ScopedVariables variables;
    variables.Set(L"SystemDrive", L"Q:");
    {
        const test::ScopedCurrentDirectory current(work);
        ASSERT_TRUE(current.Changed());
        Configure("[prog3]\r\nexe=%SystemDrive%\\tool.exe\r\n");
        CreateForm();
        ASSERT_TRUE(form->ProgramButtons[2]);
        EXPECT_TRUE(form->ProgramButtons[2]->Icon());
        test::Click(*form->ProgramButtons[2]);
    }
    DeleteFileW((literal + L"\\tool.exe").c_str());
    RemoveDirectoryW(literal.c_str());
    RemoveDirectoryW(work.c_str());

    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].file, u"Q:\\tool.exe");
}

// The icon extraction reads a program's first icon group, or an icon file's
// directory, wherever its count, sizes and offsets lead. A directory that does
// not fit gives no button, and a well-formed program beside it still gets one.
// With the check taken out, both directories that count 65535 entries make
// Wine's extraction read past the mapped file, and this test program ends in a
// page fault (for the program in CURSORICON_GetResIconEntry, under
// LookupIconIdFromDirectoryEx and ExtractIconW). The other faults did not crash
// Wine's extraction when tried alone; they are refused all the same.
TEST_F(ProgramButtonsTest, AProgramWhoseIconGroupDoesNotFitGetsNoButton)
{
    // The programs of tests/targets, each with one fault in its first icon group.
    const std::wstring targets = test::OwnFolder() + L"targets\\";
    ExpectButtons({
        {"counts 65535 entries and holds one", targets + L"group_count.exe", false},
        {"counts none", targets + L"group_no_entries.exe", false},
        {"its only entry cut short", targets + L"group_cut.exe", false},
        {"an image of size 0", targets + L"group_empty_image.exe", false},
        {"an image a byte larger than the program's", targets + L"group_oversized_image.exe", false},
        {"an image the program lacks", targets + L"group_missing_image.exe", false},
        {"a group that fits, written the same way", targets + L"group_fits.exe", true},
        {"the recorder", plain, true},
    });
}

TEST_F(ProgramButtonsTest, AnIconFileWhoseDirectoryDoesNotFitGetsNoButton)
{
    // Kelvory's own application icon, two images behind a 38-byte directory,
    // and copies of it with one fault each in the directory.
    const std::string icon = test::ReadFileBytes(KELVORY_APPLICATION_ICON);
    ASSERT_GT(icon.size(), 38u);
    auto put = [](std::string& bytes, std::size_t offset, std::uint32_t value, int length) {
        for (int i = 0; i < length; ++i) {
            bytes[offset + i] = static_cast<char>(value >> 8 * i & 0xFF);
        }
    };
    // The second entry's size and offset; its image ends with the file.
    constexpr std::size_t kSize = 6 + 16 + 8;
    constexpr std::size_t kOffset = 6 + 16 + 12;
    const auto end = static_cast<std::uint32_t>(icon.size());
    std::uint32_t offset = 0;
    std::memcpy(&offset, icon.data() + kOffset, sizeof(offset));
    const struct {
        const char* what;
        const char* name;
        std::function<void(std::string&)> change;
        bool button;
    } files[] = {
        {"counts 65535 entries and holds two", "count.ico", [&](std::string& b) { put(b, 4, 65535, 2); }, false},
        {"counts none", "no_entries.ico", [&](std::string& b) { put(b, 4, 0, 2); }, false},
        {"the file ends inside its second entry", "cut.ico", [&](std::string& b) { b.resize(kSize); }, false},
        {"an image of size 0", "empty_image.ico", [&](std::string& b) { put(b, kSize, 0, 4); }, false},
        {"an image that ends a byte past the file", "long_image.ico",
         [&](std::string& b) { put(b, kSize, end - offset + 1, 4); }, false},
        {"an image that begins at the file's end", "far_image.ico", [&](std::string& b) { put(b, kOffset, end, 4); },
         false},
        {"the icon as it is", "intact.ico", [](std::string&) {}, true},
    };
    const std::wstring folder = test::OwnFolder() + L"icon-files\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<IconCase> cases;
    for (const auto& file : files) {
        std::string bytes = icon;
        file.change(bytes);
        const std::wstring path = folder + std::wstring(file.name, file.name + std::strlen(file.name));
        ASSERT_TRUE(test::WriteFileBytes(path, bytes)) << file.what;
        cases.push_back({file.what, path, file.button});
    }
    ExpectButtons(cases);
}

TEST_F(ProgramButtonsTest, WithoutAConfigurationFileOnlyTheFixedButtonsExist)
{
    DeleteFileW(ini.c_str());
    CreateForm();
    EXPECT_EQ(form->Width(), BaseWidth());
    for (const auto& slot : form->ProgramButtons) {
        EXPECT_FALSE(slot);
    }
}

} // namespace
} // namespace kelvory
