// Editing in the real program and saving with Alt+S: the files it writes, byte for byte.
#include <optional>

#include "end_to_end_fixture.h"
#include "held_port.h"
#include "server/apache_processes.h"
#include "server/apache_service.h"
#include "server/child_process.h"
#include "server/http_probe.h"
#include "server/installation_apache.h"
#include "ui_text.h"
#include "win/handles.h"
#include "win/program_paths.h"

namespace velko::e2e {
namespace {

using testing::HeldPort;

class Saving : public EndToEndTest {
protected:
    static constexpr char kSettings[] = "htdocs\\velko\\config.dat";
    static constexpr char kApacheConfiguration[] = "apache\\conf\\httpd.conf";

    std::string installed(const std::string& relative) const { return xamppDirectory() + relative; }

    // Saves with Alt+S and compares the files once the save has finished: that is when it has
    // put the Apache configuration in place, the last of its files. The files are not opened
    // before, for an open file would stop the save from replacing it.
    void saveAndCompare(const FileContents& expected) const {
        const FILETIME before = lastWriteTime(installed(kApacheConfiguration));
        ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow('S', {VK_MENU}));
        compareOnceSaved(before, expected);
    }

    // Compares the files once the Apache configuration has been written since the time before.
    void compareOnceSaved(const FILETIME& before, const FileContents& expected) const {
        const std::string lastFile = installed(kApacheConfiguration);
        ASSERT_TRUE(waitUntil([&] {
            const FILETIME now = lastWriteTime(lastFile);
            return CompareFileTime(&before, &now) != 0;
        })) << "the save did not finish";
        for (const auto& [path, bytes] : expected) EXPECT_EQ(readOnceFree(path), bytes) << path;
    }

    // Opens a pop-up menu with its button and chooses the item at index with the arrow keys.
    void chooseFromPopup(Control button, int index) const {
        ASSERT_NO_FATAL_FAILURE(clickOn(button));
        HWND popup = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            popup = topLevelWindow(program->processId(), kPopupMenuClass, "");
            return popup && IsWindowVisible(popup);
        })) << "no pop-up menu";
        for (int item = 0; item <= index; ++item) pressKey(VK_DOWN);
        pressKey(VK_RETURN);
        ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(popup); })) << "the pop-up menu stays";
    }

    // Waits for the program's box, checks that it says something and presses a button of it.
    void answerBox(const std::string& said, int button) const {
        const HWND box = program->waitForWindow(kDialogClass, text::kAppTitle, 30s);
        ASSERT_TRUE(box) << "no box";
        EXPECT_NE(textsOfDescendants(box, "Static").find(said), std::string::npos) << textsOfDescendants(box, "Static");
        ASSERT_TRUE(program->bringToFront(box));
        const HWND pressed = descendantWithId(box, button);
        ASSERT_NO_FATAL_FAILURE(clickInside(pressed, centreOf(pressed)));
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); })) << "the box stays";
    }

    static FILETIME lastWriteTime(const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA attributes{};
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
        return attributes.ftLastWriteTime;
    }

private:
    // The rename that puts a file in place holds it open for a moment longer, and a reader that
    // does not share deleting cannot open it before that handle is closed.
    static std::optional<std::string> readOnceFree(const std::string& path) {
        std::optional<std::string> bytes;
        waitUntil([&] {
            try {
                bytes = testing::readBytes(path);
            } catch (const std::runtime_error&) {
            }
            return bytes.has_value();
        });
        return bytes;
    }
};

// The demo's Apache configuration with one line replaced, which must stand there exactly once.
std::string withLineReplaced(std::string text, const std::string& line, const std::string& replacement) {
    const std::string whole = "\r\n" + line + "\r\n";
    const size_t at = text.find(whole);
    if (at == std::string::npos || text.find(whole, at + 1) != std::string::npos)
        throw std::logic_error("the demo does not hold \"" + line + "\" once");
    return text.replace(at + 2, line.size(), replacement);
}

// The control panel's copy of the port moves with it, after the question that names its file.
TEST_F(Saving, ATypedPortGoesIntoTheApacheConfigurationWithTheSettingsAndThePointer) {
    installDemo();
    // A pointer file written by hand, which the save replaces with its one line.
    testing::writeBytes(pointerFile(), "# where XAMPP is\r\nXAMPP_DIR = " + xamppDirectory() + "\r\n");
    const std::string apacheBefore = testing::readBytes(installed(kApacheConfiguration));
    const std::string controlPanel = installed("xampp-control.ini"), controlPanelBefore = testing::readBytes(controlPanel);
    start();
    ASSERT_TRUE(waitForMainWindow());

    ASSERT_NO_FATAL_FAILURE(typeInto(Control::txtWSP, "8080"));
    const FILETIME unsaved = lastWriteTime(installed(kApacheConfiguration));
    ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow('S', {VK_MENU}));
    ASSERT_NO_FATAL_FAILURE(answerBox(controlPanel + " (the control panel's port", IDYES));
    compareOnceSaved(unsaved, {
        {controlPanel, withLineReplaced(controlPanelBefore, "Apache=80", "Apache=8080")},
        {installed(kSettings),
         "theme\t\t= Classic\r\n"
         "flvtool_exe\t= C:\\xampp\\flvtool2\\flvtool2\r\n"
         "enc_exe\t\t= C:\\xampp\\mplayer\\mencoder\r\n"
         "enc_opts\t= -ovc lavc -lavcopts vcodec=flv:vbitrate=500 -oac mp3lame -lameopts abr:br=56 -srate 22050\r\n"
         "duration\t= 162\r\n"
         "drive_list\t= C:\\;D:\\\r\n"},
        {pointerFile(), "xampp_dir\t= " + xamppDirectory() + "\r\n"},
        {installed(kApacheConfiguration),
         withLineReplaced(withLineReplaced(apacheBefore, "Listen 80", "listen 8080"), "ServerName localhost:80",
                          "ServerName localhost:8080")},
    });
}

TEST_F(Saving, PresetsAndAPickedExecutableGoIntoTheSettings) {
    installDemo();
    scratch.write("tools\\mencoder.exe", "MZ");
    start();
    ASSERT_TRUE(waitForMainWindow());
    ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow(VK_TAB, {VK_CONTROL}));
    ASSERT_TRUE(waitUntil([&] { return isVisible(Control::frmV) && !isVisible(Control::frmX); }));

    // The fourth preset of the demo is its default, "Mencoder HQ, 612br (DEFAULT)".
    ASSERT_NO_FATAL_FAILURE(chooseFromPopup(Control::cmdMO, 3));
    const std::string highQuality =
        "-ovc lavc -lavcopts vcodec=flv:vbitrate=612:mbd=2:mv0:trell:v4mv:cbp:last_pred=3 -oac mp3lame "
        "-lameopts abr:br=96 -srate 44100 -vf scale=480:360";
    EXPECT_TRUE(waitForText(Control::txtMenOpts, highQuality)) << textOf(Control::txtMenOpts);

    // The demo's segment length is already the default one: another first, so that the choice shows.
    ASSERT_NO_FATAL_FAILURE(typeInto(Control::txtLES, "999"));
    ASSERT_NO_FATAL_FAILURE(chooseFromPopup(Control::cmdLOS, 3));  // "2.7 minutes (162) - DEFAULT"
    EXPECT_TRUE(waitForText(Control::txtLES, "162")) << textOf(Control::txtLES);

    ASSERT_NO_FATAL_FAILURE(clickOn(Control::cmdBMen));
    const HWND picker = program->waitForWindow(kDialogClass, text::kPickerTitle, 20s);
    ASSERT_TRUE(picker) << "no open-file dialog";
    ASSERT_TRUE(program->bringToFront(picker));
    ASSERT_TRUE(waitUntil([&] { return classOf(program->focus()) == "Edit"; })) << "no field for the file name";
    typeOver(scratch.path("tools\\mencoder.exe"));
    pressKey(VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(picker); })) << "the open-file dialog stays";
    const std::string mencoder = scratch.path("tools\\mencoder");
    EXPECT_TRUE(waitForText(Control::txtMencoder, mencoder)) << textOf(Control::txtMencoder);

    saveAndCompare({{installed(kSettings),
                     "theme\t\t= Classic\r\n"
                     "flvtool_exe\t= C:\\xampp\\flvtool2\\flvtool2\r\n"
                     "enc_exe\t\t= " + mencoder + "\r\n"
                     "enc_opts\t= " + highQuality + "\r\n"
                     "duration\t= 162\r\n"
                     "drive_list\t= C:\\;D:\\\r\n"}});
}

// The boxes of the real program before a port is written: a port Apache would refuse is refused,
// one another program holds is asked about; only Yes writes, and the typed port stays throughout.
TEST_F(Saving, APortIsRefusedOrAskedAboutAndSavedOnlyWhenTheUserSaysYes) {
    installDemo();
    DeleteFileA(installed("xampp-control.ini").c_str());  // its question has a test of its own
    const testing::HeldPort held;
    const std::string apacheBefore = testing::readBytes(installed(kApacheConfiguration));
    const FileContents before = filesBelow(scratch.root());
    start();
    ASSERT_TRUE(waitForMainWindow());

    struct Answer {
        std::string port, said;
        int button;
    };
    for (const Answer& answer : {Answer{"70000", "\"Web Server Port:\"", IDOK},
                                 Answer{held.port(), "Port " + held.port() + " is held by", IDNO},
                                 Answer{held.port(), "Port " + held.port() + " is held by", IDYES}}) {
        SCOPED_TRACE(answer.said);
        ASSERT_NO_FATAL_FAILURE(typeInto(Control::txtWSP, answer.port));
        const FILETIME unsaved = lastWriteTime(installed(kApacheConfiguration));
        ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow('S', {VK_MENU}));
        ASSERT_NO_FATAL_FAILURE(answerBox(answer.said, answer.button));
        EXPECT_EQ(textOf(Control::txtWSP), answer.port);
        if (answer.button != IDYES) {
            EXPECT_EQ(filesBelow(scratch.root()), before);
            continue;
        }
        compareOnceSaved(unsaved, {{installed(kApacheConfiguration),
                                    withLineReplaced(withLineReplaced(apacheBefore, "Listen 80", "listen " + held.port()),
                                                     "ServerName localhost:80", "ServerName localhost:" + held.port())}});
    }
}

// A file of that name, or of that pattern: the save's temporaries bear a random part.
bool exists(const std::string& pattern) {
    WIN32_FIND_DATAA found;
    return FindHandle(orNull(FindFirstFileA(pattern.c_str(), &found))).get() != nullptr;
}

// The program ends between the moves of a save of a long configuration: the settings file and the
// pointer file (written by hand, so that its new content differs) replaced, and the move of Apache's
// configuration waiting while another program holds it, as a virus scanner would. The next start
// puts all three back as they were and removes every file the save made.
TEST_F(Saving, ASaveCutShortBetweenItsMovesIsUndoneByTheNextStart) {
    installDemo();
    DeleteFileA(installed("xampp-control.ini").c_str());  // no question before the save
    const std::string apache = installed(kApacheConfiguration);
    std::string longer = testing::readBytes(apache);
    for (int line = 0; line < 300000; ++line) longer += "# A comment that makes the configuration long.\r\n";
    testing::writeBytes(apache, longer);
    const std::string pointerBefore = "# where XAMPP is\r\nXAMPP_DIR = " + xamppDirectory() + "\r\n";
    testing::writeBytes(pointerFile(), pointerBefore);
    const FileContents before = filesBelow(scratch.root());
    start();
    ASSERT_TRUE(waitForMainWindow());
    ASSERT_NO_FATAL_FAILURE(typeInto(Control::txtWSP, "8080"));

    FileHandle held(orNull(CreateFileA(apache.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)));
    ASSERT_TRUE(held);
    ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow('S', {VK_MENU}));
    const bool betweenMoves = waitUntil([&] {
        return exists(installed(kSettings) + ".*.velko-old") && !exists(pointerFile() + ".*.velko-new");
    });
    program.reset();  // ends the process
    held.reset();
    ASSERT_TRUE(betweenMoves && exists(pointerFile() + ".velko-journal") && exists(apache + ".*.velko-new"));

    start();
    ASSERT_TRUE(waitForMainWindow());
    EXPECT_EQ(filesBelow(scratch.root()), before);
    EXPECT_EQ(testing::readBytes(pointerFile()), pointerBefore);
    for (const char* made : {".velko-journal", ".*.velko-new", ".*.velko-old"}) EXPECT_FALSE(exists(pointerFile() + made));
}

// The demo installation with the stand-in as its Apache on a port of its own, run as processes or
// as a service; stopped, and its service deleted, when the test ends.
class SavingWithApache : public Saving {
protected:
    const std::string apacheProgram = installed(std::string(kApacheProgram));
    const std::pair<std::string, std::string> ports = testing::twoFreePorts();
    const std::string& oldPort = ports.first;
    const std::string& newPort = ports.second;
    std::string serviceName;
    std::string demoApache;
    inline static const ServerProgress kQuiet{[](std::string_view) {}, [] {}};

    ~SavingWithApache() override {
        if (const std::optional<std::string> running = finalPathOf(apacheProgram))
            stopProcesses(processesOf(*running), kQuiet);
        if (serviceName.empty()) return;
        stopService(serviceName, kQuiet);
        const ServiceHandle service = openService(SERVICE_ALL_ACCESS);
        DeleteService(service.get());
    }

    void startApache(bool asService) {
        installDemo();
        scratch.write("xampp\\" + std::string(kApacheProgram), testing::readBytes(VELKO_STAND_IN_HTTPD));
        demoApache = testing::readBytes(installed(kApacheConfiguration));
        testing::writeBytes(installed(kApacheConfiguration), withPort(demoApache, oldPort));
        if (asService) {
            const std::string name = "VelkoStandIn" + std::to_string(GetCurrentProcessId());
            const ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
            const std::string command = "\"" + apacheProgram + "\" -k runservice";
            ASSERT_TRUE(ServiceHandle(CreateServiceA(manager.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                                     command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr)));
            serviceName = name;  // deleted when the test ends
            // The first service a new prefix starts keeps Wine's service manager busy, its database
            // locked, for up to a minute.
            ASSERT_TRUE(waitUntil([&] {
                return StartServiceA(openService(SERVICE_START).get(), 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING;
            }, 80s)) << GetLastError();
        } else {
            startDetached({apacheProgram, {}, xamppDirectory()});
        }
        ASSERT_TRUE(waitUntil([&] { return answers(oldPort); }, 80s)) << "the stand-in does not answer";
    }

    // Saves a new port with Alt+S, answering the program's questions in turn.
    void saveNewPort(const std::string& port, const std::vector<std::string>& questions) {
        start();
        ASSERT_TRUE(waitForMainWindow());
        ASSERT_NO_FATAL_FAILURE(typeInto(Control::txtWSP, port));
        ASSERT_NO_FATAL_FAILURE(pressKeyOnWindow('S', {VK_MENU}));
        for (const std::string& question : questions) ASSERT_NO_FATAL_FAILURE(answerBox(question, IDYES));
    }

    void expectRestartedOnNewPort(bool asService) {
        ASSERT_NO_FATAL_FAILURE(startApache(asService));
        ASSERT_NO_FATAL_FAILURE(saveNewPort(newPort, {restartQuestion(newPort)}));
        // The journal goes once the save stands, after Apache answered.
        EXPECT_TRUE(waitUntil([&] { return answers(newPort) && !exists(pointerFile() + ".velko-journal"); }, 30s));
        EXPECT_FALSE(answers(oldPort));
        EXPECT_EQ(testing::readBytes(installed(kApacheConfiguration)), withPort(demoApache, newPort));
        EXPECT_EQ(textOf(Control::Frame1), text::kFrameStatus);
    }

    std::string restartQuestion(const std::string& port) const {
        return text::filled(text::kRestartQuestion, {oldPort, port});
    }

    bool answers(const std::string& port) const {
        return answersHttp({"127.0.0.1", static_cast<std::uint16_t>(std::stoi(port))}, kQuiet);
    }

    static std::string withPort(const std::string& apache, const std::string& port) {
        return withLineReplaced(withLineReplaced(apache, "Listen 80", "listen " + port), "ServerName localhost:80",
                                "ServerName localhost:" + port);
    }

    // Every file of the installation but Apache's program and logs, with the pointer file.
    FileContents installationFiles() const {
        FileContents files = filesBelow(scratch.root());
        std::erase_if(files, [](const auto& file) {
            return file.first.starts_with("xampp\\apache\\logs") || file.first.starts_with("xampp\\apache\\bin");
        });
        files[pointerFile()] = testing::readBytes(pointerFile());
        return files;
    }

private:
    using ServiceHandle = UniqueHandle<SC_HANDLE, nullptr, decltype([](SC_HANDLE h) { CloseServiceHandle(h); })>;

    ServiceHandle openService(DWORD access) const {
        const ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        return ServiceHandle(OpenServiceA(manager.get(), serviceName.c_str(), access));
    }
};

TEST_F(SavingWithApache, ApacheRunAsProcessesIsRestartedOnTheNewPortAndAnswersThere) { expectRestartedOnNewPort(false); }

TEST_F(SavingWithApache, ApacheRunAsAServiceIsRestartedOnTheNewPortAndAnswersThere) { expectRestartedOnNewPort(true); }

// Another program takes the new port after the question: Apache cannot listen there, and every file
// is as before, with Apache answering on the old port, and the message gives Apache's words.
TEST_F(SavingWithApache, ANewPortAnotherProgramHoldsPutsEveryFileBackAndApacheOnTheOldPort) {
    ASSERT_NO_FATAL_FAILURE(startApache(false));
    const FileContents before = installationFiles();
    const HeldPort taken("0.0.0.0");
    ASSERT_NO_FATAL_FAILURE(saveNewPort(taken.port(), {"Port " + taken.port() + " is held by", restartQuestion(taken.port())}));
    ASSERT_NO_FATAL_FAILURE(answerBox("AH00072: make_sock: could not bind to address 0.0.0.0:" + taken.port(), IDOK));
    EXPECT_EQ(installationFiles(), before);
    EXPECT_TRUE(answers(oldPort));
}

// The program ends while it waits for Apache on the new port: the next start puts the old files back
// and, Apache not running, says so.
TEST_F(SavingWithApache, ARestartCutShortIsUndoneByTheNextStart) {
    ASSERT_NO_FATAL_FAILURE(startApache(false));
    const FileContents before = installationFiles();
    scratch.write("xampp\\apache\\logs\\stand-in-holds-start", "");
    ASSERT_NO_FATAL_FAILURE(saveNewPort(newPort, {restartQuestion(newPort)}));
    const bool waiting = waitUntil([&] { return textOf(Control::Frame1).find(newPort) != std::string::npos; });
    program.reset();  // ends the process
    ASSERT_TRUE(waiting && exists(pointerFile() + ".velko-journal"));
    stopProcesses(processesOf(*finalPathOf(apacheProgram)), kQuiet);
    start();
    ASSERT_NO_FATAL_FAILURE(answerBox(std::string(text::kSaveCutShortApacheStopped), IDOK));
    ASSERT_TRUE(waitForMainWindow());
    EXPECT_EQ(installationFiles(), before);
    EXPECT_FALSE(exists(pointerFile() + ".velko-journal"));
}

}  // namespace
}  // namespace velko::e2e
