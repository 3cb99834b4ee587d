// RAII owner of GDI objects (fonts, brushes) the dialogs create at initialisation.
#pragma once

#include <windows.h>

#include "engine/win32/handles.h"

struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static bool IsValid(HGDIOBJ h) { return h != nullptr; }
    static bool Close(HGDIOBJ h) { return DeleteObject(h) != FALSE; }
};

using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectTraits>;
