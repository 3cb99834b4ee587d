// The movie's registry commands against the real registry. Neither reports a failure: the movie
// always gets its answer 1 from the dispatcher.
#pragma once

#include <string>
#include <vector>

// "writereg:" argument. lazy: the no-wait form (the key is only closed); the wait form flushes
// the key first, so the value is on disk before the sender is released.
void WriteRegistryValue(const std::string& argument, bool lazy);

// "readreg:" argument. Writes the one-line answer to answerFile (created anew) and lists the file
// once in extractedFiles, so the cleanup removes it.
void ReadRegistryValue(const std::string& argument, const std::string& answerFile,
                       std::vector<std::string>& extractedFiles);

// The answer file of a read: "ReadReg.txt" in the directory of the projector the engine started.
std::string RegistryAnswerFile(const std::string& projectorPath);

// The registry step of the command dispatcher. commandBody: the text after "vcommand:" or
// "vcommandw:", case as sent; waitForm: it came as "vcommandw:". Runs "writereg:"/"readreg:" and
// returns true for them; false (nothing done) for any other body.
bool RunRegistryCommand(const std::string& commandBody, bool waitForm, const std::string& projectorPath,
                        std::vector<std::string>& extractedFiles);
