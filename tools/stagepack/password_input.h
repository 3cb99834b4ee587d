// Where stagepack takes a distributable's password from: a terminal prompt without echo, asked
// twice, or the first line of a file. Never from the command line, where other users could read it.
#pragma once

#include <string>

// Throws ToolError when standard input is no terminal or the two entries differ.
std::string PromptPasswordTwice();

// The first line of the file, without its line break.
std::string ReadPasswordFile(const std::string& path);

// Overwrites the text before it is released.
void ForgetPassword(std::string& password);
