// The main window on a real Win32 implementation: created hidden, with a
// recorder in place of the shell, and driven by real window messages.
#include "Application.h"
#include "Unit1.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <vector>

namespace kelvory {
namespace {

class Form1Test : public testing::Test {
protected:
    Application application{GetModuleHandleW(nullptr)};
    std::vector<LaunchRequest> launched;
    TForm1 form{application, [this](const LaunchRequest& request) { launched.push_back(request); }};

    static void Send(const ImageControl& image, UINT message, int x = 5, int y = 5) { test::SendMouse(image, message, x, y); }
    static void Click(const ImageControl& image) { test::Click(image); }

    RECT BoundsInGroupBox(HWND control) const
    {
        RECT bounds;
        GetWindowRect(control, &bounds);
        MapWindowPoints(nullptr, form.GroupBox1, reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }
};

TEST_F(Form1Test, IsAHiddenOwnedToolWindowWithoutTitleBarButtons)
{
    const HWND window = form.Handle();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), application.Handle());

    wchar_t className[32];
    GetClassNameW(window, className, 32);
    EXPECT_STREQ(className, L"TForm1");
    wchar_t caption[64];
    GetWindowTextW(window, caption, 64);
    EXPECT_EQ(std::wstring(caption).rfind(L"Kelvory by ", 0), 0u) << caption;

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CAPTION | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_POPUP | WS_CHILD), 0u);
    EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT), DWORD(WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT));
    EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_CONTEXTHELP), 0u);

    // The button-face colour and the stored font, unscaled on this 96-dpi screen.
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font));
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
}

TEST_F(Form1Test, HoldsTheFourFixedButtonsInAGroupBoxFillingTheClientArea)
{
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 198);
    EXPECT_EQ(client.bottom, 61);

    ASSERT_TRUE(form.GroupBox1);
    EXPECT_EQ(GetParent(form.GroupBox1), form.Handle());
    RECT box;
    GetWindowRect(form.GroupBox1, &box);
    EXPECT_EQ(box.right - box.left, 198);
    EXPECT_EQ(box.bottom - box.top, 61);
    wchar_t caption[8] = L"x";
    GetWindowTextW(form.GroupBox1, caption, 8);
    EXPECT_STREQ(caption, L"");

    const struct {
        const ImageControl& image;
        const char16_t* name;
        int left;
    } buttons[] = {{form.Image3, u"Image3", 8},
                   {form.Image2, u"Image2", 56},
                   {form.Image4, u"Image4", 104},
                   {form.Image6, u"Image6", 152}};
    for (const auto& button : buttons) {
        SCOPED_TRACE(testing::Message() << button.left);
        EXPECT_EQ(button.image.Name, button.name);
        ASSERT_TRUE(button.image.Handle());
        EXPECT_EQ(GetParent(button.image.Handle()), form.GroupBox1);
        EXPECT_TRUE(GetWindowLongPtrW(button.image.Handle(), GWL_STYLE) & WS_VISIBLE);
        const RECT bounds = BoundsInGroupBox(button.image.Handle());
        EXPECT_EQ(bounds.left, button.left);
        EXPECT_EQ(bounds.top, 16);
        EXPECT_EQ(bounds.right - bounds.left, 32);
        EXPECT_EQ(bounds.bottom - bounds.top, 32);

        // The 32-pixel, 32-bit image of each icon on this true-colour screen.
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(button.image.Icon(), &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(colour.bmWidth, 32);
        EXPECT_EQ(colour.bmHeight, 32);
        EXPECT_EQ(colour.bmBitsPixel, 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(Form1Test, EachFixedButtonIssuesExactlyItsRequestOwnedByTheMainWindow)
{
    const WindowId owner = ToWindowId(form.Handle());
    const struct {
        const ImageControl& image;
        LaunchRequest request;
    } buttons[] = {
        {form.Image3, {owner, u"Open", u"cmd.exe", std::nullopt, std::nullopt, 10}},
        {form.Image2, {owner, u"Open", u"taskmgr.exe", std::nullopt, std::nullopt, 10}},
        {form.Image4, {owner, u"Open", u"wpeutil", u"shutdown", std::nullopt, 10}},
        {form.Image6, {owner, u"Open", u"wpeutil", u"reboot", std::nullopt, 10}},
    };
    for (const auto& button : buttons) {
        launched.clear();
        Click(button.image);
        ASSERT_EQ(launched.size(), 1u);
        EXPECT_EQ(launched[0], button.request);
    }
    EXPECT_NE(owner, ToWindowId(application.Handle()));
}

TEST_F(Form1Test, OnlyALeftPressReleasedInsideIsAClick)
{
    const ImageControl& image = form.Image4;

    Send(image, WM_RBUTTONDOWN);
    Send(image, WM_RBUTTONUP);
    Send(image, WM_MBUTTONDOWN);
    Send(image, WM_MBUTTONUP);
    Send(image, WM_LBUTTONUP); // a release without a press
    EXPECT_TRUE(launched.empty());

    Send(image, WM_LBUTTONDOWN);
    Send(image, WM_LBUTTONUP, 40, 5); // dragged off before the release
    EXPECT_TRUE(launched.empty());

    // A double click arrives as press, release, double click, release: one click.
    Send(image, WM_LBUTTONDOWN);
    Send(image, WM_LBUTTONUP);
    Send(image, WM_LBUTTONDBLCLK);
    Send(image, WM_LBUTTONUP);
    EXPECT_EQ(launched.size(), 1u);

    // Every further click is a further start.
    Click(image);
    EXPECT_EQ(launched.size(), 2u);

    // Images never take the keyboard focus.
    EXPECT_NE(GetFocus(), image.Handle());
}

// Reads and closes the standard error box from inside its own modal loop.
struct ErrorBoxWatch {
    static inline std::wstring text;
    static inline std::wstring caption;
    static inline bool ownersDisabled = false;
    static inline HWND form = nullptr;

    static BOOL CALLBACK FindBox(HWND window, LPARAM) noexcept
    {
        const std::optional<test::MessageBoxText> box = test::ReadMessageBox(window);
        if (!box) {
            return TRUE;
        }
        caption = box->caption;
        text = box->text;
        ownersDisabled = !IsWindowEnabled(form);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return FALSE;
    }

    static void CALLBACK Poll(HWND, UINT, UINT_PTR timer, DWORD) noexcept
    {
        if (!EnumThreadWindows(GetCurrentThreadId(), FindBox, 0)) {
            KillTimer(nullptr, timer);
        }
    }
};

TEST_F(Form1Test, AFailureInAClickHandlerIsShownInTheStandardErrorBoxAndTheProgramGoesOn)
{
    TForm1 failing(application, [](const LaunchRequest&) { throw std::runtime_error("The shell is gone"); });
    ErrorBoxWatch::form = failing.Handle();
    ErrorBoxWatch::text.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ErrorBoxWatch::Poll);

    Click(failing.Image3);
    KillTimer(nullptr, timer);

    EXPECT_EQ(ErrorBoxWatch::text, L"The shell is gone.");
    EXPECT_EQ(ErrorBoxWatch::caption, L"win_tests"); // the application title
    EXPECT_TRUE(ErrorBoxWatch::ownersDisabled);
    EXPECT_TRUE(IsWindowEnabled(failing.Handle()));
    EXPECT_TRUE(IsWindow(failing.Handle()));
}

TEST_F(Form1Test, TheApplicationWindowIsAZeroSizeCaptionedPopUpTitledAfterTheExecutable)
{
    const HWND app = application.Handle();
    RECT bounds;
    GetWindowRect(app, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);
    EXPECT_EQ(bounds.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(app, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION), DWORD(WS_POPUP | WS_CAPTION));

    // This test program is win_tests.exe.
    wchar_t title[64];
    GetWindowTextW(app, title, 64);
    EXPECT_STREQ(title, L"win_tests");
    EXPECT_TRUE(SendMessageW(app, WM_GETICON, ICON_BIG, 0) || GetClassLongPtrW(app, GCLP_HICON));
}

TEST_F(Form1Test, TheFirstShowCentresTheWindowInTheWorkArea)
{
    RECT workArea;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    if (workArea.left != 0 || workArea.top != 0 || workArea.right != 1024 || workArea.bottom != 768) {
        GTEST_SKIP() << "needs the bare 1024 x 768 virtual display that scripts/lib/wine-run starts";
    }
    application.ShowMainWindow(form.Handle(), FirstShow::Normal);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));

    // Wine's tool window around the 198 x 61 client area is 204 x 83, so it
    // sits at ((1024 - 204) / 2, (768 - 83) / 2), the odd pixel dropped.
    RECT window;
    GetWindowRect(form.Handle(), &window);
    EXPECT_EQ(window.right - window.left, 204);
    EXPECT_EQ(window.bottom - window.top, 83);
    EXPECT_EQ(window.left, 410);
    EXPECT_EQ(window.top, 342);
}

TEST_F(Form1Test, AMaximisedStartShowsMaximised)
{
    application.ShowMainWindow(form.Handle(), FirstShow::Maximized);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(IsZoomed(form.Handle()));
}

TEST_F(Form1Test, AMinimisedStartShowsTheWindowOnlyWhenTheTaskbarButtonIsRestored)
{
    application.ShowMainWindow(form.Handle(), FirstShow::Minimized);
    EXPECT_TRUE(IsIconic(application.Handle()));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));

    SendMessageW(application.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(application.Handle()));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(Form1Test, ACloseRequestToEitherWindowEndsTheEventLoop)
{
    for (bool toApplicationWindow : {false, true}) {
        TForm1 main(application, [](const LaunchRequest&) {});
        const HWND target = toApplicationWindow ? application.Handle() : main.Handle();
        PostMessageW(target, WM_CLOSE, 0, 0);
        EXPECT_EQ(application.Run(main.Handle(), FirstShow::Normal), 0);
        EXPECT_FALSE(IsWindow(main.Handle()));
        EXPECT_TRUE(IsWindow(application.Handle()));
    }
}

TEST_F(Form1Test, TheEndOfTheSessionIsAgreedTo)
{
    EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(SendMessageW(application.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    // An ending that is called off changes nothing.
    SendMessageW(form.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(form.Handle()));
}

// A value of this user's registry set for one test and put back afterwards,
// or removed again when it was not there.
class ScopedUserValue {
public:
    ScopedUserValue(const wchar_t* key, const wchar_t* name, DWORD value) : m_key(key), m_name(name)
    {
        DWORD previous = 0;
        DWORD size = sizeof(previous);
        if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &previous, &size) == ERROR_SUCCESS) {
            m_previous = previous;
        }
        m_set = RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof(value)) == ERROR_SUCCESS;
    }
    ~ScopedUserValue()
    {
        if (m_previous) {
            RegSetKeyValueW(HKEY_CURRENT_USER, m_key, m_name, REG_DWORD, &*m_previous, sizeof(*m_previous));
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, m_key, m_name);
        }
    }
    ScopedUserValue(const ScopedUserValue&) = delete;
    ScopedUserValue& operator=(const ScopedUserValue&) = delete;

    bool Set() const noexcept { return m_set; }

private:
    const wchar_t* m_key;
    const wchar_t* m_name;
    std::optional<DWORD> m_previous;
    bool m_set = false;
};

// The layout probe's report: each line's first word, and the numbers after it.
std::map<std::string, std::vector<long>> ReadLayoutReport(const std::wstring& path)
{
    std::map<std::string, std::vector<long>> report;
    std::istringstream lines(test::ReadFileBytes(path));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string name;
        words >> name;
        for (long value = 0; words >> value;) {
            report[name].push_back(value);
        }
    }
    return report;
}

// The stored layout on a screen of 144 pixels per inch, in a process of its
// own, which reads the density when it starts: the font grows in that ratio,
// and then every stored position and size by the measured height of "0" in
// that font over the stored 13. The configured button that FormCreate adds
// continues the row in plain pixels.
TEST(Form1AtAnotherDensity, ScalesTheStoredLayoutByTheMeasuredTextHeight)
{
    const std::wstring ini = test::OwnFolder() + L"kelvory.ini";
    const std::wstring report = test::OwnFolder() + L"layout-144.txt";
    const std::wstring program = test::OwnFolder() + L"recorder.exe";
    const struct Files {
        const std::wstring& ini;
        const std::wstring& report;
        ~Files()
        {
            DeleteFileW(ini.c_str());
            DeleteFileW(report.c_str());
        }
    } files{ini, report};
    ASSERT_TRUE(test::WriteFileBytes(ini, "[prog1]\r\nexe=" + std::string(program.begin(), program.end()) + "\r\n"));
    std::map<std::string, std::vector<long>> layout;
    {
        const ScopedUserValue density(L"Control Panel\\Desktop", L"LogPixels", 144);
        ASSERT_TRUE(density.Set());
        const UniqueKernelHandle probe = test::StartProgram(test::OwnFolder() + L"layout_probe.exe", report);
        ASSERT_TRUE(probe);
        ASSERT_EQ(test::ExitCodeOf(probe), 0u);
        layout = ReadLayoutReport(report);
    }
    ASSERT_EQ(layout["dpi"], std::vector<long>{144}) << "the probe did not see the density";

    // -11 * 144 / 96 is -16.5, rounded away from zero as MulDiv rounds.
    ASSERT_EQ(layout["font"], std::vector<long>{-17});
    const UniqueFont font(CreateFontW(-17, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                      L"MS Sans Serif"));
    const UniqueScreenDC screen(GetDC(nullptr));
    SIZE zero{};
    {
        const ScopedSelection selection(screen.get(), font.get());
        GetTextExtentPoint32W(screen.get(), L"0", 1, &zero);
    }
    ASSERT_EQ(layout["text"], std::vector<long>{zero.cy});
    ASSERT_NE(zero.cy, 13) << "the text measures as stored, so nothing would scale";
    const auto scaled = [&](long stored) { return long{MulDiv(stored, zero.cy, 13)}; };

    // The configured button widened the scaled client area by its plain 48 pixels.
    EXPECT_EQ(layout["client"], (std::vector<long>{scaled(198) + 48, scaled(61)}));
    const struct {
        const char* name;
        long left;
    } fixed[] = {{"Image3", 8}, {"Image2", 56}, {"Image4", 104}, {"Image6", 152}};
    for (const auto& button : fixed) {
        EXPECT_EQ(layout[button.name], (std::vector<long>{scaled(button.left), scaled(16), scaled(32), scaled(32)}))
            << button.name;
    }
    ASSERT_EQ(layout["width"].size(), 1u);
    EXPECT_EQ(layout["prog1"], (std::vector<long>{layout["width"][0] - 50, 16, 32, 32}));
}

} // namespace
} // namespace kelvory
