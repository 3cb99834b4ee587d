// Names the engine shares with other processes (kernel objects, registered messages, atoms) and
// the naming of working directories and instance slots, spelled once here. Portable.
#pragma once

#include <cstdint>
#include <string>

namespace engine_names {

constexpr const char kInstanceMutex[] = "PelluxRunnerMutex";
constexpr const char kMappingPrefix[] = "PelluxRunnerMapping";
constexpr const char kRunnerMessagePrefix[] = "PelluxRunnerMessage";
constexpr const char kServerMessage[] = "PelluxRunnerSvrMessage";
constexpr const char kGlobalCloseMessage[] = "VGlobalCloseMessage_s-z";
constexpr const char kRunMarkerPrefix[] = "aakq ";
constexpr const char kSlotSuffixBase[] = "_OBL_RT";
constexpr const char kWorkDirBase[] = "Obl_Rt";
// Held open without sharing inside a working directory for as long as its engine uses it.
constexpr const char kWorkDirClaimFile[] = "Obl_Rt.claim";
constexpr const char kHookLibraryName[] = "quenbyrun.dll";  // the fixed name used in messages
constexpr const char kCantCreateDir[] = "Can't create dir ";
constexpr const char kCantCreateHostWindow[] = "Can't create the host window";

// Hook library exports, in the order they are looked up.
constexpr const char kMouseProc[] = "MProc";
constexpr const char kKeyboardProc[] = "KProc";
constexpr const char kCbtProc[] = "CProc";
constexpr const char kGetMessageProc[] = "GProc";
constexpr const char kWProc[] = "WProc";
constexpr const char kFProc[] = "FProc";
constexpr const char kSProc[] = "SProc";

// Environment variables passed to the projector.
constexpr const char kEnvEnginePath[] = "OrbelinLocalDir_Engine";
constexpr const char kEnvEngineId[] = "OrbelinEngine_ID";
constexpr const char kEnvEngineWindow[] = "OrbelinEngine_WH";
constexpr const char kEnvProjectorPath[] = "OrbelinLocalDir_Projector";
constexpr const char kEnvRootDir[] = "OrbelinLocalDir_RootDir";
constexpr const char kEnvInitialDir[] = "OrbelinLocalDir_InitialDir";

}  // namespace engine_names

// "_OBL_RT" for slot 0, else "_OBL_RT" + the decimal slot number.
std::string SlotSuffix(int32_t slot);

// base + "Obl_Rt" for slot 0, else base + "Obl_Rt" + the decimal slot number (no final "\").
std::string WorkDirCandidate(const std::string& base, int32_t slot);

// "PelluxRunnerMapping" + suffix.
std::string MappingName(const std::string& slotSuffix);

// "PelluxRunnerMessage" + suffix.
std::string RunnerMessageName(const std::string& slotSuffix);

// "aakq " + the program's file name.
std::string RunMarkerAtomText(const std::string& exeName);

// Appends a "\" to a non-empty path that does not end with one.
std::string WithFinalBackslash(const std::string& path);
