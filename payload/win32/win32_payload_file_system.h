// The payload reader's file system on Windows: the running module's path, the source opened so
// that others may read and write it meanwhile, exclusive outputs that get the record's last-write
// time and are deleted unless finished.
#pragma once

#include "payload/payload_file_system.h"

// Stateless, so one instance serves every reader.
PayloadFileSystem& Win32PayloadFileSystem();
