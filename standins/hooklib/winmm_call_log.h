// A test aid of the stand-in hook library: when STANDIN_WINMM_LOG names a file and the process's
// program calls the mixer (the engine does, the projector does not), that program's calls of the
// multimedia library are recorded into the file, one line each, for as long as this library is
// loaded. Lines:
//   mixerGetNumDevs -> <count>
//   mixerOpen <device> -> <result> <handle>        mixerClose <handle> -> <result>
//   mixerGetControlDetailsA <handle> <control id> -> <result> <value>
//   mixerSetControlDetails <handle> <control id>=<value> -> <result>
//   waveOutGetVolume -> <result> <volume>          waveOutSetVolume <volume> -> <result>
//   mciSendCommandA <command> <flags> -> <result> [<element file name> | <status value>]
// (numbers in hexadecimal with 0x, except device numbers, control ids and values).
#pragma once

namespace standin {

void StartWinmmCallLog();
void StopWinmmCallLog();

}  // namespace standin
