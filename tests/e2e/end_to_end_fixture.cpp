#include "end_to_end_fixture.h"

#include <filesystem>

#include "config/installation.h"
#include "ui_text.h"

namespace fs = std::filesystem;

namespace velko::e2e {

FileContents filesBelow(const std::string& directory) {
    FileContents files;
    for (const auto& entry : fs::recursive_directory_iterator(directory))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), directory).string()] = testing::readBytes(entry.path().string());
    return files;
}

// A pointer file left by an earlier run would change what the program starts on.
EndToEndTest::EndToEndTest() { fs::remove(pointerFile()); }

EndToEndTest::~EndToEndTest() {
    program.reset();
    // The pointer file, the journal and any temporary a save cut short left beside them.
    const fs::path pointer(pointerFile());
    for (const auto& entry : fs::directory_iterator(pointer.parent_path()))
        if (entry.path().filename().string().starts_with(pointer.filename().string())) fs::remove(entry.path());
}

std::string EndToEndTest::pointerFile() const { return InstallationPaths{}.pointerFile; }

void EndToEndTest::installDemo() const {
    scratch.copyDemo("xampp\\");
    testing::writeBytes(pointerFile(), "xampp_dir\t= " + xamppDirectory() + "\r\n");
}

void EndToEndTest::start() { program = std::make_unique<RunningProgram>(); }

bool EndToEndTest::waitForMainWindow() {
    return waitUntil([&] {
        mainWindow = findMainWindow();
        return mainWindow && IsWindowVisible(mainWindow);
    });
}

HWND EndToEndTest::findMainWindow() const {
    return topLevelWindow(program->processId(), kMainWindowClass, text::kAppTitle);
}

HWND EndToEndTest::control(Control name) const { return descendantWithId(mainWindow, controlId(name)); }

std::string EndToEndTest::textOf(Control name) const { return e2e::textOf(control(name)); }

bool EndToEndTest::isVisible(Control name) const { return IsWindowVisible(control(name)); }

bool EndToEndTest::waitForText(Control name, const std::string& expected) const {
    return waitUntil([&] { return textOf(name) == expected; });
}

void EndToEndTest::pressKeyOnWindow(WORD virtualKey, std::initializer_list<WORD> modifiers) const {
    ASSERT_TRUE(program->bringToFront(mainWindow));
    pressKey(virtualKey, modifiers);
}

void EndToEndTest::clickOn(Control name) const {
    ASSERT_TRUE(program->bringToFront(mainWindow));
    clickInside(control(name), centreOf(control(name)));
}

void EndToEndTest::clickInside(HWND window, POINT point) {
    const HWND uncovered = WindowFromPoint(point);
    ASSERT_EQ(uncovered, window) << "a window of class " << classOf(uncovered) << " lies over the point";
    clickAt(point);
}

void EndToEndTest::typeInto(Control name, const std::string& text) const {
    ASSERT_NO_FATAL_FAILURE(clickOn(name));
    ASSERT_TRUE(program->waitForFocus(control(name))) << "the click did not put the focus into the field";
    typeOver(text);
    ASSERT_TRUE(waitForText(name, text)) << "the field holds \"" << textOf(name) << "\"";
}

}  // namespace velko::e2e
