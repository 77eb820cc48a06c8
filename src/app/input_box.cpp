#include "app/input_box.h"

#include "app/resource.h"
#include "ui_text.h"

namespace velko {
namespace {

struct Exchange {
    const std::string& prompt;
    const std::string& title;
    std::string answer;
};

void initialise(HWND dialog, Exchange& exchange) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&exchange));
    SetWindowTextA(dialog, exchange.title.c_str());
    SetDlgItemTextA(dialog, IDC_INPUT_PROMPT, exchange.prompt.c_str());
    SetDlgItemTextA(dialog, IDC_INPUT_ANSWER, exchange.answer.c_str());
    SetDlgItemTextA(dialog, IDOK, std::string(text::kPromptOk).c_str());
    SetDlgItemTextA(dialog, IDCANCEL, std::string(text::kPromptCancel).c_str());
    SendDlgItemMessageA(dialog, IDC_INPUT_ANSWER, EM_SETSEL, 0, -1);
}

std::string answerOf(HWND dialog) {
    const HWND edit = GetDlgItem(dialog, IDC_INPUT_ANSWER);
    std::string answer(static_cast<size_t>(GetWindowTextLengthA(edit)), '\0');
    GetWindowTextA(edit, answer.data(), static_cast<int>(answer.size()) + 1);
    return answer;
}

INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, *reinterpret_cast<Exchange*>(lParam));
        SetFocus(GetDlgItem(dialog, IDC_INPUT_ANSWER));
        return FALSE;  // the focus is set: on the answer, not on the first button
    }
    if (message != WM_COMMAND) return FALSE;
    const int button = LOWORD(wParam);
    if (button == IDOK)
        reinterpret_cast<Exchange*>(GetWindowLongPtrA(dialog, DWLP_USER))->answer = answerOf(dialog);
    if (button == IDOK || button == IDCANCEL) EndDialog(dialog, button);
    return TRUE;
}

}  // namespace

std::optional<std::string> showInputBox(HINSTANCE instance, HWND owner, const std::string& prompt,
                                        const std::string& title, const std::string& defaultAnswer) {
    Exchange exchange{prompt, title, defaultAnswer};
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_INPUT_BOX), owner, inputBoxProc,
                                           reinterpret_cast<LPARAM>(&exchange));
    if (result != IDOK) return std::nullopt;
    return exchange.answer;
}

}  // namespace velko
