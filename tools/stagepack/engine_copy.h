// The engine image at the start of every distributable stagepack writes.
#pragma once

#include <string>

class PayloadSink;

// Copies the engine executable into the sink. A signed engine is copied too, with a warning on
// standard error: its signature cannot cover the payload appended after it.
void CopyEngine(const std::string& enginePath, PayloadSink& sink);
