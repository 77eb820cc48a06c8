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

// What the user does once the box is up: type an answer, then press a key.
struct UserAction {
    std::string typed;
    UINT key;
    HWND focusWhenShown = nullptr;
    HWND answerField = nullptr;
    DWORD selectionWhenShown = 0;
    bool done = false;
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
void CALLBACK actOnInputBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || currentAction->done) return;
    currentAction->done = true;
    currentAction->focusWhenShown = GetFocus();
    currentAction->answerField = GetDlgItem(dialog, IDC_INPUT_ANSWER);
    currentAction->selectionWhenShown =
        static_cast<DWORD>(SendMessageA(currentAction->answerField, EM_GETSEL, 0, 0));
    SetWindowTextA(currentAction->answerField, currentAction->typed.c_str());
    postKeyStroke(currentAction->key);
}

class InputBoxKeys : public ::testing::Test {
protected:
    std::optional<std::string> answer(const std::string& typed, UINT key) {
        action = {typed, key};
        currentAction = &action;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, actOnInputBox);
        const std::optional<std::string> result =
            showInputBox(GetModuleHandleA(nullptr), nullptr, "Where?", "Input box keys", "C:\\default\\");
        KillTimer(nullptr, timer);
        currentAction = nullptr;
        return result;
    }

    UserAction action;
};

TEST_F(InputBoxKeys, EnterAnswersWithTheTypedText) {
    EXPECT_EQ(answer("D:\\xampp\\", VK_RETURN), "D:\\xampp\\");
}

TEST_F(InputBoxKeys, EscapeCancelsWhateverWasTyped) {
    EXPECT_EQ(answer("D:\\xampp\\", VK_ESCAPE), std::nullopt);
}

TEST_F(InputBoxKeys, TheAnswerHasTheFocusWithTheDefaultSelected) {
    answer("", VK_ESCAPE);
    EXPECT_EQ(action.focusWhenShown, action.answerField);
    EXPECT_EQ(LOWORD(action.selectionWhenShown), 0);
    EXPECT_EQ(HIWORD(action.selectionWhenShown), std::string("C:\\default\\").size());
}

}  // namespace
}  // namespace velko::testing
