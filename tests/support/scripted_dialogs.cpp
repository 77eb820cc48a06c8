#include "scripted_dialogs.h"

#include <algorithm>
#include <cstring>

namespace velko::testing {
namespace {

template <class T>
T takeFront(std::deque<T>& queue, T whenEmpty) {
    if (queue.empty()) return whenEmpty;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

std::string filterList(const char* filter) {
    if (!filter) return {};
    const char* end = filter;
    while (*end || *(end + 1)) ++end;
    return std::string(filter, end + 1);
}

}  // namespace

int ScriptedDialogs::showMessage(HWND owner, const std::string& text, const std::string& title, UINT style) {
    if (whileShown) whileShown();
    messages.push_back({owner, text, title, style});
    return takeFront(messageAnswers, IDOK);
}

std::optional<std::string> ScriptedDialogs::askText(HWND owner, const std::string& prompt, const std::string& title,
                                                    const std::string& defaultAnswer) {
    if (whileShown) whileShown();
    prompts.push_back({owner, prompt, title, defaultAnswer});
    return takeFront(promptAnswers, std::optional<std::string>());
}

BOOL ScriptedDialogs::openFileName(OPENFILENAMEA& record) {
    if (whileShown) whileShown();
    fileDialogs.push_back({record, filterList(record.lpstrFilter), record.lpstrTitle ? record.lpstrTitle : "",
                           record.lpstrInitialDir ? record.lpstrInitialDir : "",
                           std::string(record.lpstrFile, record.nMaxFile),
                           record.lpstrFileTitle ? std::string(record.lpstrFileTitle, record.nMaxFileTitle) : ""});
    const FileChoice choice = takeFront(fileChoices, FileChoice{0, ""});
    if (!choice.path.empty()) {
        const size_t length = std::min<size_t>(choice.path.size(), record.nMaxFile - 1);
        std::memcpy(record.lpstrFile, choice.path.data(), length);
        record.lpstrFile[length] = '\0';
    }
    return choice.result;
}

void ScriptedDialogs::trackPopupMenu(HMENU menu, HWND owner) {
    if (whileShown) whileShown();
    popups.push_back({menu, owner, menuCaptions(menu)});
    const std::optional<int> choice = takeFront(popupChoices, std::optional<int>());
    if (choice) SendMessageA(owner, WM_MENUCOMMAND, static_cast<WPARAM>(*choice), reinterpret_cast<LPARAM>(menu));
}

std::vector<std::string> menuCaptions(HMENU menu) {
    std::vector<std::string> captions;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        char caption[512] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        captions.emplace_back(caption);
    }
    return captions;
}

}  // namespace velko::testing
