// The main window built from a test table: menu bar, language switches,
// parameter rows, fixed controls, layout, scrolling, painting and progress.
// One real main window serves all tests, made without a unit; each test
// rebuilds what it needs.
#include "app/app_state.h"
#include "app/command_dispatch_win32.h"
#include "app/form_win32.h"
#include "app/main_window_win32.h"
#include "app/progress_bar_win32.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Sizes the main window so that its client area is width x height; twice,
// as a menu bar that wraps or unwraps changes the client height.
void setClientSize(int width, int height) {
    HWND w = appState.mainWindow;
    ShowWindow(w, SW_RESTORE);
    for (int pass = 0; pass < 2; ++pass) {
        RECT window = {}, client = {};
        GetWindowRect(w, &window);
        GetClientRect(w, &client);
        SetWindowPos(w, nullptr, 0, 0, window.right - window.left + width - client.right,
                     window.bottom - window.top + height - client.bottom, SWP_NOZORDER | SWP_NOMOVE);
    }
}

void pumpFor(DWORD milliseconds) {
    MSG message;
    for (const DWORD until = GetTickCount() + milliseconds; GetTickCount() < until; Sleep(10)) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// 30 parameters in English; Deutsch hides the second and the field T4; a
// fourth language's name sorts after the others byte-wise.
std::string testTable() {
    std::string t = "Y;\"English\"\nQ;\"Save\";\"Open\";\"Print\";\"Language\";\"About\"\n"
                    "Q1;\"Defaults\";\"Write\";\"Read\";\"OK\";\"Cancel\"\nXI;\"%d min\"\n"
                    "T1;\"Phone 1\"\nT2;\"Phone 2\"\nT3;\"Phone 3\"\nT4;\"Phone 4\"\nH;\"Code\"\nK;\"Object\"\n"
                    "X;\"Entry delay\";\"10 s\";\"20 s\";\"30 s\"\nX;\"Siren\";\"Off\";\"On\"\n"
                    "X;\"Test interval\";\"0\";\"0\";\"0\";\"0\"\n";
    for (int n = 4; n <= 30; ++n) t += "X;\"Parameter " + std::to_string(n) + "\";\"No\";\"Yes\";\"Maybe\"\n";
    t += "Y;\"Deutsch\"\nQ;\"Speichern\"\nT4;\"0\"\nX;\"Eingangsverz\xf6gerung\";\"10 s\";\"20 s\";\"30 s\"\nX;\"0\"\n";
    return t + "Y;\"Polski\"\nY;\"\xc8" "e\x9atina\"\n";
}

struct Placement { int x, y, width, height; };

Placement placementIn(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

HWND mainWindow() { return appState.mainWindow; }
HWND area() { return appState.parameterArea; }

const ControlRecord* row(int32_t n) { return findControl(appState.parameterRows, n); }
HWND rowList(int32_t n) { return row(n) ? row(n)->secondWindow : nullptr; }
HWND rowCaption(int32_t n) { return row(n) ? row(n)->firstWindow : nullptr; }
HWND fixedWindow(int32_t id, bool second = false) {
    const ControlRecord* r = findControl(appState.fixedControls, id);
    return r ? (second ? r->secondWindow : r->firstWindow) : nullptr;
}

std::string windowText(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

int selection(int32_t n) { return static_cast<int>(SendMessageA(rowList(n), CB_GETCURSEL, 0, 0)); }
int choiceCount(int32_t n) { return static_cast<int>(SendMessageA(rowList(n), CB_GETCOUNT, 0, 0)); }
int scrollPosition() { return GetScrollPos(area(), SB_VERT); }
int rowPitch() { return appState.layoutMetrics.rowHeight + 4; }

class MainWindow : public ::testing::Test {
protected:
    // Without a unit the status refresh would lock the form whenever
    // messages are dispatched: these tests drive every state themselves.
    static void SetUpTestSuite() {
        loadDefinitionText(appState.definitions, testTable());
        appState.choiceCounts.clear();
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        registerMainClass(GetModuleHandleA(nullptr));
        ASSERT_TRUE(createMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL));
        KillTimer(appState.mainWindow, IDT_STATUS_TIMER);
        KillTimer(appState.parameterArea, IDT_STATUS_TIMER);
    }

    void SetUp() override {
        loadDefinitionText(appState.definitions, testTable());
        appState.choiceCounts.clear();
        appState.configurationLoaded = true;
        appState.unitLost = false;
        setClientSize(640, 560);
        applyLanguage("English");
    }
};

// The bar from row "Q" ("???" where it has no entry), then a switch to
// Deutsch and back. Which entries a lock disables is the end-to-end tests'.
TEST_F(MainWindow, MenuBarAndLanguageSwitchKeepSelectionsAndRebuildFields) {
    const char* expected[] = {"Save", "Open", "Print", "Language", "About", "???"};
    for (int i = 0; i < 6; ++i) {
        char caption[64] = {};
        GetMenuStringA(GetMenu(mainWindow()), i, caption, sizeof caption, MF_BYPOSITION);
        EXPECT_STREQ(caption, expected[i]) << i;
    }
    EXPECT_EQ(GetMenuItemID(GetMenu(mainWindow()), 5), static_cast<UINT>(IDM_EXIT));
    SendMessageA(rowList(1), CB_SETCURSEL, 2, 0);
    SendMessageA(rowList(2), CB_SETCURSEL, 1, 0);
    SendMessageA(rowList(30), CB_SETCURSEL, 2, 0);
    const int secondRowY = placementIn(rowCaption(2)).y, thirdRowY = placementIn(rowCaption(3)).y;
    ASSERT_TRUE(SetWindowTextA(fixedWindow(IDC_TEXT_T4, true), "123456"));

    // The pop-up lists the languages byte-wise, Deutsch first.
    HMENU languages = GetSubMenu(GetMenu(mainWindow()), 3);
    ASSERT_EQ(GetMenuItemCount(languages), 4);
    dispatchCommand(GetMenuItemID(languages, 0), 0);
    languages = GetSubMenu(GetMenu(mainWindow()), 3);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((GetMenuState(languages, i, MF_BYPOSITION) & MF_CHECKED) != 0, i == 0) << "only Deutsch checked";
    EXPECT_EQ(windowText(rowCaption(1)), "1. Eingangsverz\xf6gerung");
    EXPECT_EQ(windowText(fixedWindow(IDC_RESET_DEFAULTS)), "Defaults") << "missing in Deutsch: English";
    EXPECT_EQ(selection(1), 2);
    EXPECT_EQ(selection(30), 2);
    ASSERT_NE(row(2), nullptr) << "a hidden row keeps its record";
    EXPECT_EQ(rowList(2), nullptr) << "and loses its list";
    EXPECT_EQ(placementIn(rowCaption(3)).y, secondRowY) << "the rows below move up";
    EXPECT_TRUE(!findControl(appState.fixedControls, IDC_TEXT_T4) && !GetDlgItem(mainWindow(), IDC_TEXT_T4))
        << "a field without caption leaves its window and the registry";

    applyLanguage("English");
    EXPECT_EQ(windowText(rowCaption(2)), "2. Siren");
    EXPECT_EQ(selection(2), 0) << "the value went with the list";
    EXPECT_EQ(GetWindow(rowCaption(2), GW_HWNDNEXT), rowList(2)) << "the list made again follows its caption";
    EXPECT_EQ(placementIn(rowCaption(3)).y, thirdRowY);
    EXPECT_EQ(selection(30), 2);
    HWND back = fixedWindow(IDC_TEXT_T4, true);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(windowText(back).empty() && IsWindowVisible(back)) << "and comes back empty";
    EXPECT_EQ(windowText(fixedWindow(IDC_TEXT_T4)), "Phone 4");
    EXPECT_EQ(GetWindow(fixedWindow(IDC_TEXT_T4), GW_HWNDNEXT), back) << "the field follows its caption";
    EXPECT_EQ(GetNextDlgTabItem(mainWindow(), fixedWindow(IDC_TEXT_T3, true), FALSE), back) << "in its place for Tab";
}

TEST_F(MainWindow, ChoiceListsFollowTheCountsWithGeneratedTextsAndDefaultsSelectTheFirst) {
    appState.choiceCounts = {{3, 6}, {4, 0}, {5, 2}};
    SendMessageA(rowList(5), CB_SETCURSEL, 2, 0);
    buildParameterRows();
    ASSERT_EQ(choiceCount(3), 6);
    char item[64] = {};
    SendMessageA(rowList(3), CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, "5 min");
    EXPECT_TRUE(choiceCount(4) == 0 && selection(4) == CB_ERR) << "an empty list has no value";
    EXPECT_EQ(selection(5), 0) << "a selection beyond the new count falls back to the first choice";
    SendMessageA(rowList(1), CB_SETCURSEL, 2, 0);
    SendMessageA(rowList(17), CB_SETCURSEL, 1, 0);
    resetToDefaults();
    EXPECT_EQ(std::make_pair(selection(1), selection(17)), std::make_pair(0, 0));
}

// Where each control belongs is the native layout tests' arithmetic; here:
// every window stands there after each resize, the buttons and fields in
// their own slots, and the rows measured from their captions.
void expectAt(HWND window, Point position, const char* what) {
    const Placement p = placementIn(window);
    EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(position.x, position.y)) << what;
}

TEST_F(MainWindow, ControlsAndRowsFollowTheClientSize) {
    for (const auto& [width, height] : {std::pair{640, 560}, std::pair{300, 400}}) {
        setClientSize(width, height);
        for (const auto& [id, record] : appState.fixedControls) {
            expectAt(record.firstWindow, fixedFirstWindowPosition(record.place, width, height), "first window");
            if (record.secondWindow)
                expectAt(record.secondWindow, fixedSecondWindowPosition(record.place, width, height), "second");
        }
        EXPECT_EQ(placementIn(fixedWindow(IDC_READ_DEVICE)).x, 300 + (width - 400) / 2);
        EXPECT_EQ(placementIn(fixedWindow(IDC_TEXT_H, true)).y, height - 120);
        EXPECT_EQ(std::make_pair(placementIn(area()).width, placementIn(area()).height),
                  std::make_pair(width, parameterAreaHeight(height)));
        RECT client = {};
        GetClientRect(area(), &client);
        const LayoutMetrics& m = appState.layoutMetrics;
        expectAt(rowCaption(4), rowCaptionPosition(row(4)->place, client.right, m.rowHeight, 0), "row 4");
        expectAt(rowList(4), rowChoicePosition(row(4)->place, client.right, m.rowHeight, 0), "list 4");
        EXPECT_EQ(placementIn(rowCaption(1)).width, m.captionWidth);
    }
    EXPECT_GT(appState.layoutMetrics.captionWidth, 50) << "measured from the captions";
}

// Drags the area's scroll thumb with real mouse input to just past the
// bar's end (close enough that the bar does not let go of it). The whole
// drag is queued before any of it is dispatched: the scroll bar tracks the
// thumb in a loop of its own inside the button-down message.
void dragThumbToTheBottom() {
    RECT r = {};
    GetWindowRect(area(), &r);
    const int x = r.right - GetSystemMetrics(SM_CXVSCROLL) / 2 - 2, thumb = r.top + GetSystemMetrics(SM_CYVSCROLL) + 4;
    const struct { DWORD flags; int y; } steps[] = {
        {0, thumb}, {MOUSEEVENTF_LEFTDOWN, thumb}, {0, (thumb + r.bottom) / 2}, {0, r.bottom + 10},
        {MOUSEEVENTF_LEFTUP, r.bottom + 10}};
    std::vector<INPUT> drag;
    for (const auto& step : steps) {
        INPUT input = {INPUT_MOUSE};
        input.mi.dwFlags = step.flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = step.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        drag.push_back(input);
    }
    SetForegroundWindow(mainWindow());
    pumpFor(100);
    SendInput(static_cast<UINT>(drag.size()), drag.data(), sizeof(INPUT));
    pumpFor(500);
}

TEST_F(MainWindow, ScrollRangeLimitsAndTheDraggedThumb) {
    SCROLLINFO info = {sizeof info, SIF_ALL};
    GetScrollInfo(area(), SB_VERT, &info);
    RECT client = {};
    GetClientRect(area(), &client);
    const int page = client.bottom / rowPitch(), last = 30 - page + 1;
    ASSERT_LT(page, 30) << "the test needs more rows than fit";
    EXPECT_EQ(std::make_tuple(info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos),
              std::make_tuple(0, 30, page, 0));

    SendMessageA(area(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(scrollPosition(), last);
    EXPECT_EQ(placementIn(rowCaption(30)).y, (29 - last) * rowPitch() + 4);
    layoutMainWindow();
    EXPECT_EQ(scrollPosition(), 0) << "every layout scrolls back to the first row";
    // The rows follow the thumb (SB_THUMBTRACK) and stop at the last position the range allows.
    dragThumbToTheBottom();
    EXPECT_EQ(scrollPosition(), last);
    EXPECT_EQ(placementIn(rowCaption(1)).y, 4 - last * rowPitch());
}

// Paints the area into a black bitmap and returns the rows (y) that hold a
// white separator pixel at x = 5.
std::vector<int> separatorRows() {
    RECT client = {};
    GetClientRect(area(), &client);
    HDC screen = GetDC(area()), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    paintParameterArea(dc, area());
    std::vector<int> rows;
    for (int y = 0; y < client.bottom; ++y)
        if (GetPixel(dc, 5, y) == RGB(255, 255, 255)) rows.push_back(y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(area(), screen);
    return rows;
}

TEST_F(MainWindow, SeparatorsBelowShownRowsNoneForAnEmptyTableAndProgressInTheStatusLinePlace) {
    std::vector<int> rows = separatorRows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0], rowPitch() + 2);
    EXPECT_EQ(rows[1], 2 * rowPitch() + 2);
    SendMessageA(area(), WM_VSCROLL, SB_BOTTOM, 0);
    rows = separatorRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), (30 - scrollPosition()) * rowPitch() + 2) << "no line below the empty slot";

    // A table without rows: the rows of the last list go, windows and all.
    const HWND lastList = rowList(30);
    loadDefinitionText(appState.definitions, "Y;\"English\"\n");
    applyLanguage("English");
    EXPECT_TRUE(separatorRows().empty());
    EXPECT_EQ(row(1), nullptr);
    EXPECT_FALSE(IsWindow(lastList));
    EXPECT_EQ(GetMenuItemCount(GetMenu(mainWindow())), 0) << "no row Q: no menu bar entries";
    // Progress steps dispatch messages; a quit among them stays for the loop.
    HWND bar = fixedWindow(IDC_PROGRESS), status = fixedWindow(IDC_STATUS_LINE);
    beginProgress(30 + 6);
    PBRANGE range = {};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(std::make_pair(range.iLow, range.iHigh), std::make_pair(0, 30 + 6));
    EXPECT_TRUE(IsWindowVisible(bar) && !IsWindowVisible(status));
    EXPECT_TRUE(stepProgress());
    PostQuitMessage(3);
    EXPECT_FALSE(stepProgress()) << "a quit tells the transfer to stop";
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 2);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
    endProgress();
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(!IsWindowVisible(bar) && IsWindowVisible(status));
}

}  // namespace
