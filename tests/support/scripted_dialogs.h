#pragma once
// Dialogs that tests answer: every call is recorded, every answer comes from a script.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/dialogs.h"

namespace velko::testing {

struct ShownMessage {
    HWND owner;
    std::string text;
    std::string title;
    UINT style;
};

struct AskedText {
    HWND owner;
    std::string prompt;
    std::string title;
    std::string defaultAnswer;
};

// What the open-file dialog was given, and what it hands back.
struct OpenFileCall {
    OPENFILENAMEA record;  // pointers in it are only valid during the call
    std::string filter;    // the whole filter list, NULs included, up to its double NUL
    std::string title;
    std::string initialDirectory;
    std::string fileBuffer;       // as it came in, nMaxFile characters
    std::string fileTitleBuffer;  // as it came in, nMaxFileTitle characters
};
struct FileChoice {
    BOOL result;
    std::string path;  // written into the buffer, NUL-terminated, whatever the result
};

struct ShownPopup {
    HMENU menu;
    HWND owner;
    std::vector<std::string> captions;  // "" for a separator
};

class ScriptedDialogs final : public Dialogs {
public:
    // Runs inside every dialog and pop-up, before it is answered: a look at the window meanwhile.
    std::function<void()> whileShown;

    std::vector<ShownMessage> messages;
    std::deque<int> messageAnswers;  // IDOK when empty

    std::vector<AskedText> prompts;
    std::deque<std::optional<std::string>> promptAnswers;  // cancelled when empty

    std::vector<OpenFileCall> fileDialogs;
    std::deque<FileChoice> fileChoices;  // cancelled when empty

    std::vector<ShownPopup> popups;
    std::deque<std::optional<int>> popupChoices;  // position chosen; dismissed when empty

    std::optional<UINT> endedWith;

    int showMessage(HWND owner, const std::string& text, const std::string& title, UINT style) override;
    std::optional<std::string> askText(HWND owner, const std::string& prompt, const std::string& title,
                                       const std::string& defaultAnswer) override;
    BOOL openFileName(OPENFILENAMEA& record) override;
    void trackPopupMenu(HMENU menu, HWND owner) override;
    void endProcess(UINT exitCode) override { endedWith = exitCode; }
};

std::vector<std::string> menuCaptions(HMENU menu);

}  // namespace velko::testing
