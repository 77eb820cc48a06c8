// The real input box answers Enter with OK and Escape with Cancel.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/input_box.h"
#include "app/resource.h"
#include "key_strokes.h"

namespace velko::testing {
namespace {

constexpr char kDefaultAnswer[] = "C:\\default\\";
constexpr UINT kTickMilliseconds = 20;
constexpr int kPatienceTicks = 250;  // five seconds for the key to close the box

// What the user does once the box is up: type an answer, then press a key; and what was seen.
struct UserAction {
    std::string typed;
    UINT key;
    HWND focusWhenShown = nullptr;
    HWND answerField = nullptr;
    DWORD selectionWhenShown = 0;
    int ticks = 0;
    bool gaveUp = false;
};
UserAction* currentAction = nullptr;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Runs inside the box's own message loop, which then handles the key as it would the keyboard's.
// A box that the key did not close is closed after a while, so that the test fails, not hangs.
void CALLBACK actOnInputBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    UserAction& action = *currentAction;
    if (++action.ticks == 1) {
        // Tests run side by side on one desktop, and another one's window may have taken the
        // foreground since the box was shown: made active again, the box shows the focus it keeps.
        SetActiveWindow(dialog);
        action.focusWhenShown = GetFocus();
        action.answerField = GetDlgItem(dialog, IDC_INPUT_ANSWER);
        action.selectionWhenShown = static_cast<DWORD>(SendMessageA(action.answerField, EM_GETSEL, 0, 0));
        SetWindowTextA(action.answerField, action.typed.c_str());
        postKeyStroke(action.answerField, action.key);
    } else if (action.ticks > kPatienceTicks) {
        action.gaveUp = true;
        EndDialog(dialog, IDABORT);
    }
}

class InputBoxKeys : public ::testing::Test {
protected:
    std::optional<std::string> answer(const std::string& typed, UINT key) {
        action = {typed, key};
        currentAction = &action;
        const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, actOnInputBox);
        const std::optional<std::string> result =
            showInputBox(GetModuleHandleA(nullptr), nullptr, "Where?", "Input box keys", kDefaultAnswer);
        KillTimer(nullptr, timer);
        currentAction = nullptr;
        return result;
    }

    UserAction action;
};

TEST_F(InputBoxKeys, EnterAnswersWithTheTypedText) {
    EXPECT_EQ(answer("D:\\xampp\\", VK_RETURN), "D:\\xampp\\");
    EXPECT_FALSE(action.gaveUp);
}

TEST_F(InputBoxKeys, EscapeCancelsWhateverWasTyped) {
    EXPECT_EQ(answer("D:\\xampp\\", VK_ESCAPE), std::nullopt);
    EXPECT_FALSE(action.gaveUp);
}

TEST_F(InputBoxKeys, TheAnswerHasTheFocusWithTheDefaultSelected) {
    answer("", VK_ESCAPE);
    EXPECT_EQ(action.focusWhenShown, action.answerField);
    EXPECT_EQ(LOWORD(action.selectionWhenShown), 0);
    EXPECT_EQ(HIWORD(action.selectionWhenShown), std::string(kDefaultAnswer).size());
}

}  // namespace
}  // namespace velko::testing
