// The movie's registry commands, as the command channel calls them. Neither reports a failure: the
// movie gets its answer 1 from the channel either way.
#pragma once

#include <string>
#include <vector>

// "writereg:" argument; lazy for the no-wait form.
void WriteRegistryValue(const std::string& argument, bool lazy);

// "readreg:" argument; the answer goes to answerFile, which is listed once in extractedFiles so the
// cleanup removes it.
void ReadRegistryValue(const std::string& argument, const std::string& answerFile,
                       std::vector<std::string>& extractedFiles);
