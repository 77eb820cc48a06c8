#pragma once
// frmVelko: the configurator's one window. It owns every control, and the controls are the only
// store of the configuration being edited.
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "aids/popup_menus.h"
#include "app/layout.h"
#include "app/window_build.h"
#include "config/config_view.h"
#include "config/installation.h"
#include "win/com_apartment.h"
#include "win/dialogs.h"
#include "win/handles.h"

namespace velko {

class FrmVelko final : public ConfigView {
public:
    FrmVelko(HINSTANCE instance, Dialogs& dialogs, InstallationPaths paths);
    ~FrmVelko() override;
    FrmVelko(const FrmVelko&) = delete;
    FrmVelko& operator=(const FrmVelko&) = delete;

    // Creates the window, loads the configuration and shows the window. False when the program
    // ended instead (a failure, or the prompt cancelled); the window is then gone.
    bool open(int showCommand);

    // The keys the window handles before the controls see them: Tab order, Ctrl+Tab, access keys.
    bool translateKeys(MSG& message);

    HWND hwnd() const { return hwnd_; }
    HWND control(Control name) const { return controls_[static_cast<size_t>(name)]; }
    HMENU menuBar() const { return menuBar_; }
    HMENU presetMenu() const { return presetMenu_.handle(); }
    HMENU segmentMenu() const { return segmentMenu_.get(); }
    const std::vector<std::string>& presetStore() const { return presetStore_; }

    // ConfigView
    std::string text(Field field) const override;
    void setText(Field field, std::string_view text) override;
    std::string fieldName(Field field) const override;
    void setCaption(Caption caption, std::string_view text) override;
    void clearThemes() override;
    void addTheme(std::string_view name) override;
    std::string theme(int index) const override;
    int selectedTheme() const override;
    void selectTheme(int index) override;
    void addPreset(std::string_view line) override;
    LoadedValues& loaded() override { return loaded_; }
    void enableCommands(bool enabled) override;
    void yieldToEvents() override;
    void showStatus(std::string_view status) override;
    void inform(const std::string& message) override;
    void warn(const Failure& failure) override;
    bool confirm(const std::string& question) override;
    std::optional<std::string> askForXamppDirectory() override;

private:
    enum class Outcome { Done, Cancelled, Failed };
    class Busy;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Building the window.
    void createWindow();
    void applyLayout(UINT dpi);

    // Handlers.
    void onCommand(int id, int notification, HWND sender);
    LRESULT onNotify(const NMHDR& header);
    void onMenuCommand(HMENU menu, int position);
    void onClose();
    void onTabChange();
    void onPortHelp();
    void onReload();
    void onSave();
    void onPresetsButton();
    void onSegmentsButton();
    void onBrowse(Control field);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    // The procedures the handlers run.
    Outcome Prog_GetData();
    void Prog_FillPresetMenu();
    void Prog_RewriteConf();

    template <class Action>
    bool reportingFailures(Action&& action);
    void showFailure(int number, const std::string& description);
    void requestEnd(UINT exitCode);
    void end(UINT exitCode);

    void moveFocus(int step);
    void switchTab(int step);
    HWND fieldControl(Field field) const;

    HINSTANCE instance_;
    Dialogs& dialogs_;
    InstallationPaths paths_;
    HWND hwnd_ = nullptr;
    Controls controls_{};
    HMENU menuBar_ = nullptr;  // the window destroys it with itself
    PresetMenu presetMenu_;
    MenuHandle segmentMenu_;
    GdiObject font_;
    HWND focusBeforeDeactivation_ = nullptr;
    ComApartment apartment_;  // left when the window has gone

    LoadedValues loaded_;
    std::vector<std::string> presetStore_;  // lstMO

    int busyDepth_ = 0;
    std::optional<UINT> pendingEnd_;
    ULONGLONG lastYield_ = 0;
};

}  // namespace velko
