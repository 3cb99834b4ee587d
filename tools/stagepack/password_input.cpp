#include "tools/stagepack/password_input.h"

#include <cstdio>

#include "tools/stagepack/cli_support.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// One line from the terminal with echo switched off for its duration.
std::string ReadHiddenLine(const char* prompt) {
    std::fputs(prompt, stderr);
    std::fflush(stderr);
#ifdef _WIN32
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = GetConsoleMode(input, &mode) != FALSE;
    if (console) SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
#else
    termios saved{};
    const bool console = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (console) {
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
#endif
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r') line.pop_back();
#ifdef _WIN32
    if (console) SetConsoleMode(input, mode);
#else
    if (console) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
#endif
    std::fputs("\n", stderr);
    return line;
}

bool StandardInputIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

}  // namespace

void ForgetPassword(std::string& password) {
    volatile char* bytes = password.empty() ? nullptr : &password[0];
    for (std::size_t i = 0; i < password.size(); ++i) bytes[i] = '\0';
    password.clear();
}

std::string PromptPasswordTwice() {
    if (!StandardInputIsTerminal())
        throw ToolError("--password-prompt needs a terminal; use --password-file FILE instead");
    std::string first = ReadHiddenLine("Password for the distributable: ");
    std::string second = ReadHiddenLine("The same password again: ");
    const bool same = first == second;
    ForgetPassword(second);
    if (!same) {
        ForgetPassword(first);
        throw ToolError("the two passwords differ; nothing was built");
    }
    return first;
}

std::string ReadPasswordFile(const std::string& path) {
    std::FILE* file = std::fopen(NativePath(path).c_str(), "rb");
    if (!file) throw ToolError("cannot read password file " + path);
    std::string line;
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n' && c != '\r') line += static_cast<char>(c);
    std::fclose(file);
    return line;
}
