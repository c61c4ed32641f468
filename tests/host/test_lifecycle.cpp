// How the host guards events, lists display modes, and how the program stops.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

#include "host/app.h"
#include "host/qvglfwgame.h"

namespace {

struct ChildResult {
    int exitStatus = -100;  // -100: did not exit normally
    std::string out;
};

// Runs fn in a forked child and captures its standard output and exit status.
ChildResult RunInChild(const std::function<void()>& fn) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        fn();
        fflush(stdout);
        _exit(42);
    }
    close(pipeFds[1]);
    ChildResult result;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) result.out.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    return result;
}

TEST(Stops, EachWayOfEndingPrintsItsLineAndStatus) {
    struct Case {
        const char* name;
        std::function<void()> run;
        int status;
        std::string out;
    } cases[] = {
        {"normal end", [] { qvError(u""); }, 0, ""},
        {"EndApp", [] { app::EndApp(); }, 0, ""},
        {"runtime error", [] { qvError(u"Image frame outside surface"); }, 255,
         "Tarvik Runtime Error : Image frame outside surface\n\n"},
        {"message narrowed to bytes", [] { qvError(u"A\u0142"); }, 255, "Tarvik Runtime Error : AB\n\n"},
        {"uncaught exception", [] { QvGame().Die(ThrowableObject()); }, 255,
         "Tarvik Runtime Error : Uncaught Tarvik Exception\n"},
        {"segfault", [] { InstallSignalHandlers(); raise(SIGSEGV); }, 255,
         "Tarvik Runtime Error : Memory access violation\n\n"},
        {"illegal instruction", [] { InstallSignalHandlers(); raise(SIGILL); }, 255,
         "Tarvik Runtime Error : Illegal instruction\n\n"},
        {"floating point", [] { InstallSignalHandlers(); raise(SIGFPE); }, 255,
         "Tarvik Runtime Error : Floating point exception\n\n"},
        {"other signal", [] { sighandler(SIGUSR1); }, 255, "Tarvik Runtime Error : Unknown signal\n\n"},
        {"print", [] { qvPrint(u"caf\u00E9"); }, 42, "caf\xC3\xA9\n"},
    };
    for (const Case& c : cases) {
        ChildResult result = RunInChild(c.run);
        EXPECT_EQ(result.exitStatus, c.status) << c.name;
        EXPECT_EQ(result.out, c.out) << c.name;
    }
}

// A delegate that counts what reaches it.
class CountingDelegate : public QvGameDelegate {
public:
    void StartGame() override { starts++; }
    void SuspendGame() override { suspends++; }
    void ResumeGame() override { resumes++; }
    void UpdateGame() override { updates++; }
    void RenderGame() override { renders++; }
    void KeyEvent(int, int) override { keys++; }
    void MouseEvent(int, int, float, float) override { mice++; }
    int starts = 0, suspends = 0, resumes = 0, updates = 0, renders = 0, keys = 0, mice = 0;
};

TEST(EventGuards, NothingReachesTheGameBeforeItStarts) {
    QvGame host;
    CountingDelegate delegate;
    host.SetDelegate(&delegate);
    host.KeyEvent(1, 65);
    host.MouseEvent(6, -1, 1, 2);
    host.UpdateGame();
    host.RenderGame();
    host.SuspendGame();
    EXPECT_EQ(delegate.keys + delegate.mice + delegate.updates + delegate.renders + delegate.suspends, 0);
    host.StartGame();
    host.StartGame();
    EXPECT_EQ(delegate.starts, 1);
}

TEST(EventGuards, SuspensionStopsUpdatesOnly) {
    QvGame host;
    CountingDelegate delegate;
    host.SetDelegate(&delegate);
    host.StartGame();
    host.SuspendGame();
    host.SuspendGame();
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(1, 65);
    EXPECT_EQ(delegate.suspends, 1);
    EXPECT_EQ(delegate.updates, 0);
    EXPECT_EQ(delegate.renders, 1);
    EXPECT_EQ(delegate.keys, 1);
    host.ResumeGame();
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(delegate.resumes, 1);
    EXPECT_EQ(delegate.updates, 1);
}

TEST(EventGuards, ExceptionFromTheGameEndsTheProgram) {
    ChildResult result = RunInChild([] {
        struct Throwing : QvGameDelegate {
            void UpdateGame() override { throw ThrowableObject(); }
        } delegate;
        QvGame host;
        host.SetDelegate(&delegate);
        host.StartGame();
        host.UpdateGame();
    });
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.out, "Tarvik Runtime Error : Uncaught Tarvik Exception\n");
}

// A host with scripted display modes.
class ModesHost : public QvGame {
public:
    std::vector<QvDisplayMode> GetDisplayModes() override { return modes; }
    std::optional<QvDisplayMode> GetDesktopMode() override { return desktop; }
    int GetDeviceWidth() override { return 800; }
    int GetDeviceHeight() override { return 600; }
    std::vector<QvDisplayMode> modes;
    std::optional<QvDisplayMode> desktop;
};

TEST(DisplayModes, SameSizesAppearOnceInFirstMetOrder) {
    ModesHost host;
    QvGame::_game = &host;
    qvInit();
    host.modes = {{640, 480, 0, 0, 0}, {1024, 768, 0, 0, 0}, {640, 480, 16, 75, 0}, {1024, 768, 32, 60, 0},
                  {800, 600, 0, 0, 0}};
    host.desktop = QvDisplayMode{1920, 1080, 0, 0, 0};
    app::EnumDisplayModes();
    ASSERT_EQ(app::DisplayModes().size(), 3u);
    EXPECT_EQ(app::DisplayModes()[0].width, 640);
    EXPECT_EQ(app::DisplayModes()[1].width, 1024);
    EXPECT_EQ(app::DisplayModes()[2].height, 600);
    EXPECT_EQ(app::DesktopMode()->width, 1920);

    host.desktop.reset();  // no desktop mode: the window size stands in
    app::ValidateDeviceWindow();
    app::EnumDisplayModes();
    EXPECT_EQ(app::DesktopMode()->width, 800);
    EXPECT_EQ(app::DesktopMode()->height, 600);
    QvGame::_game = nullptr;
}

TEST(App, SecondAppStopsTheProgram) {
    ChildResult result = RunInChild([] {
        QvGame host;
        QvGame::_game = &host;
        qvInit();
        new App();
        new App();
    });
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.out, "Tarvik Runtime Error : App has already been created\n\n");
}

TEST(App, ConstructionRegistersTheDelegate) {
    QvGame host;
    QvGame::_game = &host;
    qvInit();
    App* created = new App();
    EXPECT_EQ(app::_app, created);
    ASSERT_NE(app::_delegate, nullptr);
    EXPECT_EQ(host.Delegate(), app::_delegate);
    delete app::_delegate;
    delete created;
    EXPECT_EQ(app::_app, nullptr) << "a destroyed App is forgotten";
    QvGame::_game = nullptr;
}

TEST(App, SetUpdateRateReachesTheHost) {
    QvGlfwGame host;
    QvGame::_game = &host;
    qvInit();
    app::SetUpdateRate(60);
    EXPECT_EQ(app::UpdateRate(), 60);
    EXPECT_EQ(host.UpdateRate(), 60);
    QvGame::_game = nullptr;
}

}  // namespace
