// Status boxes, seen from a message-box hook that records and closes them.
#include "ui/Globals.h"
#include "ui/Status.h"
#include "ui/StatusTexts.h"
#include "support/TestSupport.h"
#include "util/Wide.h"

using namespace qrvtest;

namespace {

struct SeenBox {
    HWND window;
    std::string caption;
    std::string text;
};
std::vector<SeenBox> seenBoxes;
HHOOK boxHook = nullptr;
HWND pendingBox = nullptr;

// Runs inside the box's own message loop, once the box has its text.
void CALLBACK readAndClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (pendingBox == nullptr)
        return;
    char caption[256] = "";
    wchar_t text[8192] = L"";  // read wide, kept as UTF-8 like the texts it is compared with
    GetWindowTextA(pendingBox, caption, sizeof caption);
    GetDlgItemTextW(pendingBox, 0xFFFF, text, 8192);
    std::string utf8;
    encodeExactly(text, CP_UTF8, utf8);
    seenBoxes.push_back({pendingBox, caption, utf8});
    PostMessageA(pendingBox, WM_COMMAND, IDOK, 0);
    pendingBox = nullptr;
}

LRESULT CALLBACK closeBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && pendingBox == nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[64] = "";
        GetClassNameA(box, className, sizeof className);
        bool seen = false;
        for (const SeenBox& entry : seenBoxes)
            seen = seen || entry.window == box;
        if (!seen && std::string(className) == "#32770") {
            pendingBox = box;
            SetTimer(nullptr, 0, 10, readAndClose);
        }
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

class StatusBoxes : public InTempDirWithRegistry {
protected:
    void SetUp() override
    {
        seenBoxes.clear();
        boxHook = SetWindowsHookExA(WH_CBT, closeBoxes, nullptr, GetCurrentThreadId());
        ASSERT_NE(nullptr, boxHook);
        setRegString(HKEY_CURRENT_USER, "Control Panel\\International", "LocaleName", "German");
        CreateDirectoryA((dir / "pkg").c_str(), nullptr);
        showFile = dir / "pkg\\__qrvshow.sem";
        copyText(showDialogFilename, PathCapacity, showFile.c_str());
        writeFile(showFile, "ok\n");
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(boxHook);
        showDialogFilename[0] = '\0';
    }
    std::string showFile;
};

TEST_F(StatusBoxes, ErrorBoxCarriesTheLanguageSuffixAndTakesTheDialogDown)
{
    Status status;
    status.showError("Kein Platz", "");
    ASSERT_EQ(1u, seenBoxes.size());
    EXPECT_EQ("Quorvan Installer: Error", seenBoxes[0].caption);
    EXPECT_EQ(std::string("Kein Platz") + errorSuffix("german"), seenBoxes[0].text);
    // Found by its full path although the current directory is elsewhere.
    EXPECT_FALSE(exists(showFile));
    Status::setLogFolder("C:\\temp\\qrv-dvd-12345678");
    status.showError("Kein Platz", "");
    Status::setLogFolder("");
    ASSERT_EQ(2u, seenBoxes.size());
    EXPECT_EQ(seenBoxes[0].text + "\n\nThe logs of this run go to C:\\temp\\qrv-dvd-12345678.",
              seenBoxes[1].text);
}

TEST_F(StatusBoxes, DetailsReplaceTheSuffix)
{
    Status status;
    status.showError("Failed", "disk full");
    ASSERT_EQ(1u, seenBoxes.size());
    EXPECT_EQ("Failed\r\rdisk full", seenBoxes[0].text);
}

TEST_F(StatusBoxes, QuietObjectShowsNothingAndLeavesTheDialog)
{
    Status status;
    status.setQuietMode(true);
    status.showError("Failed", "");
    EXPECT_TRUE(seenBoxes.empty());
    EXPECT_TRUE(exists(showFile));
}

TEST_F(StatusBoxes, MessageBoxHasTheInformationCaption)
{
    Status status;
    status.showMessage("Hello");
    ASSERT_EQ(1u, seenBoxes.size());
    EXPECT_EQ("Quorvan Installer", seenBoxes[0].caption);
    EXPECT_EQ("Hello", seenBoxes[0].text);
    EXPECT_FALSE(exists(showFile));
}

} // namespace
