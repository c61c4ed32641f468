#include "host/qv.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "host/app.h"
#include "shell/globals.h"

int qvArgc = 0;
char** qvArgv = nullptr;

void qvInit() {
    app::InitModule();
    InitModuleGlobals();  // graphics, audio, input and random modules
    InitGameGlobals();
}

void qvPrint(std::u16string_view text) {
    std::string line = ToUtf8(text);
    line.push_back('\n');
    fwrite(line.data(), 1, line.size(), stdout);
    fflush(stdout);
}

void QuitProcess(int status) {
    fflush(stdout);
    fflush(stderr);
    _exit(status);
}

void RuntimeErrorStop(std::u16string_view message) {
    String text = u"Tarvik Runtime Error : ";
    text += message;
    qvPrint(text);
    qvPrint(u"");  // the call-stack text, empty in this program
    QuitProcess(-1);
}

void qvError(std::u16string_view message) {
    if (message.empty()) QuitProcess(0);
    // Messages are narrowed to bytes, as the error channel is byte text.
    std::string narrow = NarrowToBytes(message);
    RuntimeErrorStop(String(narrow.begin(), narrow.end()));
}

namespace {

void WriteAll(const char* text) {
    size_t left = strlen(text);
    while (left > 0) {
        ssize_t n = write(STDOUT_FILENO, text, left);
        if (n <= 0) return;
        text += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace

extern "C" void sighandler(int signal) {
    // Only async-signal-safe calls here: the heap or stdio may be mid-update.
    const char* what = "Unknown signal";
    if (signal == SIGILL) what = "Illegal instruction";
    if (signal == SIGFPE) what = "Floating point exception";
    if (signal == SIGSEGV) what = "Memory access violation";
    WriteAll("Tarvik Runtime Error : ");
    WriteAll(what);
    WriteAll("\n\n");
    _exit(-1);
}

void InstallSignalHandlers() {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = sighandler;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, nullptr);
    sigaction(SIGILL, &action, nullptr);
    sigaction(SIGFPE, &action, nullptr);
}
