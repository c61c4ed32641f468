// Process-wide services of the framework: start-up globals, logging and the
// ways the program stops.
//
//   qvInit();                       // once, before the application exists
//   qvPrint(u"Settings Loaded");    // a UTF-8 line on standard output, flushed
//   qvError(u"Image frame outside surface");  // runtime error: message, exit -1
//   qvError(u"");                   // the normal end: exit 0 at once
//
// Nothing runs after a stop: no destructors, no glfwTerminate, no hooks. The
// game saves whenever it is suspended, so an abrupt end loses nothing.
#pragma once

#include "host/qvstring.h"

// The program's own exception type; one escaping the host ends the run.
struct ThrowableObject {
    virtual ~ThrowableObject() = default;
};

// argc/argv as main received them.
extern int qvArgc;
extern char** qvArgv;

void qvInit();
void qvPrint(std::u16string_view text);
[[noreturn]] void qvError(std::u16string_view message);

// Prints "Tarvik Runtime Error : " and the message, then an empty line (the
// call-stack text), and exits with status -1.
[[noreturn]] void RuntimeErrorStop(std::u16string_view message);

// Ends the process with status, flushing standard output first.
[[noreturn]] void QuitProcess(int status);

// Handler for SIGSEGV, SIGILL and SIGFPE: async-signal-safe report, exit -1.
extern "C" void sighandler(int signal);
void InstallSignalHandlers();
