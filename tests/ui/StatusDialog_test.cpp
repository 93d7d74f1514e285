// The status dialog built from the launcher's own template, with the texts of the language
// that the registry names.
#include "ui/Centring.h"
#include "ui/Globals.h"
#include "ui/StatusDialog.h"
#include "support/TestSupport.h"

using namespace qrvtest;

namespace {

class StatusDialogTest : public InTempDirWithRegistry {
protected:
    void SetUp() override
    {
        module = LoadLibraryExA(builtProgram("setup.exe").c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module);
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(nullptr, parent);
        hDlgMain = CreateDialogParamA(module, "STATUSDIALOG", parent, StatusDialog, 0);
        ASSERT_NE(nullptr, hDlgMain);
    }
    void TearDown() override
    {
        if (hDlgMain != nullptr)
            DestroyWindow(hDlgMain);
        hDlgMain = nullptr;
        if (parent != nullptr)
            DestroyWindow(parent);
        if (module != nullptr)
            FreeLibrary(module);
    }
    void setLocale(const char* name)
    {
        setRegString(HKEY_CURRENT_USER, "Control Panel\\International", "LocaleName", name);
    }
    std::string shownText()
    {
        char text[1000];
        getMessage(hDlgMain, StatusTextControl, text);
        SetDlgItemTextA(hDlgMain, StatusTextControl, text);
        char back[1000] = "";
        GetDlgItemTextA(hDlgMain, StatusTextControl, back, sizeof back);
        return back;
    }
    BYTE itemCharSet()
    {
        HFONT font = reinterpret_cast<HFONT>(
            SendDlgItemMessageA(hDlgMain, StatusTextControl, WM_GETFONT, 0, 0));
        LOGFONTA description{};
        if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0)
            return 0xFF;
        return description.lfCharSet;
    }

    HMODULE module = nullptr;
    HWND parent = nullptr;
};

TEST_F(StatusDialogTest, TemplateHasItsCaptionAndCentredTextItem)
{
    char caption[100] = "";
    GetWindowTextA(hDlgMain, caption, sizeof caption);
    EXPECT_STREQ("Installer", caption);
    HWND item = GetDlgItem(hDlgMain, StatusTextControl);
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(static_cast<LONG>(SS_CENTER), GetWindowLongA(item, GWL_STYLE) & SS_TYPEMASK);
    char initial[100] = "x";
    GetDlgItemTextA(hDlgMain, StatusTextControl, initial, sizeof initial);
    EXPECT_STREQ("", initial);
}

// The dialog, grown by its frame on every side, stands centred; the empty main window behind it
// stays where and as it was made.
TEST_F(StatusDialogTest, DialogIsCentredAndItsParentStaysAsItWas)
{
    RECT dialogRect, parentRect;
    GetWindowRect(hDlgMain, &dialogRect);
    GetWindowRect(parent, &parentRect);
    const int width = dialogRect.right - dialogRect.left - 2 * GetSystemMetrics(SM_CXDLGFRAME);
    const int height = dialogRect.bottom - dialogRect.top - 2 * GetSystemMetrics(SM_CYDLGFRAME);
    EXPECT_EQ(centredOrigin(GetSystemMetrics(SM_CXFULLSCREEN), width), dialogRect.left);
    EXPECT_EQ(centredOrigin(GetSystemMetrics(SM_CYFULLSCREEN), height), dialogRect.top);
    const RECT made{0, 0, 0, 0};
    EXPECT_TRUE(EqualRect(&made, &parentRect)) << parentRect.left << "," << parentRect.top << " "
                                               << parentRect.right << "," << parentRect.bottom;
}

TEST_F(StatusDialogTest, TextFollowsTheRegistryLanguage)
{
    const struct {
        const char* locale;
        const char* text;
    } rows[] = {
        {"German", "Bereite Wizard.."},
        {"FRA", "Préparation Wizard..."},
        {"dutch (belgian)", "Voorbereiden Wizard..."},
        {"en-US", "Unpacking the installer..."},
        {"jpn", "\rPreparing wizard..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale);
        setLocale(row.locale);
        EXPECT_EQ(row.text, shownText());
    }
}

TEST_F(StatusDialogTest, JapaneseTextKeepsAShiftJisFont)
{
    setLocale("Japanese");
    shownText();
    EXPECT_EQ(SHIFTJIS_CHARSET, itemCharSet());
    // A second call replaces the font it attached before (and releases the old one).
    shownText();
    EXPECT_EQ(SHIFTJIS_CHARSET, itemCharSet());
}

TEST_F(StatusDialogTest, CloseClearsTheSharedHandle)
{
    HWND dialog = hDlgMain;
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, hDlgMain);
    EXPECT_FALSE(IsWindow(dialog));
}

// Guards against a window larger than the screen being placed far off it.
TEST(Centring, HalvesTheFreeSpaceAndNeverGoesOffScreen)
{
    EXPECT_EQ(300, centredOrigin(1000, 400));
    EXPECT_EQ(0, centredOrigin(400, 400));
    EXPECT_EQ(0, centredOrigin(300, 400));
    EXPECT_EQ(0, centredOrigin(401, 400));
}

} // namespace
