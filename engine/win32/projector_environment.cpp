// The environment variables the projector inherits: set in the engine's own environment just
// before the projector is started.
#include <string>

#include "engine/engine_names.h"
#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"

namespace {

void SetVariable(const std::string& name, const std::string& value) {
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

// Window handles are published as the decimal value of their 32-bit form, as in the block.
std::string HandleDecimal(HWND window) { return std::to_string(HandleToField(window)); }

}  // namespace

void TfrmMain::SetProjectorEnvironment() {
    SetVariable(engine_names::kEnvEnginePath, ProgramPath);
    SetVariable(engine_names::kEnvEngineId, std::to_string(GetCurrentProcessId()));
    SetVariable(engine_names::kEnvEngineWindow, HandleDecimal(Host.Handle));
    // Named after the program itself, so an engine started from this one can tell (from the
    // broadcast close message's atom) that this host is its parent.
    SetVariable(ExeName, HandleDecimal(Host.Handle));
}

void TfrmMain::SetProjectorPathEnvironment() {
    std::string initialDir = InitialDir;
    if (!initialDir.empty() && initialDir.back() == '\\') initialDir.pop_back();
    SetVariable(engine_names::kEnvProjectorPath, ProjectorPath);
    SetVariable(engine_names::kEnvRootDir, WorkDir);
    SetVariable(engine_names::kEnvInitialDir, initialDir);
}
